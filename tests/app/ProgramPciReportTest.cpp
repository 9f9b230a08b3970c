// The real program's report of the PCI page: the "pci" object scripts read, on a simulated board
// and on a replayed dump, and the same rows in the plain text.
#include "ProgramReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

class ProgramPciReport : public test::ProgramReport {
protected:
    QJsonObject pci(std::vector<std::string> arguments) { return jsonSection(std::move(arguments), "pci"); }
};

TEST_F(ProgramPciReport, TheJsonObjectCarriesRowsListViewHeaderAndFactsByTheirNames) {
    const auto object = pci({"--board", "2904"});
    const auto devices = object.value(QStringLiteral("devices")).toArray();
    ASSERT_EQ(devices.size(), 20);
    const auto first = devices.first().toObject();
    EXPECT_EQ(first.value(QStringLiteral("row")).toString(),
              QStringLiteral("Intel Host Bridge;0x00;0x00;0x00;"));
    EXPECT_EQ(first.value(QStringLiteral("listView")).toArray(),
              (QJsonArray{QStringLiteral("Intel Host Bridge"), QStringLiteral("0x00"), QStringLiteral("0x00"),
                          QStringLiteral("0x00")}));
    const auto header = first.value(QStringLiteral("header")).toObject();
    const std::pair<const char*, const char*> expected[] = {
        {"Vendor ID", "0x8086"},    {"Device ID", "0x2E30"},    {"Revision ID", "0x03"},
        {"Class Code", "0x060000"}, {"Latency Timer", "0x00"},  {"Sub.Vendor ID", "0x1E57"},
        {"Subsystem ID", "0x2904"}, {"Int Line (IRQ)", "0x00"}, {"Int Ping", "0x00"},
    };
    EXPECT_EQ(header.size(), 9);
    for (const auto& [name, value] : expected)
        EXPECT_EQ(header.value(QString::fromLatin1(name)).toString(), QString::fromLatin1(value)) << name;
    EXPECT_EQ(devices.last().toObject().value(QStringLiteral("row")).toString(),
              QStringLiteral("VIA IEEE 1394;0x04;0x02;0x00;"));

    const auto facts = object.value(QStringLiteral("facts")).toObject();
    EXPECT_EQ(facts.size(), 6);
    EXPECT_EQ(facts.value(QStringLiteral("HostBridgeVendor")).toString(), QStringLiteral("Intel"));
    EXPECT_EQ(facts.value(QStringLiteral("HostBridgeChip")).toString(), QStringLiteral("Eaglelake(G41)"));
    EXPECT_EQ(facts.value(QStringLiteral("IsaBridgeVendor")).toString(), QStringLiteral("Intel"));
    EXPECT_EQ(facts.value(QStringLiteral("IsaBridgeChip")).toString(), QStringLiteral("82801GB(ICH7/R)"));
    EXPECT_EQ(facts.value(QStringLiteral("GraphicsChip")).toString(), QString());
    EXPECT_TRUE(facts.value(QStringLiteral("Ieee1394Bus")).isDouble()) << "a number, not a text";
    EXPECT_EQ(facts.value(QStringLiteral("Ieee1394Bus")).toInt(), 4);
}

TEST_F(ProgramPciReport, AReplayedDumpShowsItsDomainZeroFunctionsOnBusesZeroToNine) {
    const auto realData = test::realDataFolder();
    const auto dump = realData / "pci" / "dumps" / "pciutils__PCI-X-bridges-and-domains.txt";
    const auto devices = pci({"--pci", dump.string()}).value(QStringLiteral("devices")).toArray();
    // Of 31 functions in five domains, 0000:00:01.0 and 0000:00:03.0 are reachable.
    ASSERT_EQ(devices.size(), 2);
    EXPECT_TRUE(devices[0]
                    .toObject()
                    .value(QStringLiteral("row"))
                    .toString()
                    .endsWith(QStringLiteral(";0x00;0x01;0x00;")));
    EXPECT_TRUE(devices[1]
                    .toObject()
                    .value(QStringLiteral("row"))
                    .toString()
                    .endsWith(QStringLiteral(";0x00;0x03;0x00;")));
}

TEST_F(ProgramPciReport, ThePlainTextPrintsTheSameRows) {
    const auto text = report({"--board", "2917"});
    EXPECT_NE(
        text.find("\nPCI devices:\n  Intel Host Bridge;0x00;0x00;0x00; Vendor ID 0x8086, Device ID 0x3405,"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("\n  VIA IEEE 1394;0x07;0x03;0x00; "), std::string::npos);
    EXPECT_NE(text.find("  Host bridge: Intel Tylersburg(x58)\n"), std::string::npos);
    EXPECT_NE(text.find("  IEEE 1394 bus: 7\n"), std::string::npos);
}

} // namespace
} // namespace solvane::app
