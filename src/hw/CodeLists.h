#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace solvane::hw {

// Hardware byte codes behind the voltage option lists: the byte at index i is what the board
// routine writes to the regulator or clock generator for option i of the matching option list, and
// what the read-back searches for. The shared lists A, B and C serve the five Intel boards whose
// regulators are programmed over the SMBus (2918, 2917, 2916, 2915, 2910); 2911, 2902 and 2905
// have lists of their own. A stored list entry is the text "0x%.2X" of its byte; these arrays hold
// the bytes themselves.

// A run of consecutive entries first..last holding start, start + step, start + 2·step, …
struct CodeRun {
    int first;
    int last;
    int start;
    int step;
};

namespace detail {

// The runs cover 0..size-1 in order and every byte they produce lies in 0x00..0xFF.
template <std::size_t Runs>
constexpr bool runsCoverList(const std::array<CodeRun, Runs>& runs, std::size_t size) {
    int next = 0;
    for (const auto& run : runs) {
        const int lastCode = run.start + run.step * (run.last - run.first);
        if (run.first != next || run.last < run.first || run.start < 0 || run.start > 0xFF || lastCode < 0 ||
            lastCode > 0xFF)
            return false;
        next = run.last + 1;
    }
    return next == static_cast<int>(size);
}

template <std::size_t N> constexpr bool codesAreUnique(const std::array<std::uint8_t, N>& codes) {
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            if (codes[i] == codes[j])
                return false;
    return true;
}

} // namespace detail

template <std::size_t N, auto Runs> constexpr std::array<std::uint8_t, N> makeCodeList() {
    static_assert(detail::runsCoverList(Runs, N), "code runs must cover the list in order with byte values");
    std::array<std::uint8_t, N> codes{};
    for (const auto& run : Runs)
        for (int i = run.first; i <= run.last; ++i)
            codes[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(run.start + run.step * (i - run.first));
    return codes;
}

// Code list A, the reference and PLL codes (80): 0x50 down to 0x40 for offsets +800 … 0 mV, then
// 0x01 to 0x3F for −10 … −630 mV.
inline constexpr auto kCodeListA =
    makeCodeList<80, std::array{CodeRun{0, 16, 0x50, -1}, CodeRun{17, 79, 0x01, 1}}>();
// Code list B, the CPU codes (80): 0xD0 down to 0xC0, then 0x81 to 0xBF.
inline constexpr auto kCodeListB =
    makeCodeList<80, std::array{CodeRun{0, 16, 0xD0, -1}, CodeRun{17, 79, 0x81, 1}}>();
// Code list C, the memory codes (159): 0x9F down to 0x80, then 0x01 to 0x7F.
inline constexpr auto kCodeListC =
    makeCodeList<159, std::array{CodeRun{0, 31, 0x9F, -1}, CodeRun{32, 158, 0x01, 1}}>();

// Board 2911. The "Auto" option of each list has a code of its own (0x80, 0x0A, 0x00, 0x00).
inline constexpr auto k2911CpuVoltageCodes =
    makeCodeList<80,
                 std::array{CodeRun{0, 15, 0xD0, -1}, CodeRun{16, 16, 0x80, 0}, CodeRun{17, 79, 0x81, 1}}>();
inline constexpr auto k2911DdrVoltageCodes =
    makeCodeList<159, std::array{CodeRun{0, 30, 0x9F, -1}, CodeRun{31, 158, 0x00, 1}}>();
inline constexpr auto k2911MchVoltageCodes =
    makeCodeList<72, std::array{CodeRun{0, 6, 0x47, -1}, CodeRun{7, 7, 0x00, 0}, CodeRun{8, 71, 0x01, 1}}>();
inline constexpr auto k2911IchVoltageCodes =
    makeCodeList<80,
                 std::array{CodeRun{0, 15, 0x50, -1}, CodeRun{16, 16, 0x00, 0}, CodeRun{17, 79, 0x01, 1}}>();

// Boards 2902 and 2905. The CPU list repeats 0x44 and 0x42 (options 26/64 and 28/63): the
// regulator's step ranges overlap there, so a read-back that searches from the start finds the
// lower option first.
inline constexpr auto k2902CpuVoltageCodes =
    makeCodeList<125, std::array{CodeRun{0, 13, 0xD0, -1}, CodeRun{14, 29, 0x50, -1},
                                 CodeRun{30, 64, 0x00, 2}, CodeRun{65, 124, 0x84, 1}}>();
inline constexpr auto k2902VttFsbVoltageCodes =
    makeCodeList<21, std::array{CodeRun{0, 11, 0x45, 1}, CodeRun{12, 20, 0xC3, 1}}>();

// The neutral codes (offset 0) sit at the default option of each shared list.
static_assert(kCodeListA[16] == 0x40 && kCodeListA[79] == 0x3F);
static_assert(kCodeListB[16] == 0xC0 && kCodeListB[17] == 0x81 && kCodeListB[79] == 0xBF);
static_assert(kCodeListC[31] == 0x80 && kCodeListC[158] == 0x7F);
static_assert(k2911DdrVoltageCodes[41] == 0x0A && k2911DdrVoltageCodes[158] == 0x7F);
static_assert(k2911MchVoltageCodes[71] == 0x40 && k2911IchVoltageCodes[79] == 0x3F);
static_assert(k2902CpuVoltageCodes[13] == 0xC3 && k2902CpuVoltageCodes[29] == 0x41 &&
              k2902CpuVoltageCodes[64] == 0x44 && k2902CpuVoltageCodes[124] == 0xBF);
static_assert(k2902VttFsbVoltageCodes[11] == 0x50 && k2902VttFsbVoltageCodes[20] == 0xCB);
// Every option must be found again by the read-back, which takes the first matching byte.
static_assert(detail::codesAreUnique(kCodeListA) && detail::codesAreUnique(kCodeListB) &&
              detail::codesAreUnique(kCodeListC));
static_assert(detail::codesAreUnique(k2911CpuVoltageCodes) && detail::codesAreUnique(k2911DdrVoltageCodes) &&
              detail::codesAreUnique(k2911MchVoltageCodes) && detail::codesAreUnique(k2911IchVoltageCodes));
static_assert(detail::codesAreUnique(k2902VttFsbVoltageCodes));
static_assert(!detail::codesAreUnique(k2902CpuVoltageCodes));

} // namespace solvane::hw
