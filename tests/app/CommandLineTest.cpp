#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

ParsedCommandLine parse(std::vector<std::string_view> arguments) {
    return parseCommandLine(arguments);
}

TEST(CommandLine, DefaultsToTheSimulatedKx2917) {
    const auto parsed = parse({});
    ASSERT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.hardware, HardwareKind::Simulated);
    EXPECT_EQ(parsed.options.boardCode, 2917);
    EXPECT_FALSE(parsed.options.seed);
    EXPECT_FALSE(parsed.options.batch);
    EXPECT_TRUE(parsed.options.stateFolder.empty());
}

TEST(CommandLine, ReadsEveryOptionInBothSpellings) {
    const auto parsed = parse({"--state-dir", "/tmp/s", "--hardware=host", "--board", "KX-2903", "--seed=77",
                               "--batch"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.stateFolder, "/tmp/s");
    EXPECT_EQ(parsed.options.hardware, HardwareKind::Host);
    EXPECT_EQ(parsed.options.boardCode, 2903);
    EXPECT_EQ(parsed.options.seed, 77U);
    EXPECT_TRUE(parsed.options.batch);
    EXPECT_EQ(parse({"--board=unknown"}).options.boardCode, 0);
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"--version"}).options.version);
}

TEST(CommandLine, MalformedOrUnknownOptionsSayWhatIsWrong) {
    const std::vector<std::vector<std::string_view>> bad{
        {"--frobnicate"}, {"-x"},           {"stray"},          {"--board"},        {"--board", "29170"},
        {"--board", "29a7"}, {"--seed", "-1"}, {"--seed", "4294967296"}, {"--seed", "12x"}, {"--hardware", "real"},
        {"--state-dir"},  {"--state-dir="}, {"--batch=yes"},    {"--help=1"},
    };
    for (const auto& arguments : bad) {
        const auto parsed = parse(arguments);
        EXPECT_FALSE(parsed.error.empty()) << arguments.front();
    }
    EXPECT_NE(parse({"--frobnicate"}).error.find("--frobnicate"), std::string::npos);
}

} // namespace
} // namespace solvane::app
