// The metrics endpoint over loopback: what a scrape returns against the report's read-outs, the
// exposition format as promtool checks it, memory over many scrapes, and the run without a window.
#include "SimulatedCore.h"
#include "app/MonitorHandOver.h"
#include "app/PowerHistoryRun.h"
#include "app/Report.h"
#include "history/AlertLimits.h"
#include "history/IsoTime.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <unistd.h>

namespace solvane::app {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif

struct Scrape {
    int status = 0;
    std::string contentType;
    std::string body;
};

// One GET over loopback, served by this thread's event loop while the answer is awaited.
Scrape scrape(quint16 port, const char* path = "/metrics",
              QHostAddress::SpecialAddress host = QHostAddress::LocalHost) {
    QTcpSocket socket;
    socket.connectToHost(host, port);
    socket.write(QByteArray("GET ") + path + " HTTP/1.1\r\nHost: localhost\r\nConnection: close\r\n\r\n");
    QByteArray answer;
    QElapsedTimer timer;
    timer.start();
    Scrape result;
    while (timer.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        answer += socket.readAll();
        const auto headerEnd = answer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            continue;
        const auto header = answer.left(headerEnd).toStdString();
        std::smatch match;
        std::regex_search(header, match, std::regex(R"(Content-Length: *([0-9]+))", std::regex::icase));
        if (match.empty() || answer.size() < headerEnd + 4 + std::stoll(match[1]))
            continue;
        result.status = std::stoi(header.substr(9, 3));
        std::regex_search(header, match, std::regex(R"(Content-Type: *([^\r]+))", std::regex::icase));
        result.contentType = match.empty() ? "" : std::string(match[1]);
        result.body = answer.mid(headerEnd + 4).toStdString();
        break;
    }
    return result;
}

// Resident memory in kB.
long residentKb() {
    std::ifstream status("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    status >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The value of the sample line that starts with `series`.
double sampleValue(const std::string& text, const std::string& series) {
    const auto at = text.find("\n" + series + " ");
    EXPECT_NE(at, std::string::npos) << series;
    return at == std::string::npos ? -1 : std::stod(text.substr(at + series.size() + 2));
}

double leadingNumber(const QJsonObject& readouts, const char* caption) {
    return std::stod(readouts[QString::fromUtf8(caption)].toString().toStdString());
}

class MetricsEndpointTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_hardware = test::simulatedBoard({.board = 2917, .load = 0.6, .seed = 9, .clock = [this] {
                                               return std::chrono::milliseconds(m_services.clock.now());
                                           }});
        m_core = std::make_unique<SolvaneCore>(m_services.on(*m_hardware, 4));
        m_core->initialise();
        m_core->enableSettingCommands();
        m_run = std::make_unique<PowerHistoryRun>(*m_core, m_folder.path(), "127.0.0.1:0",
                                                  [] { return 1796601600; });
        ASSERT_NE(m_run->metricsPort(), 0) << m_run->notice();
        runBeforeReport(*m_core, m_services.clock, power::PowerMode::Max, 5);
    }
    void TearDown() override {
        m_run.reset();
        m_core->shutdown();
    }

    test::TempFolder m_folder;
    test::CoreServices m_services;
    std::unique_ptr<sim::SimulatedHardware> m_hardware;
    std::unique_ptr<SolvaneCore> m_core;
    std::unique_ptr<PowerHistoryRun> m_run;
};

TEST_F(MetricsEndpointTest, AScrapeShowsWhatTheReportShows) {
    const auto answer = scrape(m_run->metricsPort());
    ASSERT_EQ(answer.status, 200);
    EXPECT_EQ(answer.contentType, "text/plain; version=0.0.4; charset=utf-8");
    const auto& text = answer.body;
    const auto report =
        QJsonDocument::fromJson(QByteArray::fromStdString(buildReport(*m_core, ReportFormat::Json)))
            .object()[QStringLiteral("readouts")]
            .toObject();
    const std::string board = R"({board="KX-2917")";
    // The report rounds to its read-outs' places.
    EXPECT_NEAR(sampleValue(text, "solvane_system_power_watts" + board + "}"),
                leadingNumber(report, "Total Power Consumption"), 0.005);
    EXPECT_NEAR(sampleValue(text, "solvane_cpu_power_watts" + board + "}"),
                leadingNumber(report, "Power Consumption"), 0.005);
    EXPECT_NEAR(sampleValue(text, "solvane_power_saving_watts" + board + "}"),
                leadingNumber(report, "Current Power Saving"), 0.005);
    EXPECT_GT(sampleValue(text, "solvane_power_saving_watts" + board + "}"), 0);
    EXPECT_NEAR(sampleValue(text, "solvane_rail_power_watts" + board + ",rail=\"12V\"}"),
                leadingNumber(report, "12V Power Consumption"), 0.005);
    EXPECT_EQ(sampleValue(text, "solvane_cpu_temperature_celsius" + board + "}"),
              leadingNumber(report, "Temperature"));
    EXPECT_EQ(sampleValue(text, "solvane_fan_rpm" + board + "}"), leadingNumber(report, "Fan Speed"));
    EXPECT_NEAR(sampleValue(text, "solvane_core_volts" + board + "}"), leadingNumber(report, "Core Voltage"),
                0.0005);
    EXPECT_EQ(sampleValue(text, "solvane_power_mode" + board + ",mode=\"Max\"}"), 1);
    EXPECT_EQ(sampleValue(text, "solvane_power_mode" + board + ",mode=\"Default\"}"), 0);
    const auto& values = m_core->session().measurement().values();
    EXPECT_NEAR(sampleValue(text, "solvane_energy_saved_joules_total" + board + "}"),
                history::savedKilowattHours(values) * 3.6e6, 1e-5);
    EXPECT_EQ(scrape(m_run->metricsPort(), "/").status, 404);
}

TEST_F(MetricsEndpointTest, PromtoolAcceptsTheExposition) {
    const char* promtool = "/usr/bin/promtool";
    if (access(promtool, X_OK) != 0)
        GTEST_SKIP() << "promtool (Debian package prometheus) is not installed";
    // With the user's limits set, their families are served too.
    ASSERT_TRUE(history::writeAlertLimits(m_services.registry, {70, 150, 500}));
    m_run->history()->reloadLimits();
    const auto text = scrape(m_run->metricsPort()).body;
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(sampleValue(text, R"(solvane_system_power_limit_watts{board="KX-2917"})"), 150);
    test::writeFile(m_folder / "metrics.txt", text);
    std::string errors;
    std::string output;
    const int code = test::runProgram(
        "/bin/sh", {"-c", std::string(promtool) + " check metrics < " + (m_folder / "metrics.txt").string()},
        {}, &errors, &output);
    EXPECT_EQ(code, 0) << output << errors;
    EXPECT_EQ(output + errors, "") << text;
}

TEST_F(MetricsEndpointTest, AThousandScrapesLeaveMemoryFlat) {
    if (kAddressSanitizer)
        GTEST_SKIP()
            << "AddressSanitizer keeps freed memory in quarantine: resident memory says nothing here";
    for (int i = 0; i < 100; ++i)
        ASSERT_EQ(scrape(m_run->metricsPort()).status, 200);
    const long before = residentKb();
    for (int i = 0; i < 1000; ++i) {
        if (i % 100 == 0)
            m_services.clock.advance(power::PowerMonitor::kRefreshPeriodMs);
        ASSERT_EQ(scrape(m_run->metricsPort()).status, 200) << "scrape " << i;
    }
    EXPECT_LT(residentKb() - before, 1024) << "resident memory grew by " << residentKb() - before << " kB";
}

TEST(MetricsListen, TakesAPortAloneAsLoopbackAndRefusesNonsense) {
    const auto port = history::parseListenAddress("9101");
    ASSERT_TRUE(port);
    EXPECT_EQ(port->host, "127.0.0.1");
    EXPECT_EQ(port->port, 9101);
    const auto v6 = history::parseListenAddress("[::1]:9101");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "::1");
    EXPECT_EQ(history::parseListenAddress("0.0.0.0:80")->host, "0.0.0.0");
    const auto highest = history::parseListenAddress("127.0.0.1:65535");
    ASSERT_TRUE(highest) << "the highest port there is";
    EXPECT_EQ(highest->port, 65535);
    for (const char* bad : {"", "127.0.0.1:", "127.0.0.1:65536", "host.example:80", "127.0.0.1:9x", "::1:80",
                            "[127.0.0.1]:80", "300.1.1.1:80"})
        EXPECT_FALSE(history::parseListenAddress(bad)) << bad;
}

