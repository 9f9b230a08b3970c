// The history's text forms: ISO 8601 times and bounds, the CSV export, the metrics exposition.
#include "history/HistoryCsv.h"
#include "history/IsoTime.h"
#include "history/ListenAddress.h"
#include "history/MetricsText.h"
#include "support/TempFolder.h"

#include <clocale>
#include <gtest/gtest.h>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace solvane::history {
namespace {

constexpr std::int64_t kMonday = 1796601600; // 2026-12-07T00:00:00Z

TEST(IsoTime, FormatsUtcAndReadsDatesAsWholeDays) {
    EXPECT_EQ(isoDateTime(kMonday + 3723), "2026-12-07T01:02:03Z");
    EXPECT_EQ(isoDate(kMonday + 86399), "2026-12-07");
    EXPECT_EQ(parseIsoTime("2026-12-07", Bound::Start), kMonday);
    EXPECT_EQ(parseIsoTime("2026-12-07", Bound::End), kMonday + 86399);
    EXPECT_EQ(parseIsoTime("2026-12-07T10:15", Bound::End), kMonday + 36900);
    EXPECT_EQ(parseIsoTime("2026-12-07T10:15:30Z", Bound::Start), kMonday + 36930);
    EXPECT_EQ(parseIsoTime("2026-12-07 10:15", Bound::Start), kMonday + 36900);
    for (const char* bad : {"", "2026-12", "2026-13-01", "2026-02-30", "2026-12-07T24:00", "2026-12-07T10",
                            "2026-12-07T10:15:60", "07.12.2026", "2026-12-07T10:15:30+01:00", "2026/12/07",
                            "2026-1x-07", "2026-12-0x", "2026-12-07T1x:15", "2026-12-07T10:1x"})
        EXPECT_FALSE(parseIsoTime(bad, Bound::Start)) << bad;
}

// Each field at its first and last value is read; one past either end is refused.
TEST(IsoTime, ReadsEveryFieldUpToItsEdgeAndNotPast) {
    constexpr std::int64_t kNewYear2026 = 1767225600; // 2026-01-01T00:00:00Z
    const std::pair<const char*, std::int64_t> read[] = {
        {"2026-01-01T00:00:00", kNewYear2026},
        {"2026-01-31", kNewYear2026 + 30 * 86400},
        {"2026-12-31T23:59:59Z", kNewYear2026 + 365 * 86400 - 1},
        {"2026-12-07T23:59", kMonday + 86400 - 60},
    };
    for (const auto& [text, seconds] : read)
        EXPECT_EQ(parseIsoTime(text, Bound::Start), seconds) << text;
    for (const char* past :
         {"2026-00-10", "2026-13-10", "2026-12-00", "2026-12-32", "2026-12-07T24:00", "2026-12-07T23:60",
          "2026-12-07T23:59:60", "2026-12-07T23:59:5", "2026-12-07T23:5"})
        EXPECT_FALSE(parseIsoTime(past, Bound::Start)) << past;
}

TEST(IsoTime, WritesADotWhateverTheLocale) {
    // A locale with a decimal comma, where the machine has one.
    const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    EXPECT_EQ(decimal(1234.5678, 2), "1234.57");
    EXPECT_EQ(decimal(-0.0001, 2), "0.00");
    EXPECT_EQ(decimal(0.5, 0), "0"); // round half to even, as printf does
    std::setlocale(LC_ALL, "C");
    if (!comma)
        GTEST_SKIP() << "no de_DE locale here; checked in the C locale only";
}

TEST(HistoryCsv, WritesMinuteAndDayRowsWithAHeaderInRange) {
    test::TempFolder folder;
    auto store = HistoryStore::openForWriting(folder / "history.sqlite").store;
    ASSERT_TRUE(store);
    ASSERT_TRUE(store->recordMinute({kMonday + 60, 120.125, 40.5, 3.25, 51.5, 1640, 1.2125, 2, 20,
                                     "battery (power_supply BAT0, power_now)"},
                                    0.002, 36000000));
    ASSERT_TRUE(store->recordMinute(
        {kMonday + 120, 80, 30, 0, 49, 1500, 1.1, 0, 20, "graphics card (libsensors: amdgpu \"power1\", 1)"},
        0.001, 0));
    ASSERT_TRUE(store->recordMinute({kMonday + 180, 80, 30, 0, 49, 1500, 1.1, 0, 20}, 0.001, 0));
    ASSERT_TRUE(store->recordMinute({kMonday + 86400, 90, 30, 0, 49, 1500, 1.1, -1, 20}, 0.001, 0));

    // The first eight columns keep their names and places; the source comes last, quoted where it
    // holds a comma or a quote, empty where it was not kept.
    EXPECT_EQ(
        kMinuteCsvHeader,
        "time,system_power_w,cpu_power_w,power_saving_w,cpu_temperature_c,fan_rpm,core_v,mode,power_source");
    std::ostringstream minutes;
    EXPECT_EQ(writeHistoryCsv(*store, CsvRows::Minutes, kMonday, kMonday + 180, minutes), 3U);
    EXPECT_EQ(minutes.str(),
              std::string(kMinuteCsvHeader) +
                  "\n2026-12-07T00:01:00Z,120.125,40.500,3.250,51.50,1640.0,1.2125,Max,\"battery "
                  "(power_supply BAT0, power_now)\"\n"
                  "2026-12-07T00:02:00Z,80.000,30.000,0.000,49.00,1500.0,1.1000,Default,\"graphics card "
                  "(libsensors: amdgpu \"\"power1\"\", 1)\"\n"
                  "2026-12-07T00:03:00Z,80.000,30.000,0.000,49.00,1500.0,1.1000,Default,\n");

    std::ostringstream days;
    EXPECT_EQ(writeHistoryCsv(*store, CsvRows::Days, kMonday + 3600, INT64_MAX, days), 2U);
    EXPECT_EQ(days.str(),
              std::string(kDayCsvHeader) + "\n2026-12-07,0.004000,0.100000\n2026-12-08,0.001000,0.000000\n");
}

// The exposition format's rules for one line: a comment (# HELP / # TYPE), or a metric name,
// optional labels, a value.
const std::regex kHelp(R"(# HELP ([a-zA-Z_:][a-zA-Z0-9_:]*) [^\n]+)");
const std::regex kType(R"(# TYPE ([a-zA-Z_:][a-zA-Z0-9_:]*) (counter|gauge|histogram|summary|untyped))");
const std::regex kSample(
    R"(([a-zA-Z_:][a-zA-Z0-9_:]*)(\{([a-zA-Z_][a-zA-Z0-9_]*="([^"\\\n]|\\[\\"n])*"(,[a-zA-Z_][a-zA-Z0-9_]*="([^"\\\n]|\\[\\"n])*")*)?\})? (-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?|NaN|[+-]Inf))");

// Every line of a text checked against the format's rules, its families and samples by name.
struct Exposition {
    std::map<std::string, std::string> types;
    std::set<std::string> helped;
    std::map<std::string, double> values;
};

Exposition parseExposition(const std::string& text) {
    Exposition parsed;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::smatch match;
        if (std::regex_match(line, match, kHelp)) {
            parsed.helped.insert(match[1]);
        } else if (std::regex_match(line, match, kType)) {
            EXPECT_TRUE(parsed.types.emplace(match[1], match[2]).second) << "second TYPE for " << match[1];
        } else {
            EXPECT_TRUE(std::regex_match(line, match, kSample)) << "not a valid line: " << line;
            // A sample comes after its family's TYPE line.
            EXPECT_TRUE(parsed.types.contains(match[1])) << line;
            parsed.values[line.substr(0, line.rfind(' '))] = std::stod(line.substr(line.rfind(' ') + 1));
        }
    }
    for (const auto& name : parsed.types)
        EXPECT_TRUE(parsed.helped.contains(name.first)) << name.first << " has no HELP";
    return parsed;
}

