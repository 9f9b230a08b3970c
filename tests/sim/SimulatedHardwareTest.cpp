#include "sim/SimTestSupport.h"
#include "sim/physics/HostCpuLoad.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::sim {
namespace {

namespace nimbrel = hw::nimbrel;
using std::chrono::milliseconds;

constexpr std::string_view kEntryPoints[] = {
    nimbrel::kLoadOstrel,    nimbrel::kUnloadOstrel,  nimbrel::kLoadFalwick, nimbrel::kUnloadFalwick,
    nimbrel::kDetectSuperIO, nimbrel::kGetTemp,       nimbrel::kGetVol,      nimbrel::kSetPowerMode,
    nimbrel::kGetPowerMode,  nimbrel::kCpuThrottling, nimbrel::kEnableSata,  nimbrel::kDisableSata,
    nimbrel::kUsedNoSata,    nimbrel::kUnusedNoSata,
};

TEST(SimulatedHardware, ServesBothPowerSavingModulesWithEveryEntryPoint) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(2917, clock));
    for (const auto name : {"Nimbrel_xp.dll", "NIMBREL_VISTA.DLL"}) {
        const auto module = hardware.modules().load(name);
        ASSERT_TRUE(module) << name;
        for (const auto entry : kEntryPoints)
            EXPECT_TRUE(module->has(entry)) << entry;
    }
    EXPECT_FALSE(hardware.modules().load("Nimbrel_7.dll"));
    hardware.moduleCatalog().remove(nimbrel::kXpModule);
    EXPECT_FALSE(hardware.modules().load(nimbrel::kXpModule));
    EXPECT_TRUE(hardware.modules().load(nimbrel::kVistaModule));
}

TEST(SimulatedHardware, ATestCanTakeEntryPointsAway) {
    sim::test::ManualClock clock;
    auto options = sim::test::testOptions(2917, clock);
    options.missingEntryPoints = {"GetTemp", "CPU_THROTTLING"};
    SimulatedHardware hardware(options);
    const auto module = hardware.modules().load(nimbrel::kVistaModule);
    EXPECT_FALSE(module->has(nimbrel::kGetTemp));
    EXPECT_FALSE(module->has(nimbrel::kCpuThrottling));
    EXPECT_TRUE(module->has(nimbrel::kGetVol));
    EXPECT_EQ(module->find<nimbrel::GetTempFunction>(nimbrel::kGetTemp), nullptr);
}

TEST(SimulatedHardware, LoadFailuresLeaveTheLibrariesUnusable) {
    sim::test::ManualClock clock;
    auto options = sim::test::testOptions(2917, clock);
    options.faults.ostrelLoadFails = true;
    options.faults.hoblinLoadFails = true;
    SimulatedHardware hardware(options);
    const auto module = hardware.modules().load(nimbrel::kXpModule);
    EXPECT_EQ((*module->find<nimbrel::LoadFunction>(nimbrel::kLoadOstrel))(), 0);
    EXPECT_EQ((*module->find<nimbrel::LoadFunction>(nimbrel::kLoadFalwick))(), 1);
    EXPECT_EQ(hardware.hoblin().LoadNTHoblin(), 0);
    EXPECT_EQ(hardware.ostrel().GetDMILength(nullptr), 0U);
    EXPECT_EQ(hardware.hoblin().Smbus_JRW(0x5B, 0x4C, 0), 0xFF);
    nimbrel::SensorArray values{};
    values.fill(7);
    EXPECT_EQ((*module->find<nimbrel::GetVolFunction>(nimbrel::kGetVol))(values), 0);
    EXPECT_EQ(values[0], 0);
    EXPECT_NE(hardware.falwick().PCI_RW(0, 0, 0, 0, 0, hw::Falwick::kRead), hw::Falwick::kNoDevice);
}

