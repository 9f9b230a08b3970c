#include "HostFixture.h"
#include "host/GraphicsAdapter.h"
#include "hw/replay/ReplayHardware.h"
#include "hw/smbios/SmbiosTableReader.h"
#include "support/TempFolder.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace solvane::host {
namespace {

using hw::Falwick;
namespace nimbrel = hw::nimbrel;

std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(HostHardware, ServesTheFirmwareTableOfTheTree) {
    auto host = test::hostOnFixture("desktop");
    const auto file = readBytes(test::fixtureFolder() / "desktop" / "firmware" / "dmi" / "tables" / "DMI");
    std::uint32_t length = 0;
    ASSERT_EQ(host->ostrel().GetDMILength(&length), file.size());
    EXPECT_EQ(length, file.size());
    std::vector<std::uint8_t> table(length);
    ASSERT_TRUE(host->ostrel().GetDMIData(table.data(), length));
    EXPECT_EQ(table, file);

    hw::SmbiosTableReader reader(table);
    std::optional<std::string_view> product;
    while (const auto structure = reader.next())
        if (structure->type() == 2)
            product = structure->stringAt(0x05);
    EXPECT_EQ(reader.end(), hw::SmbiosTableEnd::EndOfTable);
    EXPECT_EQ(product, "Elm-E4 (KX-2917)");

    auto bare = test::hostOnFixture("laptop-proc"); // neither a table nor dmi/id
    EXPECT_EQ(bare->ostrel().GetDMILength(nullptr), 0U);
    EXPECT_FALSE(bare->ostrel().GetDMIData(table.data(), length));
}

std::map<std::pair<int, int>, std::string> tableStrings(hw::Ostrel& firmware) {
    std::uint32_t length = 0;
    firmware.GetDMILength(&length);
    std::vector<std::uint8_t> table(length);
    EXPECT_TRUE(firmware.GetDMIData(table.data(), length));
    hw::SmbiosTableReader reader(table);
    std::map<std::pair<int, int>, std::string> strings;
    while (const auto structure = reader.next())
        for (int offset = 4; offset < 0x12; ++offset)
            if (const auto text = structure->stringAt(static_cast<std::size_t>(offset)))
                strings[{structure->type(), offset}] = std::string(*text);
    EXPECT_EQ(reader.end(), hw::SmbiosTableEnd::EndOfTable);
    return strings;
}

TEST(HostHardware, WithoutTheTableTheFirmwareStringsComeFromDmiIdAndCpuinfo) {
    auto laptop = test::hostOnFixture("laptop", "laptop-proc");
    const auto strings = tableStrings(laptop->ostrel());
    const std::map<std::pair<int, int>, std::string> expected{
        {{0, 0x04}, "Insyde Corp."},
        {{0, 0x05}, "F.21"},
        {{0, 0x08}, "03/14/2022"},
        {{1, 0x04}, "Quillon"},
        {{1, 0x05}, "Notebook 14-dq2000"},
        {{1, 0x06}, "Type1ProductConfigId"},
        {{2, 0x04}, "Quillon"},
        {{2, 0x05}, "88D2"},
        {{2, 0x06}, "56.28"},
        {{4, 0x07}, "Intel"},
        {{4, 0x10}, "11th Gen Intel(R) Core(TM) i5-1135G7 @ 2.40GHz"},
    };
    EXPECT_EQ(strings, expected) << "the serial numbers are root's only and stay without a string";

    std::uint32_t length = 0;
    laptop->ostrel().GetDMILength(&length);
    std::vector<std::uint8_t> table(length);
    laptop->ostrel().GetDMIData(table.data(), length);
    hw::SmbiosTableReader reader(table);
    while (const auto structure = reader.next())
        if (structure->type() == 4) {
            // Family 6, model 140 (extended model 8, model C), stepping 1; the EDX flags of cpuinfo.
            EXPECT_EQ(structure->qwordAt(0x08), 0xBFEBFBFF000806C1ULL);
            EXPECT_FALSE(structure->wordAt(0x12)) << "the kernel gives no external clock";
        }

    // Without a processor list the processor record is left out.
    auto noProc = test::hostOnFixture("laptop");
    EXPECT_FALSE(tableStrings(noProc->ostrel()).contains({4, 0x10}));
}

TEST(HostHardware, MemoryStatusAndProcessorsComeFromTheProcTree) {
    auto laptop = test::hostOnFixture("laptop", "laptop-proc");
    const auto status = laptop->memoryStatus();
    EXPECT_EQ(status.dwTotalPhys, 8000000ULL * 1024);
    EXPECT_EQ(status.dwMemoryLoad, 25U); // 2000000 of 8000000 kB not available
    EXPECT_EQ(laptop->processorCount(), 2U);
    const auto cpu = laptop->cpuInfo();
    EXPECT_EQ(cpu.vendor, "GenuineIntel");
    EXPECT_EQ(cpu.signature(), 0x000806C1U);
    // A tree without cpuinfo falls back to the processors of the running system, never to none.
    EXPECT_GE(test::hostOnFixture("laptop")->processorCount(), 1U);
    EXPECT_EQ(test::hostOnFixture("laptop")->memoryStatus().dwTotalPhys, 0U);
}

TEST(HostHardware, ReadsPciConfigurationSpaceOfDomainZero) {
    auto host = test::hostOnFixture("desktop");
    auto& falwick = host->falwick();
    EXPECT_EQ(falwick.PCI_RW(0, 0, 0, 0x00, 0, Falwick::kRead), 0x2E308086U);
    EXPECT_EQ(falwick.PCI_RW(0, 0x1F, 3, 0x08, 0, Falwick::kRead) >> 16, 0x0C05U);
    EXPECT_EQ(falwick.PCI_RW(1, 0, 0, 0x00, 0, Falwick::kRead), 0x062210DEU);
    EXPECT_EQ(falwick.PCI_RW(0, 0, 0, 0x2C, 0, Falwick::kRead), 0x50001458U);
    EXPECT_EQ(falwick.PCI_RW(0, 1, 0, 0x00, 0, Falwick::kRead), Falwick::kNoDevice);
    EXPECT_EQ(falwick.PCI_RW(0, 0x20, 0, 0x00, 0, Falwick::kRead), Falwick::kNoDevice);

    // The VGA function's tree shows 64 bytes, as the kernel does to unprivileged readers.
    EXPECT_EQ(falwick.PCI_RW(1, 0, 0, 0x3C, 0, Falwick::kRead), 0x0000010BU);
    EXPECT_EQ(falwick.PCI_RW(1, 0, 0, 0x3E, 0, Falwick::kRead), 0xFFFF0000U);
    EXPECT_EQ(falwick.PCI_RW(1, 0, 0, 0x40, 0, Falwick::kRead), 0xFFFFFFFFU);
    std::array<std::uint8_t, 8> bytes{};
    host->machine().readPciConfig(0x0100, 0x3A, bytes);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 8>{0, 0, 0x0B, 0x01, 0, 0, 0xFF, 0xFF}));
    host->machine().readPciConfig(0x0000, 0xFFC, bytes);
    EXPECT_EQ(bytes, (std::array<std::uint8_t, 8>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(host->machine().readPhysicalMemory(0xC0000, bytes));

    // Domain 1 and the folder that names no function are out of reach.
    HostMachine machine(test::fixtureFolder() / "desktop");
    EXPECT_EQ(machine.functions(),
              (std::vector<std::uint32_t>{0x0000, 0x00FB, 0x00FE, 0x0100, 0x0200, 0x0300}));
    EXPECT_EQ(HostMachine(test::fixtureFolder() / "laptop").functions(), std::vector<std::uint32_t>{});
}

TEST(HostHardware, ReadsSpdEepromsThroughTheKernelsEepromDrivers) {
    auto host = test::hostOnFixture("desktop");
    auto& hoblin = host->hoblin();
    // The slot scan of the memory page: bytes 2, 4 and 7 of each slot's EEPROM.
    EXPECT_EQ(hoblin.Smbus_JRW(0xA1, 2, 0), 0x0B);
    EXPECT_EQ(hoblin.Smbus_JRW(0xA1, 4, 0), 0x02);
    EXPECT_EQ(hoblin.Smbus_JRW(0xA1, 7, 0), 0x01);
    EXPECT_EQ(hoblin.Smbus_JRW(0xA5, 2, 0), 0x0B);
    EXPECT_EQ(hoblin.Smbus_JRW(0xA5, 4, 0), 0x03);
    EXPECT_EQ(hoblin.Smbus_JRW(0xA5, 7, 0), 0x09);
    EXPECT_EQ(host->falwick().Smbus_ByteRW(0xA5, 128, 0), 'T');
    // An empty slot reads the same everywhere; the EEPROM on bus 1 and the thermal sensor at 0x48
    // are not memory modules of the memory bus.
    EXPECT_EQ(hoblin.Smbus_JRW(0xA3, 2, 0), 0xFF);
    EXPECT_EQ(hoblin.Smbus_JRW(0xA3, 4, 0), 0xFF);
    EXPECT_EQ(hoblin.Smbus_JRW(0x91, 0, 0), 0xFF);
    // The board's own SMBus devices are absent: the power monitor's identification is not 0xA3.
    EXPECT_EQ(hoblin.Smbus_JRW(0x5B, 0x4C, 0), 0xFF);
    EXPECT_EQ(hoblin.LoadNTHoblin(), 1);

    auto laptop = test::hostOnFixture("laptop");
    EXPECT_EQ(laptop->hoblin().Smbus_JRW(0xA1, 2, 0), 0x0C) << "DDR4 through ee1004";
    EXPECT_EQ(laptop->hoblin().Smbus_JRW(0xA1, 0xFF, 0), 0x00) << "the first page has 256 bytes";
    EXPECT_EQ(SpdEeproms(test::fixtureFolder() / "desktop").addresses(),
              (std::vector<std::uint8_t>{0xA0, 0xA4}));
}

struct SensorReadout {
    nimbrel::TemperatureBuffer temperatures{};
    nimbrel::SensorArray values{};
    int temperatureResult = -1;
    int valueResult = -1;
};

SensorReadout readSensors(hw::Hardware& hardware, std::string_view module) {
    const auto nimbrelModule = hardware.modules().load(module);
    EXPECT_NE(nimbrelModule, nullptr);
    SensorReadout readout;
    readout.temperatures.fill(0x77);
    readout.values.fill(0x77);
    readout.temperatureResult =
        (*nimbrelModule->find<nimbrel::GetTempFunction>(nimbrel::kGetTemp))(readout.temperatures, 0);
    readout.valueResult = (*nimbrelModule->find<nimbrel::GetVolFunction>(nimbrel::kGetVol))(readout.values);
    return readout;
}

TEST(HostHardware, ServesTheSensorsThroughThePowerSavingLibrary) {
    auto host = test::hostOnFixture("desktop");
    const auto desktop = readSensors(*host, "nimbrel_vista.dll");
    EXPECT_EQ(desktop.temperatureResult, 1);
    EXPECT_EQ(desktop.temperatures, (nimbrel::TemperatureBuffer{45, 36, 0, 0, 0, 0, 0, 0}));
    nimbrel::SensorArray values{};
    values[0] = 1104;  // Vcore, mV
    values[2] = 3344;  // +3.3V, mV (not AVCC, not the standby rail)
    values[3] = 5040;  // +5V, mV
    values[4] = 12096; // +12V, mV
    values[7] = 36;    // SYSTIN, degrees
    values[8] = 1325;  // the first fan that turns, rpm
    EXPECT_EQ(desktop.valueResult, 1);
    EXPECT_EQ(desktop.values, values);

    auto laptop = test::hostOnFixture("laptop");
    const auto mobile = readSensors(*laptop, "Nimbrel_xp.dll");
    EXPECT_EQ(mobile.temperatures, (nimbrel::TemperatureBuffer{55, 28, 0, 0, 0, 0, 0, 0}));
    nimbrel::SensorArray boardOnly{};
    boardOnly[7] = 28;
    EXPECT_EQ(mobile.values, boardOnly);

    const auto module = host->modules().load(nimbrel::kXpModule);
    EXPECT_EQ((*module->find<nimbrel::LoadFunction>(nimbrel::kLoadOstrel))(), 1);
    EXPECT_EQ((*module->find<nimbrel::LoadFunction>(nimbrel::kLoadFalwick))(), 1);
    EXPECT_EQ((*module->find<nimbrel::DetectSuperIOFunction>(nimbrel::kDetectSuperIO))(0), 0);
    EXPECT_TRUE(module->has(nimbrel::kGetPowerMode));
    EXPECT_EQ(host->modules().load("Nimbrel_2000.dll"), nullptr);
}

TEST(HostHardware, NamesTheGraphicsAdapterFirmwareBootedOn) {
    auto host = test::hostOnFixture("desktop");
    EXPECT_EQ(host->videoControllerName(), "NVIDIA Corporation G94 [GeForce 9600 GT]");
    EXPECT_EQ(host->videoDriverVersion(), "nouveau 1.3.1");

    const auto framebuffer =
        findGraphicsAdapter(test::fixtureFolder() / "laptop", [](std::uint16_t, std::uint16_t) {
            return std::string("never asked: the adapter is no PCI device");
        });
    ASSERT_TRUE(framebuffer.has_value());
    EXPECT_EQ(framebuffer->name, "simple-framebuffer");
    EXPECT_EQ(framebuffer->driverVersion, "simple-framebuffer");

    // An unknown device keeps its number, as lspci shows it.
    HostMachine machine(test::fixtureFolder() / "desktop", test::fixtureFolder() / "pci.ids");
    EXPECT_EQ(machine.deviceName(0x8086, 0x0152), "Intel Corporation Device 0152");
    EXPECT_EQ(machine.deviceName(0x1AF4, 0x1050), "Device 1af4:1050");
}

TEST(HostHardware, WithoutABootMarkTheLowestCardIsTheAdapter) {
    solvane::test::TempFolder tree;
    for (const auto& [card, device] :
         {std::pair{"card10", "0x0010"}, {"card2", "0x0002"}, {"card2-DP-1", "0x0099"}}) {
        std::filesystem::create_directories(tree / "class" / "drm" / card / "device");
        solvane::test::writeFile(tree / "class" / "drm" / card / "device" / "vendor", "0x1234\n");
        solvane::test::writeFile(tree / "class" / "drm" / card / "device" / "device",
                                 std::string(device) + "\n");
    }
    const auto adapter = findGraphicsAdapter(tree.path(), [](std::uint16_t vendorId, std::uint16_t deviceId) {
        return std::to_string(vendorId) + ":" + std::to_string(deviceId);
    });
    ASSERT_TRUE(adapter.has_value());
    EXPECT_EQ(adapter->name, "4660:2");
    EXPECT_EQ(adapter->driverVersion, "") << "no driver bound";
    EXPECT_FALSE(findGraphicsAdapter(test::fixtureFolder() / "no-such-tree", {}).has_value());
}

TEST(HostHardware, BoardDevicesReadAsAbsent) {
    auto host = test::hostOnFixture("desktop");
    EXPECT_EQ(host->ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, hw::Ostrel::kIdentificationDevice,
                                       0x20, 0, 1),
              0xFF);
    EXPECT_EQ(host->ostrel().GetCmosAddressByte(0x40, hw::Ostrel::kCmosIndexPort), 0xFF);
    EXPECT_EQ(host->falwick().BaseByte_RW(0x480, 0, Falwick::kRead), 0xFF);
    EXPECT_EQ(host->pexmon().Init(), 0);
    std::string version = "Unknown";
    host->pexmon().GetVGABIOSVersion(version);
    EXPECT_EQ(version, "Unknown");
    EXPECT_EQ(host->tressel().TresselInit(4), 0) << "ready";
    EXPECT_NE(host->tressel().TresselInit(0), 0) << "no processors is an error";
    EXPECT_EQ(host->refusedWrites(), 0U);
}

