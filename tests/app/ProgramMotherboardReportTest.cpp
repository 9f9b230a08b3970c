// The real program's report of the motherboard information page: the "motherboard" object scripts
// read, on a simulated board and on a replayed firmware table, and the same values in the plain text.
#include "ProgramReport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

// At a fixed load, so the core voltage the page shows is the same on every run.
class ProgramMotherboardReport : public test::ProgramReport {
protected:
    std::string report(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--cpu-load", "30"});
        return ProgramReport::report(std::move(arguments));
    }
    QJsonObject motherboard(std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), {"--cpu-load", "30"});
        return jsonSection(std::move(arguments), "motherboard");
    }
};

QString field(const QJsonObject& object, const char* key) {
    return object.value(QString::fromLatin1(key)).toString();
}

TEST_F(ProgramMotherboardReport, TheJsonObjectCarriesEveryFieldByItsCaption) {
    const auto object =
        motherboard({"--board", "2904", "--baseboard-version", "5.0", "--product-name", "code-only"});
    const char* const captions[] = {
        "Manufacturer", "Product Name",   "Serial Number", "Vendor Name",    "Version",
        "Build Date",   "Processor Name", "Core Voltage",  "External Clock", "Number of Processors",
        "Processor ID", "Family",         "Model",         "Stepping",       "Chipset",
        "BIOS Version", "Driver Version"};
    for (const char* caption : captions)
        EXPECT_TRUE(object.value(QString::fromLatin1(caption)).isString()) << caption;
    EXPECT_EQ(object.size(), 20) << "17 values, two bridge rows and the Super I/O row";
    EXPECT_EQ(field(object, "Product Name"), QStringLiteral("Birch-B4"));
    EXPECT_EQ(field(object, "Family") + field(object, "Model") + field(object, "Stepping"),
              QStringLiteral("676"));
    EXPECT_EQ(field(object, "Chipset"), QStringLiteral("Intel(R) G41 Express Chipset"));
    // Intel graphics: the graphics library is not usable, the probe reads the BIOS through the driver.
    EXPECT_EQ(field(object, "BIOS Version"), QStringLiteral("1874"));
    EXPECT_EQ(field(object, "Driver Version"), QStringLiteral("6.14.10.5082"));
    EXPECT_TRUE(field(object, "Core Voltage").endsWith(QStringLiteral(" V")));
    const auto north = object.value(QStringLiteral("northBridge")).toObject();
    EXPECT_EQ(north, (QJsonObject{{QStringLiteral("caption"), QStringLiteral("IOH ")},
                                  {QStringLiteral("vendor"), QStringLiteral("Intel")},
                                  {QStringLiteral("chip"), QStringLiteral("Eaglelake(G41)")}}));
    EXPECT_EQ(
        object.value(QStringLiteral("southBridge")).toObject().value(QStringLiteral("caption")).toString(),
        QStringLiteral("ICH "));
    EXPECT_EQ(object.value(QStringLiteral("superIo")).toObject(),
              (QJsonObject{{QStringLiteral("vendor"), QStringLiteral("Fintek")},
                           {QStringLiteral("chip"), QStringLiteral("F71882FG")}}));
}

TEST_F(ProgramMotherboardReport, FieldsThePageLeavesUntouchedAreNull) {
    const auto realData = test::realDataFolder();
    // A firmware table without a processor record.
    const auto dump = realData / "smbios" / "rawtable" / "go-smbios__HyperV.dmi";
    const auto object = motherboard({"--dmi", dump.string()});
    for (const char* key : {"Family", "Model", "Stepping"})
        EXPECT_TRUE(object.value(QString::fromLatin1(key)).isNull()) << key;
    EXPECT_EQ(field(object, "Processor ID"), QString());
    EXPECT_TRUE(object.value(QStringLiteral("Processor ID")).isString());
    EXPECT_EQ(field(object, "Manufacturer"), QStringLiteral("Microsoft Corporation"));
    EXPECT_EQ(field(object, "Product Name"), QStringLiteral("Virtual"))
        << "no model record: the board string";
}

TEST_F(ProgramMotherboardReport, ThePlainTextPrintsTheSameValues) {
    const auto text = report({"--board", "2906"});
    EXPECT_NE(text.find("\nMotherboard information:\n  Manufacturer: Tarvok\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n  NB: NVidia MCP72P\n  SB: NVidia MCP72P\n  LPCIO: Fintek F71889F\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n  BIOS Version: 62.92.16.00.10\n"), std::string::npos);
}

} // namespace
} // namespace solvane::app
