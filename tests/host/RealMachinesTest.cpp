// The "This PC" read-outs picked on trees built from real machines' sensors read-outs and sysfs
// samples (tests/data/host/real-*, made by make_fixtures.py from realdata/).
#include "HostFixture.h"
#include "host/HostMachineMeter.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::host {
namespace {

using hw::MissingReason;
using hw::PowerSupplyState;

// A picked reading: its value and the sensor's label, or none.
struct Pick {
    std::optional<double> value;
    std::string label;
};
const Pick kNone{};

struct RealMachine {
    const char* tree;
    Pick cpuTemperature;
    Pick boardTemperature;
    Pick fan;
    Pick coreVoltage;
    std::optional<double> graphicsWatts;
    std::size_t labelledVoltages;
    PowerSupplyState supply;
    std::optional<double> batteryWatts;
    MissingReason packageReason; // the counters of a fixture tree do not advance
    std::vector<std::string> domains;
};

const RealMachine kMachines[] = {
    // Super I/O without a configuration: no Vcore label; CPUTIN reads -63 °C (nothing connected),
    // so the CPU is PECI's reading; the second chip's fans and the first's.
    {"real-z390-desktop",
     {31.0, "PECI Agent 0"},
     {34.0, "SYSTIN"},
     {458, "fan1"},
     kNone,
     std::nullopt,
     0,
     PowerSupplyState::Unknown,
     std::nullopt,
     MissingReason::NoCounter,
     {"core"}},
    // The same machine with the sensors configuration's labels: the CPU fan is preferred.
    {"real-z390-configured",
     {31.5, "CPU"},
     {34.0, "Motherboard"},
     {522, "CPU fan1"},
     {1.30, "Vcore"},
     std::nullopt,
     12,
     PowerSupplyState::Unknown,
     std::nullopt,
     MissingReason::NoCounter,
     {"core"}},
    // SYSTIN reads 120 °C: an unconnected input, not the board. Only the DRAM zone is in the sample.
    {"real-nct6798-desktop",
     {37.0, "Package id 0"},
     kNone,
     {1278, "fan1"},
     kNone,
     std::nullopt,
     0,
     PowerSupplyState::Unknown,
     std::nullopt,
     MissingReason::NoCounter,
     {"dram"}},
    // Both fans stand; the ThinkPad's own "CPU" reading loses to the package sensor.
    {"real-x1-carbon-laptop",
     {29.0, "Package id 0"},
     {26.0, "temp1"},
     kNone,
     kNone,
     std::nullopt,
     0,
     PowerSupplyState::Battery,
     4.83,
     MissingReason::NoCounter,
     {}},
    // Tdie rather than Tctl; the APU's graphics reads 0 W; a charging battery supplies nothing.
    {"real-t14s-laptop",
     {37.6, "Tdie"},
     kNone,
     kNone,
     kNone,
     0.0,
     2,
     PowerSupplyState::Mains,
     std::nullopt,
     MissingReason::NoCounter,
     {}},
    {"real-x570-desktop",
     {41.8, "Tdie"},
     {16.8, "temp1"},
     kNone,
     kNone,
     std::nullopt,
     0,
     PowerSupplyState::Unknown,
     std::nullopt,
     MissingReason::NoCounter,
     {}},
    // Tctl carries a 10 °C offset on this processor; the graphics card's average power.
    {"real-x470-amdgpu",
     {66.875, "Tdie"},
     kNone,
     {678, "fan1"},
     kNone,
     20.0,
     1,
     PowerSupplyState::Unknown,
     std::nullopt,
     MissingReason::NoCounter,
     {}},
    // Two packages: the hotter one; the board chip's SYSTIN reads 101 °C (unconnected).
    {"real-xeon-workstation",
     {32.0, "Package id 1"},
     kNone,
     {715, "fan1"},
     kNone,
     5.0,
     1,
     PowerSupplyState::Unknown,
     std::nullopt,
     MissingReason::NoCounter,
     {}},
    // A battery that tells current and voltage only: 1.472 A × 12.366 V.
    {"real-rpi4",
     {60.4, "temp1"},
     kNone,
     kNone,
     kNone,
     std::nullopt,
     0,
     PowerSupplyState::Battery,
     18.202752,
     MissingReason::NoCounter,
     {}},
};

void expectPick(const hw::MachineReading& reading, const Pick& expected, const std::string& what) {
    ASSERT_EQ(reading.value.has_value(), expected.value.has_value())
        << what << ": " << reading.source << reading.missing;
    if (!expected.value) {
        EXPECT_EQ(reading.reason, MissingReason::NoSensor) << what;
        EXPECT_FALSE(reading.missing.empty()) << what;
        return;
    }
    EXPECT_NEAR(*reading.value, *expected.value, 1e-9) << what;
    EXPECT_EQ(reading.label, expected.label) << what;
    EXPECT_NE(reading.source.find(expected.label), std::string::npos)
        << what << ": the source names the sensor";
}

TEST(RealMachines, ThePagePicksEachReadOutFromTheSensorsTheMachineHas) {
    for (const auto& machine : kMachines) {
        SCOPED_TRACE(machine.tree);
        const auto root = test::fixtureFolder() / machine.tree;
        double seconds = 100.0;
        HostMachineMeter meter(root, std::make_shared<HwmonSource>(root), [&seconds] { return seconds; });
        seconds += 3.0;
        const auto readings = meter.read();
        expectPick(readings.cpuTemperature, machine.cpuTemperature, "CPU temperature");
        expectPick(readings.boardTemperature, machine.boardTemperature, "board temperature");
        expectPick(readings.coreVoltage, machine.coreVoltage, "core voltage");
        if (machine.fan.value) {
            ASSERT_FALSE(readings.fans.empty());
            expectPick(readings.fans.front(), machine.fan, "fan");
        } else {
            EXPECT_TRUE(readings.fans.empty());
        }
        ASSERT_EQ(readings.graphics.value.has_value(), machine.graphicsWatts.has_value())
            << readings.graphics.missing;
        if (machine.graphicsWatts) {
            EXPECT_NEAR(*readings.graphics.value, *machine.graphicsWatts, 1e-9);
        }
        EXPECT_EQ(readings.voltages.size(), machine.labelledVoltages);
        EXPECT_EQ(readings.supply, machine.supply);
        ASSERT_EQ(readings.battery.value.has_value(), machine.batteryWatts.has_value())
            << readings.battery.missing;
        if (machine.batteryWatts) {
            EXPECT_NEAR(*readings.battery.value, *machine.batteryWatts, 1e-9);
        }
        EXPECT_EQ(readings.package.reason, machine.packageReason) << readings.package.missing;
        std::vector<std::string> domains;
        for (const auto& domain : readings.domains)
            domains.push_back(domain.label);
        EXPECT_EQ(domains, machine.domains);
    }
}

TEST(RealMachines, ThePackagePowerOfARealCounterNearTheEndOfItsRange) {
    // The desktop's counter: 45 J over 3 s; later 30 J in a second across the counter's wrap.
    solvane::test::TempFolder tree;
    std::filesystem::copy(test::fixtureFolder() / "real-z390-desktop", tree.path(),
                          std::filesystem::copy_options::recursive |
                              std::filesystem::copy_options::copy_symlinks);
    const auto counter = tree.path() / "class" / "powercap" / "intel-rapl:0" / "energy_uj";
    double seconds = 0.0;
    HostMachineMeter meter(tree.path(), std::make_shared<HwmonSource>(tree.path()),
                           [&seconds] { return seconds; });
    solvane::test::writeFile(counter, "240467366267\n");
    seconds = 3.0;
    const auto readings = meter.read();
    ASSERT_TRUE(readings.package.value.has_value()) << readings.package.missing;
    EXPECT_NEAR(*readings.package.value, 15.0, 1e-9);
    EXPECT_EQ(readings.package.source, "powercap intel-rapl:0 (package-0)");
    solvane::test::writeFile(counter, std::to_string(262143328850 - 10'000'000) + "\n");
    seconds = 1000.0;
    meter.read();
    solvane::test::writeFile(counter, "20000000\n");
    seconds = 1001.0;
    const auto wrapped = meter.read();
    ASSERT_TRUE(wrapped.package.value.has_value()) << wrapped.package.missing;
    EXPECT_NEAR(*wrapped.package.value, 30.0, 1e-9);
}

} // namespace
} // namespace solvane::host
