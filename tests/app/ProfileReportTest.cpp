// The saved profiles in the report: the motherboard profiles of each mode and the LED profiles, as
// the registry holds them.
#include "SimulatedCore.h"
#include "app/Report.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

QStringList names(const QJsonValue& array) {
    QStringList list;
    for (const auto& entry : array.toArray())
        list.push_back(entry.toString());
    return list;
}

TEST(ProfileReport, ListsEveryStoresNamesInOrderOfSaving) {
    test::CoreServices parts;
    auto& registry = parts.registry;
    registry.writeString("Software\\Tarvok\\SolvaneCenter\\Default", "SavedSettings", "Quiet;Game;");
    registry.writeString("Software\\Tarvok\\SolvaneCenter\\Max", "SavedSettings", "Night;;\"Odd\" %s;");
    registry.writeString("Software\\Tarvok\\SolvaneCenter\\LED", "SavedSettings", "Dark;");
    auto hardware = test::simulatedBoard({.board = 2917});
    SolvaneCore core(parts.on(*hardware, 1));
    core.initialise();

    const auto root =
        QJsonDocument::fromJson(QByteArray::fromStdString(buildReport(core, ReportFormat::Json))).object();
    const auto profiles = root.value(QStringLiteral("profiles")).toObject();
    EXPECT_EQ(profiles.keys(), (QStringList{QStringLiteral("led"), QStringLiteral("motherboard")}));
    const auto motherboard = profiles.value(QStringLiteral("motherboard")).toObject();
    EXPECT_EQ(motherboard.keys(),
              (QStringList{QStringLiteral("Default"), QStringLiteral("Max"), QStringLiteral("Optimize")}));
    EXPECT_EQ(names(motherboard.value(QStringLiteral("Default"))),
              (QStringList{QStringLiteral("Quiet"), QStringLiteral("Game")}));
    EXPECT_EQ(names(motherboard.value(QStringLiteral("Max"))),
              (QStringList{QStringLiteral("Night"), QStringLiteral("\"Odd\" %s")}))
        << "an empty entry is no profile";
    EXPECT_TRUE(motherboard.value(QStringLiteral("Optimize")).isArray());
    EXPECT_TRUE(names(motherboard.value(QStringLiteral("Optimize"))).isEmpty());
    EXPECT_EQ(names(profiles.value(QStringLiteral("led"))), QStringList{QStringLiteral("Dark")});

    const auto text = buildReport(core, ReportFormat::Text);
    EXPECT_NE(text.find("  Default Mode: \"Quiet\" \"Game\"\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  Optimize Mode: (none)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  LED: \"Dark\"\n"), std::string::npos) << text;
}

} // namespace
} // namespace solvane::app
