#include "power/StartupModeDecision.h"

#include "platform/MemoryRegistry.h"
#include "power/ModeTargets.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

struct Outcome {
    PowerMode mode;
    std::vector<PowerMode> applied;
    std::optional<std::string> enableSolvane;
    std::optional<std::string> defaultSetting;
};

Outcome decide(std::optional<std::string> enable, std::optional<std::string> normalEnd,
               int boardCode = 2917) {
    platform::MemoryRegistry registry;
    if (enable)
        registry.writeString(kProductKey, kEnableSolvaneValue, *enable);
    if (normalEnd)
        registry.writeString(kProductKey, kNormalEndValue, *normalEnd);
    PowerModeState state;
    state.DefaultTargets[0] = 3;
    deriveModeTargets(state);
    Outcome outcome;
    decideStartupMode(state, registry, boardCode, [&](PowerMode mode) { outcome.applied.push_back(mode); });
    outcome.mode = state.ActiveMode;
    outcome.enableSolvane = registry.readString(kProductKey, kEnableSolvaneValue);
    outcome.defaultSetting = registry.readString(kDefaultModeKey, kDefaultSettingValue);
    EXPECT_EQ(registry.readString(kProductKey, kNormalEndValue), "0") << "the end marker is reset at once";
    return outcome;
}

TEST(StartupModeDecision, ANormalEndBringsTheModeBack) {
    const auto max = decide("2", "1");
    EXPECT_EQ(max.mode, PowerMode::Max);
    EXPECT_EQ(max.applied, std::vector<PowerMode>{PowerMode::Max});

    const auto optimize = decide("1", "1");
    EXPECT_EQ(optimize.applied, std::vector<PowerMode>{PowerMode::Optimize});

    // Default only records its vector; the hardware is not touched.
    const auto defaults = decide("0", "1");
    EXPECT_EQ(defaults.mode, PowerMode::Default);
    EXPECT_TRUE(defaults.applied.empty());
    EXPECT_EQ(defaults.defaultSetting, "3;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;-1;");
}

// The value is read as the C library reads a number: leading blanks and a plus sign are passed over,
// and what follows the digits is ignored.
TEST(StartupModeDecision, TheModeNumberIsReadLikeAtoi) {
    for (const char* written : {" 2", "\t2", "+2", " \t+2x", "2;"})
        EXPECT_EQ(decide(written, "1").applied, std::vector<PowerMode>{PowerMode::Max}) << written;
    for (const char* written : {"x2", "- 2", ""})
        EXPECT_EQ(decide(written, "1").mode, PowerMode::Default) << written;
}

TEST(StartupModeDecision, AnAbnormalEndFallsBackToDefaultWithoutApplying) {
    for (const auto& normalEnd : {std::optional<std::string>("0"), std::optional<std::string>()}) {
        const auto outcome = decide("2", normalEnd);
        EXPECT_EQ(outcome.mode, PowerMode::Default);
        EXPECT_TRUE(outcome.applied.empty());
        EXPECT_EQ(outcome.enableSolvane, "0");
    }
}

TEST(StartupModeDecision, AnUnknownModeNumberLeavesNoModeChosen) {
    const auto outcome = decide("7", "1");
    EXPECT_EQ(outcome.mode, PowerMode::None);
    EXPECT_TRUE(outcome.applied.empty());
    EXPECT_EQ(outcome.enableSolvane, "7");
    EXPECT_FALSE(outcome.defaultSetting);
}

TEST(StartupModeDecision, TheMissingValueDefaultsToOptimizeOnlyOn2911) {
    EXPECT_EQ(decide(std::nullopt, "1", 2911).applied, std::vector<PowerMode>{PowerMode::Optimize});
    EXPECT_EQ(decide(std::nullopt, "1", 2917).mode, PowerMode::Default);
}

} // namespace
} // namespace solvane::power
