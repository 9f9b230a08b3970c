// The lamps of the LED page: drawn from the switches and the phase counts, and blinking while a
// switch's list is open.
#include "tuning/LedLamps.h"

#include <gtest/gtest.h>
#include <map>

namespace solvane::tuning {
namespace {

constexpr int kLit = 255;
constexpr int kDark = 256;

std::map<int, int> byLamp(const std::vector<LampPicture>& pictures) {
    std::map<int, int> images;
    for (const auto& picture : pictures) {
        EXPECT_EQ(images.count(picture.lampId), 0U) << "lamp " << picture.lampId << " drawn twice";
        images[picture.lampId] = picture.image;
    }
    return images;
}

power::SettingVector ledsAt(power::SettingValue value) {
    auto values = power::notPresentVector();
    for (std::size_t slot = 20; slot <= 30; ++slot)
        values[slot] = value;
    return values;
}

const std::vector<int> kCpuLamps{1161, 1167, 1168, 1169, 1170, 1171};

TEST(LedLamps, CpuLampsFollowThePhaseCountWhileTheirSwitchIsOnAuto) {
    auto values = ledsAt(0);
    auto images = byLamp(lampPictures(values, {.cpu = 3}, false));
    for (std::size_t k = 0; k < kCpuLamps.size(); ++k)
        EXPECT_EQ(images[kCpuLamps[k]], k < 3 ? kLit : kDark) << "lamp " << k + 1;
    values[21] = 1;
    images = byLamp(lampPictures(values, {.cpu = 3}, false));
    for (const int lamp : kCpuLamps)
        EXPECT_EQ(images[lamp], kDark) << "switched off: all six dark";
}

TEST(LedLamps, EachPhaseDomainLightsUpToItsCountWithItsOwnSwitch) {
    auto values = ledsAt(0);
    const LedPhaseCounts phases{.cpu = 6, .qpi = 1, .memory = 2, .ioh = 2};
    auto images = byLamp(lampPictures(values, phases, false));
    EXPECT_EQ(images[1173], kLit);
    EXPECT_EQ(images[1174], kDark) << "QPI: one phase";
    EXPECT_EQ(images[1177], kLit);
    EXPECT_EQ(images[1178], kLit);
    EXPECT_EQ(images[1181], kDark) << "memory: two phases";
    EXPECT_EQ(images[1175], kLit);
    EXPECT_EQ(images[1176], kLit);
    // Each domain has its own switch.
    values[23] = 1;
    values[24] = 1;
    images = byLamp(lampPictures(values, phases, false));
    EXPECT_EQ(images[1173], kDark);
    EXPECT_EQ(images[1177], kDark);
    EXPECT_EQ(images[1175], kLit) << "the IOH switch is still on auto";
    EXPECT_EQ(images[1161], kLit);
    values = ledsAt(0);
    values[25] = 1;
    EXPECT_EQ(byLamp(lampPictures(values, phases, false))[1175], kDark);
}

TEST(LedLamps, SingleLampsTakeTheirOwnPictures) {
    auto images = byLamp(lampPictures(ledsAt(0), {}, true));
    EXPECT_EQ(images[1159], 251) << "power lamp lit in its own colour";
    EXPECT_EQ(images[1163], kDark) << "standby lamp dark outside blinking";
    EXPECT_EQ(images[1179], 258) << "Easy Button on";
    EXPECT_EQ(images[1180], kLit);
    EXPECT_EQ(images[1160], kLit);
    EXPECT_EQ(images[1164], kLit);
    EXPECT_EQ(images[1165], kLit);
    images = byLamp(lampPictures(ledsAt(1), {}, true));
    EXPECT_EQ(images[1159], kDark);
    EXPECT_EQ(images[1179], 259) << "Easy Button off";
    for (const int lamp : {1180, 1160, 1164, 1165})
        EXPECT_EQ(images[lamp], kDark) << lamp;
    EXPECT_EQ(images.size(), 20U) << "every lamp is drawn";
}

TEST(LedLamps, ThePciSlotLampNeedsACardInTheSlot) {
    EXPECT_EQ(byLamp(lampPictures(ledsAt(0), {}, false))[1180], kDark);
    EXPECT_EQ(byLamp(lampPictures(ledsAt(1), {}, true))[1180], kDark);
    EXPECT_EQ(byLamp(lampPictures(ledsAt(0), {}, true))[1180], kLit);
    EXPECT_EQ(byLamp(lampPictures(ledsAt(0), {}, false))[1160], kLit) << "the PCIE lamp needs no card";
}

TEST(LedLamps, AnAbsentSwitchKeepsItsLampsDark) {
    const auto images = byLamp(lampPictures(power::notPresentVector(), {.cpu = 6, .qpi = 2}, true));
    for (const auto& [lamp, image] : images)
        EXPECT_TRUE(image == kDark || image == 259) << lamp;
}

TEST(LedBlink, TheCpuSwitchBlinksItsFirstLampAndThoseWithinTheCount) {
    const LedPhaseCounts phases{.cpu = 3};
    auto images = byLamp(blinkPictures(21, true, phases));
    EXPECT_EQ(images.size(), 3U) << "lamps 4 to 6 are left as they are";
    EXPECT_EQ(images[1161], kLit);
    EXPECT_EQ(images[1167], kLit);
    EXPECT_EQ(images[1168], kLit);
    images = byLamp(blinkPictures(21, false, phases));
    EXPECT_EQ(images[1161], kDark);
    EXPECT_EQ(images[1168], kDark);
    // The first lamp blinks even when no phase count is known.
    images = byLamp(blinkPictures(21, true, {}));
    EXPECT_EQ(images.size(), 1U);
    EXPECT_EQ(images[1161], kLit);
}

TEST(LedBlink, PhaseDomainsBlinkOnlyTheirCountedLamps) {
    const LedPhaseCounts phases{.qpi = 1, .memory = 3, .ioh = 0};
    EXPECT_EQ(byLamp(blinkPictures(23, true, phases)), (std::map<int, int>{{1173, kLit}}));
    EXPECT_EQ(byLamp(blinkPictures(24, false, phases)),
              (std::map<int, int>{{1177, kDark}, {1178, kDark}, {1181, kDark}}));
    EXPECT_TRUE(blinkPictures(25, true, phases).empty());
}

TEST(LedBlink, SingleLampsBlinkWithTheirOwnPictures) {
    EXPECT_EQ(byLamp(blinkPictures(26, true, {})), (std::map<int, int>{{1159, 251}, {1163, 307}}));
    EXPECT_EQ(byLamp(blinkPictures(26, false, {})), (std::map<int, int>{{1159, kDark}, {1163, kDark}}));
    EXPECT_EQ(byLamp(blinkPictures(22, true, {})), (std::map<int, int>{{1179, 258}}));
    EXPECT_EQ(byLamp(blinkPictures(22, false, {})), (std::map<int, int>{{1179, 259}}));
    EXPECT_EQ(byLamp(blinkPictures(27, true, {})), (std::map<int, int>{{1180, kLit}}));
    EXPECT_EQ(byLamp(blinkPictures(28, false, {})), (std::map<int, int>{{1160, kDark}}));
    EXPECT_EQ(byLamp(blinkPictures(29, true, {})), (std::map<int, int>{{1164, kLit}}));
    EXPECT_EQ(byLamp(blinkPictures(30, true, {})), (std::map<int, int>{{1165, kLit}}));
}

TEST(LedBlink, TheAllLedListBlinksEveryGroupAtOnce) {
    const LedPhaseCounts phases{.cpu = 6, .qpi = 2, .memory = 3, .ioh = 2};
    const auto images = byLamp(blinkPictures(20, true, phases));
    EXPECT_EQ(images.size(), 20U);
    for (const int lamp : {1161, 1171, 1173, 1174, 1177, 1181, 1175, 1176, 1180, 1160, 1164, 1165})
        EXPECT_EQ(images.at(lamp), kLit) << lamp;
    EXPECT_EQ(images.at(1159), 251);
    EXPECT_EQ(images.at(1163), 307);
    EXPECT_EQ(images.at(1179), 258);
    EXPECT_TRUE(blinkPictures(-1, true, phases).empty()) << "no list open: nothing blinks";
}

TEST(LedPhaseCountsOfState, EachDomainCountsAsThePowerMonitorDoes) {
    power::PowerSavingState state;
    auto& values = state.modes.CurrentValues;
    state.routines.levelCounts[6] = 6;
    state.routines.levelCounts[3] = 2;
    state.routines.levelCounts[14] = 3;
    values[6] = 0;
    state.routines.activeCpuPhases = 4;
    values[3] = 0;  // automatic: all levels
    values[14] = 1; // fixed option 1: two phases
    values[17] = power::kNotPresent;
    const auto phases = ledPhaseCounts(state);
    EXPECT_EQ(phases.cpu, 4) << "the count the regulator reports while automatic";
    EXPECT_EQ(phases.qpi, 2);
    EXPECT_EQ(phases.memory, 2);
    EXPECT_EQ(phases.ioh, 0) << "a domain the board lacks";
}

} // namespace
} // namespace solvane::tuning
