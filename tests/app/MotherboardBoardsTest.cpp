// The motherboard information page's values on every simulated board, gathered as the page does:
// identification and the PCI scan first, the graphics BIOS probe through the I/O driver.
#include "SimulatedCore.h"
#include "hw/driver/IoDriverProtocol.h"
#include "hw/driver/ZubrikDriver.h"
#include "platform/RegistrySeed.h"
#include "sim/physics/ScriptedCpuLoad.h"
#include "support/TempFolder.h"
#include "sysinfo/NoDdr3Module.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using sysinfo::MotherboardValue;

// Per board: the model name of its code (the firmware names the board by code only), the bridge
// rows, the Super I/O chip the board carries, its graphics BIOS version, the processor's family,
// model and stepping characters, and the logical processors of the board's processor (the host
// running the tests plants 4 beforehand, which must not show).
struct BoardExpectation {
    int board;
    std::string_view productName;
    std::string_view northCaption;
    std::string_view northBridge; // vendor and chip
    std::string_view southBridge;
    std::string_view superIo;
    std::string_view graphicsBios;
    std::string_view familyModelStepping;
    std::string_view processors;
};

constexpr BoardExpectation kBoards[] = {
    {2901, "Alder-A1", "NB", "ATI RS690", "ATI SB600", "Fintek F71882FG", "5.73.22.29.00", "FB2", "2"},
    {2902, "Alder-A2", "NB", "ATI RD770", "ATI SB710", "Fintek F71889F", "62.94.4C.00.51", "F42", "4"},
    {2903, "Alder-A3", "NB", "ATI 790X", "ATI SB710", "Fintek F71889F", "010.071.000.001.028451", "F23", "4"},
    {2904, "Birch-B1", "IOH ", "Intel Eaglelake(G41)", "Intel 82801GB(ICH7/R)", "Fintek F71882FG", "1874",
     "676", "2"},
    {2905, "Cedar-C1", "NB", "ATI 790FX", "ATI SB710", "Fintek F71889F", "011.015.000.000.031110", "F52",
     "4"},
    // One NVIDIA chip serves as host bridge and south bridge.
    {2906, "Cedar-C2", "NB", "NVidia MCP72P", "NVidia MCP72P", "Fintek F71889F", "62.92.16.00.10", "FB2",
     "2"},
    {2907, "Cedar-C3", "NB", "ATI 760G", "AMD SB710", "Fintek F71889F", "010.072.000.007.027891", "F62", "2"},
    {2908, "Dogwood-D1", "IOH ", "Intel Eaglelake(Q45)", "Intel ICH10DO", " ", "1747", "67A", "2"},
    {2909, "Dogwood-D2", "IOH ", "Intel i875P", "Intel 82801EB(ICH5)", "Fintek ", "5.73.22.48.00", "F43",
     "2"},
    {2910, "Elm-E1", "IOH ", "Intel Tylersburg(x58)", "Intel ICH10DO", "Fintek F71882FG",
     "011.007.000.001.030219", "6A5", "8"},
    {2911, "Cedar-C4", "NB", "AMD RS880", "ATI SB710", "Fintek F71889F", "011.029.000.019.032573", "F42",
     "4"},
    {2912, "Cedar-C5", "NB", "ATI 790FX", "ATI SB710", "Fintek F71889F", "62.94.11.00.51", "FA0", "6"},
    {2915, "Elm-E2", "IOH ", "Intel Tylersburg(x58)", "Intel ICH10R", "Fintek F71882FG", "62.92.7E.00.20",
     "6A5", "8"},
    {2916, "Elm-E3", "IOH ", "Intel Tylersburg(x58)", "Intel ICH10", "Fintek F71882FG",
     "011.011.000.000.031941", "6A4", "8"},
    {2917, "Elm-E4", "IOH ", "Intel Tylersburg(x58)", "Intel ICH10R", "Fintek F71882FG", "62.00.50.00.03",
     "6A4", "8"},
    // No model-name record: the board string.
    {2918, "KX-2918", "IOH ", "Intel Eaglelake(G43)", "Intel ICH10R", "Fintek F71882FG", "1786", "67A", "4"},
};

class MotherboardOnEveryBoard : public ::testing::TestWithParam<BoardExpectation> {
protected:
    MotherboardOnEveryBoard()
        : hardware(options(GetParam().board)), devices(driverServices), kernelSide(hardware->machine()),
          driver(services.system, driverServices, devices, sleeper) {
        services.registry.writeString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS", "4");
        services.system.folder = folder.path();
        test::writeFile(folder / "Zubrik_X64.sys", "descriptor");
        test::writeFile(folder / "Zubrik.sys", "descriptor");
        devices.attach(hw::zubrik::kDevicePath, hw::zubrik::kServiceName, kernelSide);
        EXPECT_EQ(driver.Load(), hw::IoDriver::kLoaded);
        driver.SetHandleCopy(driver.GetHandle());
        core = std::make_unique<SolvaneCore>(services.on(*hardware, 1));
        core->initialise();
    }

