// The board's switches in the report: each shown LED switch's caption and each shown lamp, as the
// LED page draws them, and the smart fan's, on simulated boards.
#include "SimulatedCore.h"
#include "app/Report.h"
#include "power/ModeTargets.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

struct ReportedBoard {
    explicit ReportedBoard(int board)
        : hardware(test::simulatedBoard({.board = board})), core(parts.on(*hardware, 1)) {
        core.initialise();
    }
    QJsonObject json() {
        return QJsonDocument::fromJson(QByteArray::fromStdString(buildReport(core, ReportFormat::Json)))
            .object();
    }
    QJsonObject leds() { return json().value(QStringLiteral("leds")).toObject(); }
    QJsonObject lamps() { return json().value(QStringLiteral("lamps")).toObject(); }
    // A setting's text as the report writes it.
    std::string settingText(QStringView key) {
        for (const auto& entry : json().value(QStringLiteral("settings")).toArray())
            if (entry.toObject().value(QStringLiteral("key")).toString() == key)
                return entry.toObject().value(QStringLiteral("text")).toString().toStdString();
        return "<no " + key.toString().toStdString() + ">";
    }
    // Writes a setting to the board as its page does.
    void write(int setting, power::SettingValue value) {
        auto& modes = core.state().modes;
        modes.CurrentValues[static_cast<std::size_t>(setting)] = value;
        modes.PendingSettingIndex = setting;
        core.commands().send(power::BoardCommand::WriteSetting);
    }

    test::CoreServices parts;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    SolvaneCore core;
};

TEST(LedReport, The2917ShowsNineSwitchesAndTheirLampsInTheIssuesNames) {
    ReportedBoard board(2917);
    const auto leds = board.leds();
    EXPECT_EQ(leds.keys(),
              (QStringList{"ALL_LED", "CPU_PHASE_LED", "CPU_VTTD_PHASE_LED", "DDR_PHASE_LED", "MCH_PHASE_LED",
                           "PCIE_SLOT_LED", "PCI_SLOT_LED", "POWER_RESET_LED", "S0_S3_LED"}));
    for (const auto& key : leds.keys())
        EXPECT_EQ(leds.value(key).toString(), QStringLiteral("AUTO")) << key.toStdString();
    const auto lamps = board.lamps();
    EXPECT_EQ(lamps.keys(),
              (QStringList{"1159", "1160", "1161", "1163", "1167", "1168", "1169", "1170", "1171", "1173",
                           "1174", "1175", "1176", "1177", "1178", "1179", "1180"}))
        << "no third memory lamp, no load-line or disk lamps";
    EXPECT_EQ(lamps.value(QStringLiteral("1161")).toString(), QStringLiteral("lit"));
    EXPECT_EQ(lamps.value(QStringLiteral("1163")).toString(), QStringLiteral("dark")) << "standby lamp";
    EXPECT_EQ(lamps.value(QStringLiteral("1179")).toString(), QStringLiteral("lit")) << "Easy Button on";
    EXPECT_EQ(lamps.value(QStringLiteral("1180")).toString(), QStringLiteral("lit"))
        << "a card in the PCI slot";
}

TEST(LedReport, ASwitchTurnedOffShowsOffAndItsLampsDark) {
    ReportedBoard board(2917);
    board.write(21, 1);
    EXPECT_EQ(board.core.state().modes.CurrentValues[21], 1) << "read back from the board";
    EXPECT_EQ(board.leds().value(QStringLiteral("CPU_PHASE_LED")).toString(), QStringLiteral("OFF"));
    const auto lamps = board.lamps();
    for (const char* lamp : {"1161", "1167", "1171"})
        EXPECT_EQ(lamps.value(QLatin1String(lamp)).toString(), QStringLiteral("dark")) << lamp;
    EXPECT_EQ(lamps.value(QStringLiteral("1173")).toString(), QStringLiteral("lit"));
    const auto text = buildReport(board.core, ReportFormat::Text);
    EXPECT_NE(text.find("\nLED page:\n  ALL_LED: AUTO\n  CPU_PHASE_LED: OFF\n"), std::string::npos) << text;
    EXPECT_NE(text.find("1161 dark, 1167 dark"), std::string::npos) << text;
}

TEST(LedReport, OtherBoardsShowTheirOwnLayout) {
    {
        ReportedBoard board(2915);
        const auto leds = board.leds();
        EXPECT_TRUE(leds.contains(QStringLiteral("CPU_LOAD_LINE_LED")));
        EXPECT_TRUE(leds.contains(QStringLiteral("HD_LED")));
        EXPECT_FALSE(leds.contains(QStringLiteral("PCIE_SLOT_LED")));
        const auto lamps = board.lamps();
        EXPECT_TRUE(lamps.contains(QStringLiteral("1181")));
        EXPECT_EQ(lamps.value(QStringLiteral("1180")).toString(), QStringLiteral("dark"))
            << "no card answers";
    }
    {
        ReportedBoard board(2901);
        EXPECT_EQ(board.leds().keys(), QStringList{"CPU_PHASE_LED"});
        EXPECT_TRUE(board.lamps().isEmpty()) << "no lamps on 2901";
        EXPECT_NE(buildReport(board.core, ReportFormat::Text).find("  Lamps: (none)\n"), std::string::npos);
    }
    {
        ReportedBoard board(2909);
        const auto leds = board.leds();
        EXPECT_EQ(leds.size(), 9) << "the dialog's switches";
        EXPECT_EQ(leds.value(QStringLiteral("ALL_LED")).toString(), QStringLiteral(">>"))
            << "a board without LED switches keeps the dialog's captions";
        EXPECT_EQ(board.lamps().value(QStringLiteral("1161")).toString(), QStringLiteral("dark"));
    }
}

TEST(LedReport, TheSmartFanReadsEnableOrDisable) {
    ReportedBoard board(2917);
    for (const auto& [value, text] : {std::pair{1, "Enable"}, std::pair{0, "Disable"}}) {
        board.write(power::indexOf(power::Setting::SmartFan), value);
        EXPECT_EQ(board.settingText(u"SMART_FAN"), text) << value;
    }
}

} // namespace
} // namespace solvane::app