// The hardware monitor answers to the board's own Super I/O kind only.
TEST(SimulatedHardware, TemperaturesNeedTheBoardsSensorKind) {
    for (const auto& [code, kind] : {std::pair{2918, 27}, std::pair{2910, 100}, std::pair{2917, 0}}) {
        sim::test::ManualClock clock;
        SimulatedHardware hardware(sim::test::testOptions(code, clock));
        sim::test::loadLibraries(hardware);
        const auto module = hardware.modules().load(nimbrel::kXpModule);
        const auto& getTemp = *module->find<nimbrel::GetTempFunction>(nimbrel::kGetTemp);
        nimbrel::TemperatureBuffer buffer{};
        EXPECT_EQ(getTemp(buffer, kind), 1) << code;
        EXPECT_GT(buffer[0], 25) << code;
        for (const int other : {0, 27, 100})
            if (other != kind) {
                EXPECT_EQ(getTemp(buffer, other), 0) << code << " kind " << other;
                EXPECT_EQ(buffer[0], 0);
            }
        const auto& detect = *module->find<nimbrel::DetectSuperIOFunction>(nimbrel::kDetectSuperIO);
        EXPECT_EQ(detect(kind), 1);
    }
    sim::test::ManualClock clock;
    SimulatedHardware other(sim::test::testOptions(2908, clock));
    sim::test::loadLibraries(other);
    EXPECT_EQ((*other.modules()
                    .load(nimbrel::kXpModule)
                    ->find<nimbrel::DetectSuperIOFunction>(nimbrel::kDetectSuperIO))(100),
              0)
        << "2908's Super I/O is not a Fintek part";
}

TEST(SimulatedHardware, GraphicsLibraryKnowsNvidiaAndAtiCards) {
    struct Case {
        int board;
        int init;
        std::string bios;
        std::string driver;
    };
    for (const auto& c : {Case{2917, 1, "62.00.50.00.03", "6.14.11.8250"},
                          Case{2916, 1, "Unknown", "8.632.0.0"}, Case{2918, 0, "Unknown", "before"}}) {
        sim::test::ManualClock clock;
        SimulatedHardware hardware(sim::test::testOptions(c.board, clock));
        std::string bios = "Unknown";
        std::string driver = "before";
        EXPECT_EQ(hardware.pexmon().Init(), c.init) << c.board;
        hardware.pexmon().GetVGABIOSVersion(bios);
        hardware.pexmon().GetDriverVersion(driver);
        EXPECT_EQ(bios, c.bios) << c.board;
        EXPECT_EQ(driver, c.driver) << c.board;
        EXPECT_LT(bios.size(), hw::Pexmon::kTextBufferSize);
    }
    sim::test::ManualClock clock;
    auto options = sim::test::testOptions(2917, clock);
    options.faults.pexmonUnusable = true;
    EXPECT_EQ(SimulatedHardware(options).pexmon().Init(), 0);
}

TEST(SimulatedHardware, CpuUsageLibraryReportsZeroWhenReady) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(2917, clock));
    EXPECT_EQ(hardware.tressel().TresselInit(4), 0);
    EXPECT_EQ(hardware.tressel().TresselInit(0), SimulatedTressel::kInvalidParameter);
    auto options = sim::test::testOptions(2917, clock);
    options.faults.tresselError = 5;
    EXPECT_EQ(SimulatedHardware(options).tressel().TresselInit(4), 5);
}

TEST(SimulatedHardware, NamesTheBoardAndItsGraphics) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(2917, clock));
    EXPECT_EQ(hardware.description(), "Simulated Tarvok Elm-E4 (KX-2917)");
    EXPECT_EQ(hardware.videoControllerName(), "NVIDIA GeForce GTX 260");
    EXPECT_EQ(hardware.videoDriverVersion(), "6.14.11.8250");
    EXPECT_EQ(SimulatedHardware(sim::test::testOptions(0, clock)).description(),
              "Simulated Hollis Computer Corp. G41M-HQ");

    for (const int code : {2900, 2919, -1, 1})
        EXPECT_THROW(createSimulatedHardware(sim::test::testOptions(code, clock)), std::invalid_argument)
            << code;
    EXPECT_TRUE(createSimulatedHardware(sim::test::testOptions(2914, clock)));
}

TEST(SimulatedHardware, BusLogAndRegisterDumpHelpDebugging) {
    sim::test::ManualClock clock;
    SimulatedHardware hardware(sim::test::testOptions(2911, clock));
    sim::test::loadLibraries(hardware);
    auto& log = hardware.board().log();
    log.clear();
    hardware.ostrel().Get_EFERs(hw::Ostrel::kSuperIoConfigPort, 6, 0xD1, 0x00, 0);
    hardware.hoblin().Smbus_JRW(0x61, 0x01, 0);
    ASSERT_EQ(log.writes().size(), 1U);
    EXPECT_EQ(describe(log.writes()[0]), "Super I/O 0x06 reg 0xD1 <- 0x00");
    EXPECT_EQ(describe(log.entries().back()), "SMBus (Hoblin) 0x61 reg 0x01 -> 0x80");
    EXPECT_EQ(log.total(), 2U);

    const auto dump = hardware.board().registerDump();
    EXPECT_NE(dump.find("Super I/O LDN 6 reg 0xD1 = 0x00  bit 7 CPU phase LED on"), std::string::npos)
        << dump;
    EXPECT_NE(dump.find("SMBus 0x5C/0x5D reg 0x11"), std::string::npos);
    EXPECT_NE(dump.find("physics:"), std::string::npos);
    EXPECT_EQ(log.total(), 2U) << "the dump is not a bus access";
}