TEST(HostHardware, RefusesAndCountsEveryWrite) {
    auto host = test::hostOnFixture("desktop");
    const auto& counts = host->refusedWriteCounts();
    EXPECT_EQ(host->hoblin().Smbus_JRW(0xA0, 2, 0x00), 0xFF);
    EXPECT_EQ(host->falwick().Smbus_ByteRW(0x60, 0x01, 0x2A), 0xFF);
    EXPECT_EQ(counts.count(WriteKind::Smbus), 2U);
    EXPECT_EQ(host->hoblin().Smbus_JRW(0xA1, 2, 0), 0x0B) << "the EEPROM is unchanged";

    host->falwick().BaseByte_RW(0x480, 0x10, Falwick::kWrite);
    EXPECT_EQ(counts.count(WriteKind::IoPort), 1U);
    EXPECT_EQ(host->falwick().PCI_RW(0, 0, 0, 0x04, 0x0000, Falwick::kWrite), Falwick::kNoDevice);
    EXPECT_EQ(host->falwick().PCI_RW(0, 0x18, 3, 0xE8, 0x1, 7), Falwick::kNoDevice)
        << "an unknown flag writes";
    EXPECT_EQ(counts.count(WriteKind::Pci), 2U);
    EXPECT_EQ(host->falwick().PCI_RW(0, 0, 0, 0x04, 0, Falwick::kRead), 0x00100007U)
        << "command register unchanged";
    host->ostrel().Get_EFERs(0x4E, 6, 0xF1, 0x55, 0);
    EXPECT_EQ(counts.count(WriteKind::SuperIo), 1U);
    host->ostrel().WriteCmosAddressByte(0x40, 1, hw::Ostrel::kCmosIndexPort);
    EXPECT_EQ(counts.count(WriteKind::Cmos), 1U);
    host->ostrel().FanControl(0xA3, 0x80, 0);
    host->ostrel().FanControl(0xB3, 0x80, 0);
    EXPECT_EQ(counts.count(WriteKind::Fan), 2U);

    const auto module = host->modules().load(nimbrel::kVistaModule);
    EXPECT_EQ((*module->find<nimbrel::ModeFunction>(nimbrel::kSetPowerMode))(3), 0);
    EXPECT_EQ((*module->find<nimbrel::ModeFunction>(nimbrel::kCpuThrottling))(7), 0);
    EXPECT_EQ((*module->find<nimbrel::SataFunction>(nimbrel::kEnableSata))(), 0);
    EXPECT_EQ((*module->find<nimbrel::SataFunction>(nimbrel::kDisableSata))(), 0);
    EXPECT_EQ(counts.count(WriteKind::PowerSaving), 4U);

    EXPECT_EQ(host->refusedWrites(), 13U);
    EXPECT_EQ(static_cast<const hw::Hardware&>(*host).refusedWrites(), 13U);
}

