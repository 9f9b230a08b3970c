#pragma once

#include "hw/CodeLists.h"
#include "power/OptionList.h"

#include <array>
#include <string_view>

namespace solvane::power::options {

// The voltage option lists of the boards, as data. Computed lists are pieces of the form
// base + (start + step·(i − first)) / divisor volts (see OptionPiece); fixed lists are the texts
// themselves. Each list's default option is the board's voltage at power-on.

// The five Intel boards with SMBus-programmed regulators (2918, 2917, 2916, 2915, 2910) build their
// lists from two 80-entry offset tables:
//   A[i] = 800 − 50·i mV for i = 0..16 (800 down to 0), then −10·(i − 16) (−10 down to −630);
//   B[i] = 6400 − 400·i for i = 0..16 (6400 down to 0), then −200·(i − 16) (−200 down to −12600).
// Option i of such a list is base + sign·T[i]/divisor volts; option 16 (offset 0) is the default.
constexpr std::array<OptionPiece, 2> fromOffsetTableA(double base, int sign, int divisor) {
    return {OptionPiece{0, 16, base, sign * 800, sign * -50, divisor},
            OptionPiece{17, 79, base, sign * -10, sign * -10, divisor}};
}
constexpr std::array<OptionPiece, 2> fromOffsetTableB(double base, int sign, int divisor) {
    return {OptionPiece{0, 16, base, sign * 6400, sign * -400, divisor},
            OptionPiece{17, 79, base, sign * -200, sign * -200, divisor}};
}
// 159 options in steps of 10 mV from base.
constexpr std::array<OptionPiece, 1> hundredthSteps(double base) {
    return {OptionPiece{0, 158, base, 0, 1, 100}};
}

inline constexpr int kOffsetZeroIndex = 16;

// CPU_VOLTAGE and VTT_FSB_VOLTAGE show the offset itself: −B[i]/20000, −0.320 V … +0.630 V.
inline constexpr auto kIntelOffsetPieces = fromOffsetTableB(0.0, -1, 20000);
inline constexpr auto kIntelPllPieces = fromOffsetTableA(1.8, -1, 1000);        // 1.000 … 1.800 … 2.430
inline constexpr auto kIntelIchPieces = fromOffsetTableA(1.5, -1, 1000);        // 0.700 … 1.500 … 2.130
inline constexpr auto kIntelVrefCaPieces = fromOffsetTableA(0.75, 1, 2000);     // 1.150 … 0.750 … 0.435
inline constexpr auto kIntelVrefDaPieces = fromOffsetTableA(0.75, 1, 5000);     // 0.910 … 0.750 … 0.624
inline constexpr auto kIntelMchOffsetPieces = fromOffsetTableB(1.1, -1, 20000); // 0.780 … 1.100 … 1.730
inline constexpr auto kIntelMchStepPieces = hundredthSteps(0.79);               // 0.790 … 2.370
inline constexpr auto kIntelDdrPieces = hundredthSteps(1.19);                   // 1.190 … 2.770
inline constexpr auto kIntel2918DdrPieces = hundredthSteps(1.59);               // 1.590 … 3.170

inline constexpr OptionListSpec kIntelCpuOffset{.pieces = kIntelOffsetPieces,
                                                .style = VoltageText::Signed,
                                                .defaultIndex = kOffsetZeroIndex,
                                                .codes = hw::kCodeListB};
inline constexpr OptionListSpec kIntelPll{
    .pieces = kIntelPllPieces, .defaultIndex = kOffsetZeroIndex, .codes = hw::kCodeListA};
inline constexpr OptionListSpec kIntelIch{
    .pieces = kIntelIchPieces, .defaultIndex = kOffsetZeroIndex, .codes = hw::kCodeListA};
inline constexpr OptionListSpec kIntelVrefCa{
    .pieces = kIntelVrefCaPieces, .defaultIndex = kOffsetZeroIndex, .codes = hw::kCodeListA};
inline constexpr OptionListSpec kIntelVrefDa{
    .pieces = kIntelVrefDaPieces, .defaultIndex = kOffsetZeroIndex, .codes = hw::kCodeListA};
inline constexpr OptionListSpec kIntelMchOffset{
    .pieces = kIntelMchOffsetPieces, .defaultIndex = kOffsetZeroIndex, .codes = hw::kCodeListB};
// Defaults at 1.100 V and 1.500 V: index 31 of the 10 mV steps.
inline constexpr OptionListSpec kIntelMchSteps{
    .pieces = kIntelMchStepPieces, .defaultIndex = 31, .codes = hw::kCodeListC};
inline constexpr OptionListSpec kIntelDdr{
    .pieces = kIntelDdrPieces, .defaultIndex = 31, .codes = hw::kCodeListC};
inline constexpr OptionListSpec kIntel2918Ddr{
    .pieces = kIntel2918DdrPieces, .defaultIndex = 31, .codes = hw::kCodeListC};

// Board 2911: the regulator's own "Auto" setting sits between the lowered and raised voltages and
// is the default.
inline constexpr std::array k2911CpuPieces = {OptionPiece{0, 15, 1.2, -6400, 400, 20000}, // 0.880 … 1.180
                                              OptionPiece{16, 16, 0.0, 0, 0, 0},          // Auto
                                              OptionPiece{17, 79, 1.2, 200, 200, 20000}}; // 1.210 … 1.830
inline constexpr std::array k2911DdrPieces = {OptionPiece{0, 30, 1.19, 0, 1, 100},        // 1.190 … 1.490
                                              OptionPiece{31, 40, 1.50, 0, 1, 100},       // 1.500 … 1.590
                                              OptionPiece{41, 41, 0.0, 0, 0, 0},          // Auto
                                              OptionPiece{42, 158, 1.61, 0, 1, 100}};     // 1.610 … 2.770
inline constexpr std::array k2911IchPieces = {OptionPiece{0, 15, 1.2, -800, 50, 1000},    // 0.400 … 1.150
                                              OptionPiece{16, 16, 0.0, 0, 0, 0},          // Auto
                                              OptionPiece{17, 79, 1.2, 1, 1, 100}};       // 1.210 … 1.830
inline constexpr std::array k2911MchPieces = {OptionPiece{0, 6, 1.1, -350, 50, 1000},     // 0.750 … 1.050
                                              OptionPiece{7, 7, 0.0, 0, 0, 0},            // Auto
                                              OptionPiece{8, 71, 1.1, 0, 1, 100}};        // 1.100 … 1.730

inline constexpr OptionListSpec k2911Cpu{
    .pieces = k2911CpuPieces, .defaultIndex = 16, .codes = hw::k2911CpuVoltageCodes};
inline constexpr OptionListSpec k2911Ddr{
    .pieces = k2911DdrPieces, .defaultIndex = 41, .codes = hw::k2911DdrVoltageCodes};
inline constexpr OptionListSpec k2911Ich{
    .pieces = k2911IchPieces, .defaultIndex = 16, .codes = hw::k2911IchVoltageCodes};
inline constexpr OptionListSpec k2911Mch{
    .pieces = k2911MchPieces, .defaultIndex = 7, .codes = hw::k2911MchVoltageCodes};

// Boards 2902 and 2905. The CPU regulator's range is centred on a base voltage that depends on the
// processor: 1.24 V when the northbridge reports it in PCI 0:24:3 register 0xE8, else 1.34 V.
// Option 30 is the base itself.
inline constexpr double kCpuVoltageBaseHigh = 1.34;
inline constexpr double kCpuVoltageBaseLow = 1.24;
constexpr std::array<OptionPiece, 4> cpuVoltagePieces2902(double base) {
    return {OptionPiece{0, 13, base, -6400 * 52, 400 * 52, 1000000}, // B − (6400 − 400·i)·52 µV
            OptionPiece{14, 29, base, -800 * 52, 50 * 52, 1000000},  // B − (800 − 50·(i − 14))·52 µV
            OptionPiece{30, 64, base, 0, 20 * 50, 1000000},          // B + 20·(i − 30)·50 µV
            OptionPiece{65, 124, base, 800 * 55, 200 * 55, 1000000}}; // B + (800 + 200·(i − 65))·55 µV
}
inline constexpr auto k2902CpuHighPieces = cpuVoltagePieces2902(kCpuVoltageBaseHigh); // 1.007 … 1.340 … 2.033
inline constexpr auto k2902CpuLowPieces = cpuVoltagePieces2902(kCpuVoltageBaseLow); // 0.907 … 1.240 … 1.933
inline constexpr std::array k2902VttPieces = {
    OptionPiece{0, 11, 1.265, -50 * 85, 50 * 85, 1000000},    // 1.261 … 1.307
    OptionPiece{12, 20, 1.265, 900 * 85, 400 * 85, 1000000}}; // 1.341 … 1.613

inline constexpr std::array<std::string_view, 12> k2902IchTexts = {
    "1.185 V", "1.200 V", "1.213 V", "1.225 V", "1.249 V", "1.273 V",
    "1.297 V", "1.321 V", "1.345 V", "1.369 V", "1.393 V", "1.417 V"};
inline constexpr std::array<std::string_view, 15> k2902MchTexts = {
    "1.075 V", "1.108 V", "1.131 V", "1.154 V", "1.177 V", "1.200 V", "1.223 V", "1.246 V",
    "1.269 V", "1.292 V", "1.314 V", "1.337 V", "1.360 V", "1.383 V", "1.405 V"};
inline constexpr std::array<std::string_view, 12> k2902VrefCaTexts = {
    "1.177 V", "1.202 V", "1.227 V", "1.252 V", "1.277 V", "1.292 V",
    "1.326 V", "1.351 V", "1.377 V", "1.402 V", "1.426 V", "1.454 V"};
inline constexpr std::array<std::string_view, 15> k2902DdrTexts = {
    "1.45 V", "1.50 V", "1.55 V", "1.59 V", "1.63 V", "1.67 V", "1.71 V", "1.76 V",
    "1.84 V", "1.92 V", "2.00 V", "2.09 V", "2.16 V", "2.26 V", "2.42 V"};

inline constexpr OptionListSpec k2902CpuHigh{
    .pieces = k2902CpuHighPieces, .defaultIndex = 30, .codes = hw::k2902CpuVoltageCodes};
inline constexpr OptionListSpec k2902CpuLow{
    .pieces = k2902CpuLowPieces, .defaultIndex = 30, .codes = hw::k2902CpuVoltageCodes};
inline constexpr OptionListSpec k2902Vtt{
    .pieces = k2902VttPieces, .defaultIndex = 1, .codes = hw::k2902VttFsbVoltageCodes};
// The remaining 2902/2905 settings are written as the option index in a register nibble.
inline constexpr OptionListSpec k2902Ich{.fixedTexts = k2902IchTexts, .defaultIndex = 0};
inline constexpr OptionListSpec k2902Mch{.fixedTexts = k2902MchTexts, .defaultIndex = 0};
inline constexpr OptionListSpec k2902VrefCa{.fixedTexts = k2902VrefCaTexts, .defaultIndex = 0};
inline constexpr OptionListSpec k2902Ddr{.fixedTexts = k2902DdrTexts, .defaultIndex = 0};

// Board 2903 shows its BIOS voltage choices but writes none of them.
inline constexpr std::array<std::string_view, 13> k2903PllTexts = {
    "Auto",    "1.131 V", "1.154 V", "1.177 V", "1.200 V", "1.222 V", "1.245 V",
    "1.268 V", "1.291 V", "1.313 V", "1.336 V", "1.358 V", "1.381 V"};
inline constexpr std::array<std::string_view, 10> k2903DdrTexts = {
    "1.80 V", "1.85 V", "Auto", "1.95 V", "2.00 V", "2.05 V", "2.10 V", "2.20 V", "2.30 V", "2.40 V"};
inline constexpr std::array<std::string_view, 11> k2903MchTexts = {"Auto",    "1.230 V", "1.256 V", "1.281 V",
                                                                   "1.307 V", "1.333 V", "1.358 V", "1.386 V",
                                                                   "1.410 V", "1.436 V", "1.462 V"};

inline constexpr OptionListSpec k2903Pll{.fixedTexts = k2903PllTexts, .defaultIndex = 0};
inline constexpr OptionListSpec k2903Ddr{.fixedTexts = k2903DdrTexts, .defaultIndex = 2};
inline constexpr OptionListSpec k2903Mch{.fixedTexts = k2903MchTexts, .defaultIndex = 0};

static_assert(isValidOptionList(kIntelCpuOffset) && isValidOptionList(kIntelPll) &&
              isValidOptionList(kIntelIch) && isValidOptionList(kIntelVrefCa) &&
              isValidOptionList(kIntelVrefDa) && isValidOptionList(kIntelMchOffset) &&
              isValidOptionList(kIntelMchSteps) && isValidOptionList(kIntelDdr) &&
              isValidOptionList(kIntel2918Ddr));
static_assert(kIntelCpuOffset.size() == 80 && kIntelMchSteps.size() == 159 && kIntelDdr.size() == 159);
static_assert(isValidOptionList(k2911Cpu) && isValidOptionList(k2911Ddr) && isValidOptionList(k2911Ich) &&
              isValidOptionList(k2911Mch));
static_assert(k2911Cpu.size() == 80 && k2911Ddr.size() == 159 && k2911Ich.size() == 80 &&
              k2911Mch.size() == 72);
static_assert(isValidOptionList(k2902CpuHigh) && isValidOptionList(k2902CpuLow) &&
              isValidOptionList(k2902Vtt) && isValidOptionList(k2902Ich) && isValidOptionList(k2902Mch) &&
              isValidOptionList(k2902VrefCa) && isValidOptionList(k2902Ddr));
static_assert(k2902CpuHigh.size() == 125 && k2902Vtt.size() == 21);
static_assert(isValidOptionList(k2903Pll) && isValidOptionList(k2903Ddr) && isValidOptionList(k2903Mch));
// The "Auto" choices of 2911 are the defaults.
static_assert(k2911CpuPieces[1].divisor == 0 && k2911CpuPieces[1].first == k2911Cpu.defaultIndex);
static_assert(k2911DdrPieces[2].divisor == 0 && k2911DdrPieces[2].first == k2911Ddr.defaultIndex);
static_assert(k2911IchPieces[1].divisor == 0 && k2911IchPieces[1].first == k2911Ich.defaultIndex);
static_assert(k2911MchPieces[1].divisor == 0 && k2911MchPieces[1].first == k2911Mch.defaultIndex);
static_assert(k2903DdrTexts[k2903Ddr.defaultIndex] == kAutoOption);

} // namespace solvane::power::options
