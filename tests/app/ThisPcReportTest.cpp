// The real program's report on ordinary PCs: fixture trees built from real machines' read-outs.
#include "ProgramReport.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using test::parseJson;
class ThisPcReport : public test::ProgramReport {
protected:
    QJsonObject reportOn(const std::string& tree, std::string& raw) {
        const auto fixtures = std::filesystem::path(SOLVANE_TEST_DATA) / "host";
        raw = report({"--json", "--hardware", "host", "--sysfs-root", (fixtures / tree).string(),
                      "--proc-root", (fixtures / "laptop-proc").string()});
        return parseJson(raw);
    }
};

std::string text(const QJsonObject& object, const char* key) {
    return object.value(QString::fromUtf8(key)).toString().toStdString();
}

TEST_F(ThisPcReport, ALaptopOnBatteryShowsItsDrawTemperaturesAndWhyTheRestIsMissing) {
    std::string raw;
    const auto root = reportOn("real-x1-carbon-laptop", raw);
    const auto readouts = root.value(QStringLiteral("readouts")).toObject();
    const auto sources = root.value(QStringLiteral("readoutSources")).toObject();
    const auto missing = root.value(QStringLiteral("readoutsMissing")).toObject();
    EXPECT_EQ(text(readouts, "Temperature"), "29'C / 84'F") << raw;
    EXPECT_EQ(text(readouts, "Board Temperature"), "26'C / 78'F");
    EXPECT_EQ(text(readouts, "Battery Draw"), "4.83 W");
    EXPECT_EQ(text(readouts, "Total Power Consumption"), "4.83 W")
        << "on battery the whole PC's draw is known";
    EXPECT_EQ(text(readouts, "Measured Power"), "4.83 W");
    EXPECT_EQ(text(readouts, "Power Source"), "Battery");
    EXPECT_EQ(text(readouts, "Fan Speed"), "no sensor") << "both fans stand";
    EXPECT_NE(text(sources, "Temperature").find("coretemp \"Package id 0\""), std::string::npos);
    EXPECT_NE(text(sources, "Battery Draw").find("power_now"), std::string::npos);
    EXPECT_EQ(text(missing, "Power Consumption").rfind("no CPU power counter on this machine", 0), 0U)
        << text(missing, "Power Consumption");
    for (const char* boardOnly : {"Efficiency", "PWM TRYPH", "IOH Temp.", "12V Power Consumption"}) {
        EXPECT_EQ(text(readouts, boardOnly), "N/A.") << boardOnly;
        EXPECT_FALSE(text(missing, boardOnly).empty()) << boardOnly;
    }
    // Every read-out has its source or the reason it has none.
    for (auto key = readouts.begin(); key != readouts.end(); ++key)
        EXPECT_NE(sources.contains(key.key()), missing.contains(key.key())) << key.key().toStdString();
    EXPECT_EQ(text(root.value(QStringLiteral("thisPc")).toObject(), "powerSource"), "Battery");
}

TEST_F(ThisPcReport, ADesktopsFansAndVoltagesAreListedWithTheirSensors) {
    std::string raw;
    const auto root = reportOn("real-z390-configured", raw);
    const auto readouts = root.value(QStringLiteral("readouts")).toObject();
    EXPECT_EQ(text(readouts, "Fan Speed"), "522 rpm") << raw;
    EXPECT_EQ(text(readouts, "Core Voltage"), "1.300 V");
    EXPECT_EQ(text(readouts, "Battery Draw"), "no sensor");
    const auto pc = root.value(QStringLiteral("thisPc")).toObject();
    const auto fans = pc.value(QStringLiteral("fans")).toArray();
    ASSERT_EQ(fans.size(), 5) << "every fan that turns, the CPU's first";
    EXPECT_EQ(text(fans[0].toObject(), "label"), "CPU fan1");
    EXPECT_EQ(pc.value(QStringLiteral("voltages")).toArray().size(), 12);
    // The fixture's energy counter stands still: the package power says so rather than 0 W.
    const auto missing = root.value(QStringLiteral("readoutsMissing")).toObject();
    EXPECT_NE(text(missing, "Power Consumption").find("intel-rapl:0/energy_uj"), std::string::npos) << raw;
}

} // namespace
} // namespace solvane::app
