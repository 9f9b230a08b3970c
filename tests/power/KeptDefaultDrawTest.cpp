#include "power/KeptDefaultDraw.h"

#include <cmath>
#include <gtest/gtest.h>

namespace solvane::power {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(KeptDefaultDraw, TakesBackWhatWasKeptFiguresNeverMeasuredIncluded) {
    const std::vector<SavingEstimate::DefaultEntry> kept{
        {5, {148.02, 56.65, 14.03, 17.44}, 52.51, 1.2154, 1.0, 6.0},
        {20, {230.5, 70.0, 18.7, 0.0}, kNaN, 1.1694, kNaN, kNaN},
    };
    const auto text = keptDefaultDrawText(2917, kept);
    EXPECT_EQ(text, "2917;5:148.02,56.65,14.03,17.44,52.51,1.2154,1,6;20:230.5,70,18.7,0,-,1.1694,-,-;");
    const auto back = parseKeptDefaultDraw(text, 2917);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[1].bin, 20u);
    EXPECT_EQ((*back)[0].watts, kept[0].watts);
    EXPECT_DOUBLE_EQ((*back)[0].phases, 6.0);
    EXPECT_TRUE(std::isnan((*back)[1].cpuWatts));
    EXPECT_DOUBLE_EQ((*back)[1].volts, 1.1694);
    EXPECT_EQ(parseKeptDefaultDraw("2917;", 2917)->size(), 0u) << "Default never seen: nothing kept";
}

// What another board, a damaged registry or a hand edit leaves is ignored whole, never half taken.
TEST(KeptDefaultDraw, IgnoresAValueOfAnotherBoardOrAnyDamage) {
    const std::string good = "2917;5:148.02,56.65,14.03,17.44,52.51,1.2154,1,6;";
    ASSERT_TRUE(parseKeptDefaultDraw(good, 2917));
    const std::pair<const char*, std::string> cases[] = {
        {"another board", "2918;5:148.02,56.65,14.03,17.44,52.51,1.2154,1,6;"},
        {"no board", "5:148.02,56.65,14.03,17.44,52.51,1.2154,1,6;"},
        {"empty", ""},
        {"entry without its end", "2917;5:148.02,56.65,14.03,17.44,52.51,1.2154,1,6"},
        {"a figure missing", "2917;5:148.02,56.65,14.03,17.44,52.51,1.2154,1;"},
        {"a figure too many", "2917;5:148.02,56.65,14.03,17.44,52.51,1.2154,1,6,7;"},
        {"load beyond 100 %", "2917;21:148.02,56.65,14.03,17.44,52.51,1.2154,1,6;"},
        {"negative watts", "2917;5:-148.02,56.65,14.03,17.44,52.51,1.2154,1,6;"},
        {"not a number", "2917;5:148.02,abc,14.03,17.44,52.51,1.2154,1,6;"},
        {"infinite", "2917;5:148.02,inf,14.03,17.44,52.51,1.2154,1,6;"},
        {"absurdly large", "2917;5:1e300,56.65,14.03,17.44,52.51,1.2154,1,6;"},
        {"trailing text in a figure", "2917;5:148.02x,56.65,14.03,17.44,52.51,1.2154,1,6;"},
        {"no bin", "2917;148.02,56.65,14.03,17.44,52.51,1.2154,1,6;"},
    };
    for (const auto& [what, text] : cases)
        EXPECT_FALSE(parseKeptDefaultDraw(text, 2917)) << what;
}

} // namespace
} // namespace solvane::power
