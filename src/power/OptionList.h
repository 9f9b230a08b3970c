#pragma once

#include "power/SettingCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::power {

// How a computed option shows its voltage.
enum class VoltageText {
    Plain,  // "%.3f V"
    Signed, // "%s%.3f V": an offset, "+" in front unless it is negative ("+0.000 V", "-0.320 V")
};

// Options first..last of a computed list. Option i shows the voltage
//     base + (start + step·(i − first)) / divisor
// with the numerator computed exactly in integers before the one division, so that texts landing on
// a rounding edge come out the same on every build; divisor 0 marks the "Auto" option instead.
struct OptionPiece {
    int first;
    int last;
    double base;
    int start;
    int step;
    int divisor;
};

inline constexpr std::string_view kAutoOption = "Auto";

// An option list of a board setting as data: either fixed texts or computed pieces, the default
// option, and, where the board routine writes a hardware code per option, the parallel code list.
struct OptionListSpec {
    std::span<const std::string_view> fixedTexts = {};
    std::span<const OptionPiece> pieces = {};
    VoltageText style = VoltageText::Plain;
    int defaultIndex = 0;
    std::span<const std::uint8_t> codes = {}; // empty: the routine writes the option index itself

    constexpr std::size_t size() const {
        return pieces.empty() ? fixedTexts.size() : static_cast<std::size_t>(pieces.back().last + 1);
    }
};

// Fixed texts or pieces (not both), pieces covering 0..size-1 in order with a non-zero divisor
// except on single "Auto" options, the default inside the list, one code per option when there are
// codes.
constexpr bool isValidOptionList(const OptionListSpec& layout) {
    if (layout.fixedTexts.empty() == layout.pieces.empty())
        return false;
    int next = 0;
    for (const auto& piece : layout.pieces) {
        if (piece.first != next || piece.last < piece.first ||
            (piece.divisor == 0 && piece.last != piece.first))
            return false;
        next = piece.last + 1;
    }
    return layout.defaultIndex >= 0 && static_cast<std::size_t>(layout.defaultIndex) < layout.size() &&
           (layout.codes.empty() || layout.codes.size() == layout.size());
}

// A board setting's options as the pages show them: list position = option index = setting value.
struct OptionList {
    std::vector<std::string> texts;
    std::span<const std::uint8_t> codes;
    SettingValue defaultIndex = kNotPresent;

    bool exists() const { return !texts.empty(); }
    // The text of option index, or empty when the list has no such option.
    std::string_view text(SettingValue index) const;
};

OptionList buildOptionList(const OptionListSpec& layout);

// The voltage text of option index of a piece ("1.340 V", "+0.010 V").
std::string formatVoltageOption(const OptionPiece& piece, int index, VoltageText style);

} // namespace solvane::power