TEST(MetricsText, FollowsTheExpositionFormatWithTheNamesMonitoringExpects) {
    PowerSample sample;
    sample.systemWatts = 142.5;
    sample.cpuWatts = 61.25;
    sample.savingWatts = 8.5;
    sample.cpuCelsius = 47;
    sample.fanRpm = 1725;
    sample.coreVolts = 1.1875;
    sample.railWatts = {9.5, 14.25, 30.75};
    sample.mode = power::PowerMode::Optimize;
    const auto parsed = parseExposition(metricsText(sample, 0.42, "KX-\"29\"17"));

    const std::string board = R"(board="KX-\"29\"17")";
    const std::map<std::string, double> expected{
        {"solvane_up{" + board + "}", 1},
        {"solvane_cpu_power_watts{" + board + "}", 61.25},
        {"solvane_system_power_watts{" + board + "}", 142.5},
        {"solvane_rail_power_watts{" + board + ",rail=\"3.3V\"}", 9.5},
        {"solvane_rail_power_watts{" + board + ",rail=\"5V\"}", 14.25},
        {"solvane_rail_power_watts{" + board + ",rail=\"12V\"}", 30.75},
        {"solvane_power_saving_watts{" + board + "}", 8.5},
        {"solvane_cpu_temperature_celsius{" + board + "}", 47},
        {"solvane_fan_rpm{" + board + "}", 1725},
        {"solvane_core_volts{" + board + "}", 1.1875},
        {"solvane_power_mode{" + board + ",mode=\"Default\"}", 0},
        {"solvane_power_mode{" + board + ",mode=\"Optimize\"}", 1},
        {"solvane_power_mode{" + board + ",mode=\"Max\"}", 0},
        // 0.42 kWh in joules.
        {"solvane_energy_saved_joules_total{" + board + "}", 1512000},
    };
    EXPECT_EQ(parsed.values, expected);
    for (const auto& [name, type] : parsed.types)
        EXPECT_EQ(type, name == "solvane_energy_saved_joules_total" ? "counter" : "gauge") << name;
    EXPECT_EQ(parsed.types.size(), 10U);
}