// The program without a window, with no window system loaded: the endpoint answers; SIGTERM, and
// SIGHUP from a closed terminal, end it cleanly with its history written and its exit recorded as
// normal.
TEST(NoWindowRun, ServesMetricsAndEndsCleanlyOnSigtermAndSighup) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        test::TempFolder folder;
        std::filesystem::create_directory(folder / "run", folder.path());
        std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);
        test::ChildProcess child(
            test::programFolder() / "solvane",
            {"--no-window", "--state-dir", folder.path().string(), "--metrics", "127.0.0.1:0", "--cpu-load",
             "50", "--seed", "2"},
            {{"XDG_RUNTIME_DIR", (folder / "run").string()}, {"QT_QPA_PLATFORM", "minimal"}});
        ASSERT_TRUE(child.waitForOutput("/metrics\n")) << child.errors();
        std::smatch match;
        const auto output = child.output();
        ASSERT_TRUE(std::regex_search(output, match, std::regex(R"(http://127\.0\.0\.1:([0-9]+)/metrics)")))
            << output;
        // The unoptimised sanitizer build keeps references in the module that the optimised build
        // drops (its module needs the widget libraries), so the normal build holds this check.
        if (!kAddressSanitizer) {
            const auto maps = test::readTextFile("/proc/" + std::to_string(child.pid()) + "/maps");
            EXPECT_EQ(maps.find("libQt6Widgets"), std::string::npos)
                << "a run without a window loads no window system";
            EXPECT_EQ(maps.find("libQt6Gui"), std::string::npos);
        }
        const auto answer = scrape(static_cast<quint16>(std::stoi(match[1])));
        EXPECT_EQ(answer.status, 200);
        EXPECT_NE(answer.body.find("solvane_system_power_watts{board=\"KX-2917\"}"), std::string::npos)
            << answer.body;
        EXPECT_TRUE(
            std::regex_search(answer.body, std::regex(R"(\nsolvane_up\{board="KX-2917"\} 1(\.0+)?\n)")))
            << answer.body;
        child.signal(signal);
        EXPECT_EQ(child.wait(), 0) << child.errors();
        EXPECT_TRUE(std::filesystem::exists(folder / "history.sqlite"));
        const auto history = history::HistoryStore::openForReading(folder / "history.sqlite");
        ASSERT_TRUE(history.store) << history.notice;
        EXPECT_EQ(history.store->integrityCheck(), "ok");
        EXPECT_EQ(history.store->minutes(0, INT64_MAX).size(), 1U)
            << "the minute of the run is written at its end";
        EXPECT_NE(test::readTextFile(folder / "registry.reg").find("\"SolvaneNormalEnd\"=\"1\""),
                  std::string::npos)
            << test::readTextFile(folder / "registry.reg") << child.errors();
    }
}