TEST(HostHardware, ATreeWithNothingInItIsAMachineWithNothing) {
    const auto root = test::fixtureFolder() / "no-such-tree";
    auto host = createHostHardware({.sysfsRoot = root, .pciIdsFile = {}});
    EXPECT_EQ(host->ostrel().GetDMILength(nullptr), 0U);
    EXPECT_EQ(host->falwick().PCI_RW(0, 0, 0, 0, 0, Falwick::kRead), Falwick::kNoDevice);
    EXPECT_EQ(host->hoblin().Smbus_JRW(0xA1, 2, 0), 0xFF);
    EXPECT_EQ(host->videoControllerName(), "");
    const auto readout = readSensors(*host, nimbrel::kXpModule);
    EXPECT_EQ(readout.temperatureResult, 0);
    EXPECT_EQ(readout.valueResult, 0);
    EXPECT_EQ(readout.temperatures, nimbrel::TemperatureBuffer{});
    EXPECT_EQ(readout.values, nimbrel::SensorArray{});
    EXPECT_EQ(host->description(),
              "This machine as the sysfs tree " + root.string() + " shows it (read only)");
}

TEST(HostHardware, ReplayedDumpsReplaceTheHostsParts) {
    hw::ReplaySources sources;
    sources.spdImages[0xA2] = std::vector<std::uint8_t>(256, 0x08);
    sources.pciFunctions = std::vector<hw::PciDumpFunction>{};
    std::unique_ptr<hw::Hardware> host = test::hostOnFixture("desktop");
    auto replayed = hw::withReplay(std::move(host), sources);
    EXPECT_EQ(replayed->hoblin().Smbus_JRW(0xA3, 2, 0), 0x08);
    EXPECT_EQ(replayed->hoblin().Smbus_JRW(0xA1, 2, 0), 0x0B) << "from the tree";
    EXPECT_EQ(replayed->falwick().PCI_RW(0, 0, 0, 0, 0, Falwick::kRead), Falwick::kNoDevice)
        << "an empty dump";
    EXPECT_GT(replayed->ostrel().GetDMILength(nullptr), 0U);
    replayed->hoblin().Smbus_JRW(0xA2, 2, 0);
    replayed->ostrel().FanControl(0xA3, 0, 0);
    EXPECT_EQ(replayed->refusedWrites(), 2U);
}

} // namespace
} // namespace solvane::host
