#pragma once

#include <cstdint>
#include <initializer_list>

namespace solvane::hw {

// A set of Tarvok board codes (2901 to 2918) as a bit mask, so register tables can name the boards
// a row serves in one field.
class BoardSet {
public:
    constexpr BoardSet() = default;
    constexpr BoardSet(std::initializer_list<int> codes) {
        for (const int code : codes)
            m_bits |= bitOf(code);
    }

    constexpr bool contains(int code) const { return (m_bits & bitOf(code)) != 0; }

private:
    static constexpr std::uint32_t bitOf(int code) {
        return code >= 2901 && code <= 2918 ? std::uint32_t{1} << (code - 2901) : 0;
    }

    std::uint32_t m_bits = 0;
};

// The five Intel boards whose regulators are programmed over the SMBus with the shared code lists.
inline constexpr BoardSet kSmbusRegulatorBoards{2918, 2917, 2916, 2915, 2910};

} // namespace solvane::hw