// A port in use is no reason to retry: the monitor ends with the code the systemd unit does not
// restart on.
TEST(NoWindowRun, EndsWithItsOwnCodeWhenThePortIsTaken) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "run", folder.path());
    std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    std::string errors;
    EXPECT_EQ(test::runProgram(
                  test::programFolder() / "solvane",
                  {"--no-window", "--state-dir", folder.path().string(), "--metrics",
                   "127.0.0.1:" + std::to_string(taken.serverPort())},
                  {{"XDG_RUNTIME_DIR", (folder / "run").string()}, {"QT_QPA_PLATFORM", "minimal"}}, &errors),
              kMetricsUnavailableExitCode)
        << errors;
    EXPECT_NE(errors.find("cannot listen on 127.0.0.1:"), std::string::npos) << errors;
}

// A monitor with nothing to monitor says so at its start and serves solvane_up 0 with the reason.
TEST(NoWindowRun, SaysWhatItCannotMonitor) {
    test::TempFolder folder;
    std::filesystem::create_directory(folder / "run", folder.path());
    std::filesystem::permissions(folder / "run", std::filesystem::perms::owner_all);
    test::ChildProcess child(
        test::programFolder() / "solvane",
        {"--no-window", "--state-dir", folder.path().string(), "--metrics", "[::1]:0", "--board", "unknown"},
        {{"XDG_RUNTIME_DIR", (folder / "run").string()}, {"QT_QPA_PLATFORM", "minimal"}});
    ASSERT_TRUE(child.waitForOutput("/metrics\n")) << child.errors();
    std::smatch match;
    const auto output = child.output();
    ASSERT_TRUE(std::regex_search(output, match, std::regex(R"(http://\[::1\]:([0-9]+)/metrics)"))) << output;
    EXPECT_NE(child.errors().find("nothing is monitored: "), std::string::npos) << child.errors();
    const auto answer =
        scrape(static_cast<quint16>(std::stoi(match[1])), "/metrics", QHostAddress::LocalHostIPv6);
    EXPECT_EQ(answer.status, 200);
    EXPECT_TRUE(std::regex_search(answer.body, std::regex(R"(\nsolvane_up\{board="[^"]*"\} 0(\.0+)?\n)")))
        << answer.body;
    EXPECT_TRUE(std::regex_search(answer.body,
                                  std::regex(R"(\nsolvane_down_info\{board="[^"]*",reason="[^"]+"\} 1)")))
        << answer.body;
    child.signal(SIGTERM);
    EXPECT_EQ(child.wait(), 0) << child.errors();
}

} // namespace
} // namespace solvane::app
