#include "app/CommandLine.h"

#include "app/CommandLineStart.h"

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
    const auto parsed =
        parse({"--state-dir", "/tmp/s", "--hardware=sim", "--board", "KX-2903", "--seed=77", "--batch"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.stateFolder, "/tmp/s");
    EXPECT_EQ(parsed.options.hardware, HardwareKind::Simulated);
    EXPECT_EQ(parse({"--hardware", "host"}).options.hardware, HardwareKind::Host);
    EXPECT_EQ(parsed.options.boardCode, 2903);
    EXPECT_EQ(parsed.options.seed, 77U);
    EXPECT_EQ(seedFrom(parsed.options), 77U) << "the run takes the seed it was given";
    EXPECT_TRUE(parsed.options.batch);
    EXPECT_EQ(parse({"--board=unknown"}).options.boardCode, 0);
    EXPECT_TRUE(parse({"--help"}).options.help);
    EXPECT_TRUE(parse({"--version"}).options.version);
}

TEST(CommandLine, SimulationOptionsAreKeptForTheBoardAndRefusedForTheHost) {
    const auto parsed = parse({"--cpu-load", "10,90@5", "--baseboard-version=6.0", "--graphics", "ati",
                               "--memory", "none", "--product-name", "code-only", "--bios-version", "V7.1"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.cpuLoad, "10,90@5");
    EXPECT_EQ(parsed.options.baseboardVersion, "6.0");
    EXPECT_EQ(parsed.options.graphics, "ati");
    EXPECT_EQ(parsed.options.memory, "none");
    EXPECT_TRUE(parsed.options.codeOnlyProductName);
    EXPECT_FALSE(parse({"--hardware", "host", "--graphics", "ati"}).error.empty());
    EXPECT_FALSE(parse({"--sysfs-root", "/tmp"}).error.empty()) << "a sysfs tree is only read on the host";
    EXPECT_TRUE(parse({"--hardware", "host", "--sysfs-root", "/tmp"}).error.empty());
    EXPECT_FALSE(parse({"--json"}).error.empty()) << "--json goes with --report";
    EXPECT_FALSE(parse({"--report", "--snapshot", "/tmp/x"}).error.empty());
    EXPECT_FALSE(parse({"--product-name", "short"}).error.empty());
    EXPECT_FALSE(parse({"--spd", "file.bin"}).error.empty()) << "a slot is needed";
}

TEST(CommandLine, AReportCanApplyAModeAndRunRefreshesFirst) {
    const auto parsed = parse({"--report", "--mode", "max", "--refreshes=20"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.reportMode, "max");
    EXPECT_EQ(parsed.options.reportRefreshes, 20);
    EXPECT_TRUE(parse({"--report", "--mode", "default"}).error.empty());
    EXPECT_TRUE(parse({"--report", "--mode", "optimize", "--refreshes", "28800"}).error.empty());
    EXPECT_FALSE(parse({"--report", "--mode", "fast"}).error.empty());
    EXPECT_FALSE(parse({"--report", "--refreshes", "-1"}).error.empty());
    EXPECT_FALSE(parse({"--report", "--refreshes", "28801"}).error.empty()) << "at most a day";
    EXPECT_FALSE(parse({"--report", "--refreshes", "many"}).error.empty());
    EXPECT_FALSE(parse({"--mode", "max"}).error.empty()) << "--mode goes with --report";
    EXPECT_FALSE(parse({"--refreshes", "3"}).error.empty()) << "--refreshes goes with --report";
}

TEST(CommandLine, MalformedOrUnknownOptionsSayWhatIsWrong) {
    const std::vector<std::vector<std::string_view>> bad{
        {"--frobnicate"},
        {"-x"},
        {"stray"},
        {"--board"},
        {"--board", "29170"},
        {"--board", "29a7"},
        {"--seed", "-1"},
        {"--seed", "4294967296"},
        {"--seed", "12x"},
        {"--hardware", "real"},
        {"--state-dir"},
        {"--state-dir="},
        {"--batch=yes"},
        {"--help=1"},
    };
    for (const auto& arguments : bad) {
        const auto parsed = parse(arguments);
        EXPECT_FALSE(parsed.error.empty()) << arguments.front();
    }
    EXPECT_NE(parse({"--frobnicate"}).error.find("--frobnicate"), std::string::npos);
}

TEST(CommandLine, RefusedValuesSayWhatTheOptionTakes) {
    struct Case {
        std::vector<std::string_view> arguments;
        std::string_view error;
    };
    const std::vector<Case> cases{
        {{"--hardware", "real"}, "option --hardware takes 'sim' or 'host'"},
        {{"--hardware"}, "option --hardware takes 'sim' or 'host'"},
        {{"--report", "--mode=fast"}, "option --mode takes 'default', 'optimize' or 'max'"},
        {{"--rows", "weeks"}, "option --rows takes 'minutes' or 'days'"},
        {{"--report", "--refreshes", "28801"}, "option --refreshes takes a whole number from 0 to 28800"},
        {{"--seed", "4294967296"}, "option --seed takes a whole number from 0 to 4294967295"},
        {{"--seed", "+5"}, "option --seed takes a whole number from 0 to 4294967295"},
        {{"--state-dir="}, "option --state-dir needs a folder"},
        {{"--dmi"}, "option --dmi needs a file"},
        {{"--cpu-load="}, "option --cpu-load needs a value"},
        {{"--spd", "module.bin"}, "option --spd takes SLOT=FILE, for example DIMM_A0=module.bin"},
        {{"--board", "0999"},
         "option --board takes a four-digit board code such as 2917 (or KX-2917, or 'unknown')"},
        {{"--version=2"}, "option --version takes no value"},
        {{"-h", "extra"}, "unexpected argument 'extra'"},
        {{"--metrics", "host:port"},
         "option --metrics takes ADDRESS:PORT or PORT, for example 127.0.0.1:9101"},
    };
    for (const auto& [arguments, error] : cases)
        EXPECT_EQ(parse(arguments).error, error) << arguments.front();
}

TEST(CommandLine, TheSimulationsValuesAreCheckedWhileParsing) {
    EXPECT_NE(parse({"--cpu-load", "nan"}).error.find("--cpu-load nan: "), std::string::npos);
    EXPECT_EQ(parse({"--graphics", "matrox"}).error, "--graphics matrox: takes nvidia, intel or ati");
    EXPECT_TRUE(parse({"--graphics", "AMD"}).error.empty()) << "vendors are named in any case, AMD for ATI";
    EXPECT_NE(parse({"--memory", "A0"}).error.find("--memory A0: "), std::string::npos);
    EXPECT_TRUE(parse({"--memory", "A0=DDR3-2G"}).error.empty());
    EXPECT_EQ(parse({"--export-history", "h.csv", "--from", "2026-13-01"}).error,
              "option --from takes a date such as 2026-12-07 or 2026-12-07T10:00 (UTC)");
    EXPECT_TRUE(
        parse({"--export-history", "h.csv", "--from", "2026-12-01", "--to=2026-12-07T10:00"}).error.empty());
}

TEST(CommandLine, ASwitchDoesNotTakeTheNextArgument) {
    const auto parsed = parse({"--batch", "--seed", "4294967295", "--no-window", "--metrics", "9101"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_TRUE(parsed.options.batch);
    EXPECT_EQ(parsed.options.seed, 4294967295U);
    EXPECT_EQ(parsed.options.metricsAddress, "9101");
    EXPECT_EQ(parse({"--spd", "A0=a.bin", "--spd=B0=b.bin"}).options.spdSlots,
              (std::vector<std::string>{"A0=a.bin", "B0=b.bin"}));
}

TEST(CommandLine, MinimizedStartsTheWindowAsTheIconAndGoesWithNothingWithoutAWindow) {
    EXPECT_FALSE(parse({}).options.minimized);
    const auto parsed = parse({"--minimized", "--board", "2911"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_TRUE(parsed.options.minimized);
    EXPECT_FALSE(parse({"--minimized=yes"}).error.empty());
    for (const auto& withoutWindow : std::vector<std::vector<std::string_view>>{
             {"--report"}, {"--snapshot", "/tmp/pictures"}, {"--no-window"}, {"--export-history", "a.csv"}}) {
        auto arguments = withoutWindow;
        arguments.push_back("--minimized");
        EXPECT_NE(parse(arguments).error.find("--minimized"), std::string::npos) << withoutWindow.front();
    }
}

TEST(CommandLine, TheHelpListsEveryOptionWithItsValue) {
    const auto help = usageText();
    for (const auto* line :
         {"\n  --state-dir DIR     keep the registry", "\n  --hardware sim|host sim: a simulated",
          "\n  --seed N            seed", "\n  -h, --help          print this help",
          "\n                      (default $XDG_STATE_HOME/solvane)\n"})
        EXPECT_NE(help.find(line), std::string::npos) << line;
    EXPECT_EQ(versionText().rfind("Solvane Center ", 0), 0U);
}

} // namespace
} // namespace solvane::app