TEST(TransactionLog, KeepsTheLatestEntries) {
    TransactionLog log;
    for (std::size_t i = 0; i < TransactionLog::kCapacity + 10; ++i)
        log.record({BusAccess::Port, Direction::Write, static_cast<std::uint16_t>(i), 0, 0, Outcome::Done});
    EXPECT_EQ(log.entries().size(), TransactionLog::kCapacity);
    EXPECT_EQ(log.total(), TransactionLog::kCapacity + 10);
    EXPECT_EQ(log.entries().front().unit, 10);
}

TEST(CpuLoad, ScriptsAndFixedLoads) {
    std::string error;
    const auto fixed = parseCpuLoad("35", error);
    ASSERT_TRUE(fixed) << error;
    EXPECT_DOUBLE_EQ(fixed->load(milliseconds(0)), 0.35);
    EXPECT_DOUBLE_EQ(fixed->load(milliseconds(999999)), 0.35);
    const auto script = parseCpuLoad("10,90,50@5", error);
    ASSERT_TRUE(script) << error;
    EXPECT_DOUBLE_EQ(script->load(milliseconds(0)), 0.10);
    EXPECT_DOUBLE_EQ(script->load(milliseconds(4999)), 0.10);
    EXPECT_DOUBLE_EQ(script->load(milliseconds(5000)), 0.90);
    EXPECT_DOUBLE_EQ(script->load(milliseconds(14999)), 0.50);
    EXPECT_DOUBLE_EQ(script->load(milliseconds(15000)), 0.10) << "round and round";
    EXPECT_TRUE(parseCpuLoad("host", error));
    for (const auto* bad : {"", "101", "-1", "ten", "10,,20", "10@", "10@0", "10@x"}) {
        EXPECT_FALSE(parseCpuLoad(bad, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

// The host's load is the share of time the processors were not idle between two samples of the
// kernel's idle time, on a machine of two processors.
TEST(CpuLoad, HostLoadFromTheKernelsIdleTime) {
    solvane::test::TempFolder folder;
    const auto uptime = folder / "uptime";
    std::chrono::nanoseconds sinceBoot = std::chrono::seconds(1000);
    const auto clock = [&sinceBoot] { return sinceBoot; };
    solvane::test::writeFile(uptime, "1000.00 1500.00\n");
    HostCpuLoad host(uptime, clock, 2);
    EXPECT_DOUBLE_EQ(host.load(milliseconds(0)), 0.25) << "since boot: 1500 idle of 2000 processor seconds";

    // Time passes and the kernel's figures with it.
    const auto later = [&](std::chrono::seconds passed, const char* text) {
        sinceBoot += passed;
        solvane::test::writeFile(uptime, text);
    };
    // Three seconds on: 4.5 of the 6 processor seconds idle.
    later(std::chrono::seconds(3), "1003.00 1504.50\n");
    EXPECT_NEAR(host.load(milliseconds(3000)), 0.25, 1e-9);
    later(std::chrono::seconds(1), "1004.00 1506.50\n");
    EXPECT_NEAR(host.load(milliseconds(3100)), 0.25, 1e-9) << "sampled at most four times a second";
    EXPECT_NEAR(host.load(milliseconds(3300)), 0.0, 1e-9) << "both processors idle the whole second";

    later(std::chrono::seconds(2), "1006.00 1506.90\n");
    EXPECT_NEAR(host.load(milliseconds(5000)), 0.9, 1e-9);
    later(std::chrono::seconds(1), "nonsense\n");
    EXPECT_NEAR(host.load(milliseconds(6000)), 0.9, 1e-9) << "an unreadable file keeps the last figure";
    later(std::chrono::seconds(1), "1008.00 1511.00\n");
    EXPECT_NEAR(host.load(milliseconds(7000)), 0.0, 1e-9) << "more idle than time passed (rounding): idle";

    HostCpuLoad missing(folder / "absent");
    EXPECT_DOUBLE_EQ(missing.load(milliseconds(0)), 0.0);
    HostCpuLoad real;
    const double load = real.load(milliseconds(0));
    EXPECT_GE(load, 0.0);
    EXPECT_LE(load, 1.0);
}

} // namespace
} // namespace solvane::sim