// Only the limits that are set appear, each under its own name; none set gives no text at all.
TEST(MetricsText, ServesTheLimitsThatAreSet) {
    const std::string board = R"({board="KX-2911"})";
    struct Case {
        AlertLimits limits;
        std::map<std::string, double> expected;
    };
    const Case cases[] = {
        {{}, {}},
        {{80, std::nullopt, 600},
         {{"solvane_cpu_temperature_limit_celsius" + board, 80},
          {"solvane_fan_speed_limit_rpm" + board, 600}}},
        {{std::nullopt, 150, std::nullopt}, {{"solvane_system_power_limit_watts" + board, 150}}},
    };
    for (const auto& c : cases) {
        const auto text = limitMetricsText(c.limits, "KX-2911");
        const auto parsed = parseExposition(text);
        EXPECT_EQ(parsed.values, c.expected) << text;
        EXPECT_EQ(parsed.types.size(), c.expected.size()) << text;
        for (const auto& [name, type] : parsed.types)
            EXPECT_EQ(type, "gauge") << name;
    }
}

// Nothing to read: solvane_up 0 and the reason, escaped like any label value.
TEST(MetricsText, SaysWhyNothingIsMonitored) {
    const auto parsed = parseExposition(notMonitoringText("the board \"KX-9\" is\nnot supported", ""));
    const std::map<std::string, double> expected{
        {"solvane_up{board=\"\"}", 0},
        {R"(solvane_down_info{board="",reason="the board \"KX-9\" is\nnot supported"})", 1},
    };
    EXPECT_EQ(parsed.values, expected);
    EXPECT_EQ(parsed.types,
              (std::map<std::string, std::string>{{"solvane_up", "gauge"}, {"solvane_down_info", "gauge"}}));
}

TEST(MetricsText, TheListeningAddressIsAUrl) {
    EXPECT_EQ(metricsUrl({"127.0.0.1", 0}, 9464), "http://127.0.0.1:9464/metrics");
    EXPECT_EQ(metricsUrl({"::1", 0}, 9464), "http://[::1]:9464/metrics");
    EXPECT_EQ(metricsUrl({"::", 0}, 80), "http://[::]:80/metrics");
}

} // namespace
} // namespace solvane::history
