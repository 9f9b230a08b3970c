#include "power/ProfilePlan.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace solvane::power {
namespace {

struct PlanCase {
    const char* what;
    std::vector<std::string> offered;
    std::string usual;
    std::string optimize;
    std::string max;
};

// The daemon offers performance, balanced and power-saver (only the last two without platform
// support); the firmware's file may offer more steps, in any order.
const std::vector<PlanCase> kPlanCases{
    {"daemon, usual balanced",
     {"power-saver", "balanced", "performance"},
     "balanced",
     "power-saver",
     "power-saver"},
    {"daemon, usual performance",
     {"power-saver", "balanced", "performance"},
     "performance",
     "balanced",
     "power-saver"},
    {"daemon, usual power-saver",
     {"power-saver", "balanced", "performance"},
     "power-saver",
     "power-saver",
     "power-saver"},
    {"daemon without platform support",
     {"power-saver", "balanced"},
     "balanced",
     "power-saver",
     "power-saver"},
    {"firmware steps",
     {"performance", "low-power", "balanced", "quiet", "cool"},
     "balanced",
     "cool",
     "low-power"},
    {"firmware, usual balanced-performance",
     {"balanced-performance", "balanced", "performance", "quiet"},
     "balanced-performance",
     "balanced",
     "quiet"},
    {"firmware, custom left alone",
     {"custom", "balanced", "low-power"},
     "balanced",
     "low-power",
     "low-power"},
    {"usual custom counts as balanced",
     {"custom", "performance", "balanced", "quiet"},
     "custom",
     "quiet",
     "quiet"},
    {"nothing more saving offered", {"performance", "balanced"}, "balanced", "balanced", "balanced"},
};

TEST(ProfilePlan, EachModeTakesItsProfile) {
    for (const auto& c : kPlanCases) {
        const auto plan = planProfiles(c.offered, c.usual);
        EXPECT_EQ(plan.profileOf(PowerMode::Default), c.usual) << c.what;
        EXPECT_EQ(plan.profileOf(PowerMode::Optimize), c.optimize) << c.what;
        EXPECT_EQ(plan.profileOf(PowerMode::Max), c.max) << c.what;
        EXPECT_EQ(plan.savesAnything(), c.max != c.usual) << c.what;
    }
}

TEST(ProfilePlan, SavingGrowsFromPerformanceToTheLowestProfiles) {
    const std::vector<std::string> order{"performance", "balanced-performance", "balanced", "cool", "quiet",
                                         "low-power"};
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(*profileSaving(order[i - 1]), *profileSaving(order[i])) << order[i];
    EXPECT_EQ(profileSaving("power-saver"), profileSaving("low-power"));
    EXPECT_FALSE(profileSaving("custom").has_value());
    EXPECT_FALSE(profileSaving("Balanced").has_value()) << "the services' names are lower case";
}

} // namespace
} // namespace solvane::power