    static std::unique_ptr<sim::SimulatedHardware> options(int board) {
        sim::SimulationOptions simulation;
        simulation.boardCode = board;
        simulation.cpuLoad = std::make_shared<sim::ScriptedCpuLoad>(std::vector<double>{0.3});
        simulation.productNaming = sim::ProductNaming::CodeOnly;
        return std::make_unique<sim::SimulatedHardware>(simulation);
    }

    sysinfo::MotherboardInfo gather() {
        const auto& platform = core->state().platform;
        return core->gatherMotherboardInfo(&driver,
                                           sysinfo::noDdr3Module(platform.BoardCode, hardware->hoblin()));
    }

    test::CoreServices services;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    test::TempFolder folder;
    platform::ServiceTable driverServices;
    platform::DeviceNamespace devices;
    hw::ZubrikDriver kernelSide;
    platform::RecordingSleeper sleeper;
    hw::IoDriver driver;
    std::unique_ptr<SolvaneCore> core;
};

std::string joined(const std::string& vendor, const std::string& chip) {
    return vendor + " " + chip;
}

TEST_P(MotherboardOnEveryBoard, ShowsTheBoardsOwnValues) {
    const auto& expected = GetParam();
    const auto info = gather();
    const auto& platform = core->state().platform;
    EXPECT_EQ(info.value(MotherboardValue::ProductName), expected.productName);
    EXPECT_EQ(info.bridges.north.caption, expected.northCaption);
    EXPECT_EQ(info.bridges.south.caption, expected.northCaption == "NB" ? "SB" : "ICH ");
    EXPECT_EQ(joined(info.bridges.north.vendor, info.bridges.north.chip), expected.northBridge);
    EXPECT_EQ(joined(info.bridges.south.vendor, info.bridges.south.chip), expected.southBridge);
    EXPECT_EQ(joined(info.superIo.vendor, info.superIo.chip), expected.superIo);
    EXPECT_EQ(info.value(MotherboardValue::BiosVersion), expected.graphicsBios);
    const auto signature = *info.value(MotherboardValue::Family) + *info.value(MotherboardValue::Model) +
                           *info.value(MotherboardValue::Stepping);
    EXPECT_EQ(signature, expected.familyModelStepping);
    EXPECT_EQ(info.value(MotherboardValue::NumberOfProcessors), expected.processors);
    EXPECT_EQ(info.value(MotherboardValue::Manufacturer), platform.baseboardManufacturer);
    EXPECT_EQ(info.value(MotherboardValue::ExternalClock), platform.externalClock);
    EXPECT_EQ(info.value(MotherboardValue::CoreVoltage), core->coreVoltageText());
    EXPECT_TRUE(info.value(MotherboardValue::CoreVoltage)->ends_with(" V"));
    // The adapter the management interface names, its driver version as the graphics library (or,
    // where it is not usable, the interface) gives it.
    EXPECT_EQ(info.value(MotherboardValue::DriverVersion), hardware->videoDriverVersion());
    EXPECT_FALSE(info.value(MotherboardValue::Chipset)->empty());
    EXPECT_EQ(info.value(MotherboardValue::ProcessorName)->find("    "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(EachBoard, MotherboardOnEveryBoard, ::testing::ValuesIn(kBoards),
                         [](const auto& test) { return "KX" + std::to_string(test.param.board); });

TEST(MotherboardOnBoardRevisions, Board2904NamesItsRevisionFromTheBaseboardVersion) {
    for (const auto& [version, name] :
         {std::pair{"4.0", "Birch-B3"}, {"5.0", "Birch-B4"}, {"6.0", "Birch-B5"}}) {
        sim::SimulationOptions simulation;
        simulation.boardCode = 2904;
        simulation.cpuLoad = std::make_shared<sim::ScriptedCpuLoad>(std::vector<double>{0.3});
        simulation.productNaming = sim::ProductNaming::CodeOnly;
        simulation.baseboardVersion = version;
        sim::SimulatedHardware hardware(simulation);
        test::CoreServices services;
        SolvaneCore core(services.on(hardware, 1));
        core.initialise();
        EXPECT_EQ(core.gatherMotherboardInfo(nullptr, false).value(MotherboardValue::ProductName), name)
            << version;
    }
}

} // namespace
} // namespace solvane::app
