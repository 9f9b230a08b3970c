// The memory part of the report: in-process for the SMBus library failing, and the real program's
// JSON and text reports on simulated modules and on replayed real dumps.
#include "ProgramReport.h"
#include "SimulatedCore.h"
#include "app/Report.h"
#include "platform/RegistrySeed.h"
#include "sysinfo/SpdBytes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using test::parseJson;

using MemoryReportProgram = test::ProgramReport;

TEST(MemoryReport, WithoutTheSmbusLibraryTheReportSaysWhyNoModuleIsListed) {
    test::CoreServices parts;
    auto hardware = test::simulatedBoard({.board = 2917, .faults = {.hoblinLoadFails = true}});
    SolvaneCore core(parts.on(*hardware, 1));
    core.initialise();
    const auto memory =
        parseJson(buildReport(core, ReportFormat::Json)).value(QStringLiteral("memory")).toObject();
    EXPECT_TRUE(memory.value(QStringLiteral("modules")).toArray().isEmpty());
    EXPECT_TRUE(
        memory.value(QStringLiteral("noModulesReason")).toString().contains(QStringLiteral("SMBus library")));
    EXPECT_TRUE(
        memory.value(QStringLiteral("TotalPhysicalMemory")).toString().endsWith(QStringLiteral(" MBytes")));
    const auto text = buildReport(core, ReportFormat::Text);
    EXPECT_NE(text.find("the SMBus library is not loaded"), std::string::npos) << text;
    EXPECT_NE(text.find("  Total Physical Memory: "), std::string::npos) << text;
}

