// The real program's report on the host back-end of a machine whose SMBIOS table only root may
// read: the laptop fixture has the firmware strings under class/dmi/id and a /proc of its own.
#include "ProgramReport.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using test::parseJson;

using HostWithoutRoot = test::ProgramReport;

TEST_F(HostWithoutRoot, TheMotherboardAndMemoryComeFromDmiIdAndProc) {
    const auto fixtures = std::filesystem::path(SOLVANE_TEST_DATA) / "host";
    const auto root =
        parseJson(report({"--json", "--hardware", "host", "--sysfs-root", (fixtures / "laptop").string(),
                          "--proc-root", (fixtures / "laptop-proc").string()}));
    const auto board = root.value(QStringLiteral("motherboard")).toObject();
    const std::vector<std::pair<const char*, const char*>> expected{
        {"Manufacturer", "Quillon"},
        {"Vendor Name", "Insyde Corp."},
        {"Version", "F.21"},
        {"Build Date", "03/14/2022"},
        {"Processor Name", "11th Gen Intel(R) Core(TM) i5-1135G7 @ 2.40GHz"},
        {"Number of Processors", "2"},
        {"Processor ID", "BFEBFBFF 000806C1"},
        {"Family", "6"},
        {"Model", "C"},
        {"Stepping", "1"},
    };
    for (const auto& [caption, value] : expected)
        EXPECT_EQ(board.value(QString::fromUtf8(caption)).toString().toStdString(), value) << caption;

    const auto memory = root.value(QStringLiteral("memory")).toObject();
    // 8000000 kB, 6000000 kB of it available.
    EXPECT_EQ(memory.value(QStringLiteral("TotalPhysicalMemory")).toString(), QStringLiteral("7813 MBytes"));
    EXPECT_EQ(memory.value(QStringLiteral("MemoryLoad")).toString(), QStringLiteral("25 %"));
    const auto modules = memory.value(QStringLiteral("modules")).toArray();
    ASSERT_EQ(modules.size(), 1);
    EXPECT_EQ(modules[0].toObject().value(QStringLiteral("Generation")).toString(), QStringLiteral("DDR4"));
}

} // namespace
} // namespace solvane::app