TEST_F(MemoryReportProgram, TheJsonObjectKeepsItsNamesAndNullsWhatThePageLeaves) {
    const auto root =
        parseJson(report({"--json", "--board", "2911", "--memory", "B1=DDR3-4G-2R-1333-Samsung,A0=DDR2-1G"}));
    const auto memory = root.value(QStringLiteral("memory")).toObject();
    const auto modules = memory.value(QStringLiteral("modules")).toArray();
    ASSERT_EQ(modules.size(), 2);
    const QStringList moduleKeys{"slot",         "MemoryType", "ModuleSize",   "WeekYear",
                                 "Manufacturer", "PartNumber", "SerialNumber", "TimingsTable"};
    const auto ddr2 = modules[0].toObject();
    const auto ddr3 = modules[1].toObject();
    for (const auto& key : moduleKeys) {
        EXPECT_TRUE(ddr2.contains(key)) << key.toStdString();
        EXPECT_TRUE(ddr3.contains(key)) << key.toStdString();
    }
    EXPECT_EQ(ddr2.value(QStringLiteral("slot")).toString(), QStringLiteral("DIMM_A0"));
    EXPECT_EQ(ddr2.value(QStringLiteral("MemoryType")).toString(), QStringLiteral("DDR2"));
    for (const auto& key : moduleKeys.mid(2))
        EXPECT_TRUE(ddr2.value(key).isNull()) << key.toStdString();

    EXPECT_EQ(ddr3.value(QStringLiteral("slot")).toString(), QStringLiteral("DIMM_B1"));
    EXPECT_EQ(ddr3.value(QStringLiteral("ModuleSize")).toString(), QStringLiteral("4096 MBytes (4 Gb)"));
    EXPECT_EQ(ddr3.value(QStringLiteral("Manufacturer")).toString(), QStringLiteral("Samsung"));
    const auto timings = ddr3.value(QStringLiteral("TimingsTable")).toObject();
    const QStringList rows{"Frequency", "CAS# Latency", "RAS# to CAS#", "RAS# Precharge",
                           "tRAS",      "tRC",          "Voltage"};
    EXPECT_EQ(timings.keys().size(), rows.size());
    for (const auto& row : rows) {
        const auto columns = timings.value(row).toArray();
        ASSERT_EQ(columns.size(), 4) << row.toStdString();
        for (const auto& column : columns)
            EXPECT_TRUE(column.isString()) << row.toStdString(); // six latencies: four columns filled
    }
    EXPECT_EQ(timings.value(QStringLiteral("Voltage")).toArray()[3].toString(), QStringLiteral("1.5 V"));

    EXPECT_EQ(memory.value(QStringLiteral("TotalPhysicalMemory")).toString(), QStringLiteral("4096 MBytes"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{1,3} %$"))
                    .match(memory.value(QStringLiteral("MemoryLoad")).toString())
                    .hasMatch());
}

TEST_F(MemoryReportProgram, ColumnsBeyondTheLatencyListAreNull) {
    auto spd = sysinfo::test::ddr3Module();
    spd[14] = 0x0C; // latencies 6 and 7
    const auto file = state / "two-latencies.bin";
    test::writeFile(file, std::string(spd.begin(), spd.end()));
    const auto memory = parseJson(report({"--json", "--memory", "none", "--spd", "DIMM_C0=" + file.string()}))
                            .value(QStringLiteral("memory"))
                            .toObject();
    const auto modules = memory.value(QStringLiteral("modules")).toArray();
    ASSERT_EQ(modules.size(), 1);
    const auto frequency = modules[0]
                               .toObject()
                               .value(QStringLiteral("TimingsTable"))
                               .toObject()
                               .value(QStringLiteral("Frequency"))
                               .toArray();
    ASSERT_EQ(frequency.size(), 4);
    EXPECT_EQ(frequency[0].toString(), QStringLiteral("457 MHz"));
    EXPECT_EQ(frequency[1].toString(), QStringLiteral("533 MHz"));
    EXPECT_TRUE(frequency[2].isNull());
    EXPECT_TRUE(frequency[3].isNull());
    EXPECT_EQ(memory.value(QStringLiteral("TotalPhysicalMemory")).toString(), QStringLiteral("1024 MBytes"));
}

// A simulated board's processor count and memory are the simulated machine's: the processors of its
// processor, all its modules, and the simulated use of them; never the facts of the machine the
// tests run on, planted here as two different hosts (and as a count an earlier run left behind).
TEST(SimulatedMachineFigures, AreTheBoardsOwnWhateverHostRunsThem) {
    struct Case {
        int board;
        const char* processors;
        const char* total;
        const char* load;
    };
    const Case cases[] = {
        {2917, "8", "6144 MBytes", "10 %"}, // Core i7 965: 4 cores, 8 threads; three 2 GB DDR3 modules
        {2901, "2", "1024 MBytes", "63 %"}, // Athlon 64 X2: one 1 GB DDR2 module, 640 MB in use
    };
    for (const auto& expected : cases) {
        for (const unsigned hostProcessors : {1U, 48U}) {
            SCOPED_TRACE(std::to_string(expected.board) + " on a host of " + std::to_string(hostProcessors));
            test::CoreServices parts;
            parts.system.processors = hostProcessors;
            parts.registry.writeString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS",
                                       std::to_string(hostProcessors));
            auto hardware = test::simulatedBoard({.board = expected.board});
            SolvaneCore core(parts.on(*hardware, 1));
            core.initialise();
            const auto root = parseJson(buildReport(core, ReportFormat::Json));
            const auto memory = root.value(QStringLiteral("memory")).toObject();
            EXPECT_EQ(root.value(QStringLiteral("motherboard"))
                          .toObject()
                          .value(QStringLiteral("Number of Processors"))
                          .toString()
                          .toStdString(),
                      expected.processors);
            EXPECT_EQ(memory.value(QStringLiteral("TotalPhysicalMemory")).toString().toStdString(),
                      expected.total);
            EXPECT_EQ(memory.value(QStringLiteral("MemoryLoad")).toString().toStdString(), expected.load);
        }
    }
}

TEST_F(MemoryReportProgram, WithoutModulesNoFieldIsFilled) {
    const auto memory =
        parseJson(report({"--json", "--memory", "none"})).value(QStringLiteral("memory")).toObject();
    EXPECT_TRUE(memory.value(QStringLiteral("modules")).toArray().isEmpty());
    EXPECT_TRUE(memory.value(QStringLiteral("TotalPhysicalMemory")).isNull());
    EXPECT_TRUE(memory.value(QStringLiteral("MemoryLoad")).isNull());
    EXPECT_TRUE(
        memory.value(QStringLiteral("noModulesReason")).toString().contains(QStringLiteral("no SPD EEPROM")));
    // The report leaves the simulated board's state where it was: no file is written, none synced.
    EXPECT_TRUE(std::filesystem::is_empty(state.path()));
}

TEST_F(MemoryReportProgram, RealDumpsReplayInSeveralSlots) {
    const auto folder = test::realDataFolder();
    const auto spd = folder / "spd" / "bin";
    const auto text = report({"--memory", "none", "--spd",
                              "DIMM_A0=" + (spd / "ddr3/memtest86plus__DDR3-9905403-440.A00LF.bin").string(),
                              "--spd", "DIMM_B0=" + (spd / "ddr4/illumos__36ASF8G72PZ-3G2E1.bin").string()});
    EXPECT_NE(
        text.find("Memory modules:\n  DIMM_A0: DDR3\n    Module Size: 4096 MBytes (4 Gb)\n"
                  "    Week / Year: 39 / 11\n    Manufacturer: Kingston\n    Part Number: 9905403-440A00LF\n"
                  "    Serial Number: 9C513C86\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("      Frequency: 457 MHz | 533 MHz | 610 MHz | 686 MHz\n"), std::string::npos)
        << text;
    // The DDR4 module is read whole through the replay, as the kernel's driver gives it on the host.
    EXPECT_NE(text.find("  DIMM_B0: DDR4 RDIMM\n    Module Size: 65536 MBytes (2Rx4)\n"
                        "    Week / Year: 43 / 21\n    Manufacturer: Micron Technology\n"
                        "    Part Number: 36ASF8G72PZ-3G2E1\n    Serial Number: 32297BC1\n"
                        "    Speed: DDR4-3200, CL22-22-22-52\n    CRC of bytes 0-125: OK\n"
                        "    CRC of bytes 128-253: OK\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  Total Physical Memory: 4096 MBytes\n"), std::string::npos) << text;
}

TEST_F(MemoryReportProgram, TheHostsSpdEepromsAreReadThroughTheKernelsDrivers) {
    // A sysfs tree with two EEPROMs of the legacy eeprom driver on bus 0: 0x50 (DIMM_A0) holds a
    // one-rank module of 1 Gb chips, 0x52 (DIMM_B0) a two-rank module of 2 Gb chips.
    test::TempFolder sysfs;
    auto dual = sysinfo::test::ddr3Module();
    dual[4] = 0x03;
    dual[7] = 0x09;
    for (const auto& [device, image] :
         {std::pair{"0-0050", sysinfo::test::ddr3Module()}, std::pair{"0-0052", dual}}) {
        const auto folder = sysfs.path() / "bus" / "i2c" / "devices" / device;
        std::filesystem::create_directories(folder);
        test::writeFile(folder / "name", "eeprom\n");
        test::writeFile(folder / "eeprom", std::string(image.begin(), image.end()));
    }
    const auto memory =
        parseJson(report({"--json", "--hardware", "host", "--sysfs-root", sysfs.path().string()}))
            .value(QStringLiteral("memory"))
            .toObject();
    const auto modules = memory.value(QStringLiteral("modules")).toArray();
    ASSERT_EQ(modules.size(), 2);
    EXPECT_EQ(modules[0].toObject().value(QStringLiteral("slot")).toString(), QStringLiteral("DIMM_A0"));
    EXPECT_EQ(modules[0].toObject().value(QStringLiteral("Manufacturer")).toString(),
              QStringLiteral("Kingston"));
    EXPECT_EQ(modules[1].toObject().value(QStringLiteral("slot")).toString(), QStringLiteral("DIMM_B0"));
    EXPECT_EQ(modules[1].toObject().value(QStringLiteral("ModuleSize")).toString(),
              QStringLiteral("4096 MBytes (4 Gb)"));
    EXPECT_EQ(memory.value(QStringLiteral("TotalPhysicalMemory")).toString(), QStringLiteral("5120 MBytes"));
}

} // namespace
} // namespace solvane::app
