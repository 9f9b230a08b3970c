#include "host/PowercapMeter.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::host {
namespace {

using test::writeFile;

TEST(EnergyAdvanced, CountsOneWrapOfTheCounterAndRefusesReadingsBeyondItsRange) {
    struct Case {
        std::uint64_t before;
        std::uint64_t now;
        std::optional<std::uint64_t> range;
        std::optional<std::uint64_t> advanced;
    };
    const Case cases[] = {
        {1000, 4000, 262143328850, 3000},
        {1000, 1000, 262143328850, 0},
        // Near the end of the range the counter starts again from 0.
        {262143328000, 150, 262143328850, 1000},
        {262143328850, 0, 262143328850, 0},
        {5000, 10, std::nullopt, std::nullopt}, // no range: a smaller reading cannot be placed
        {9000, 10, 8000, std::nullopt},         // a reading beyond the range is not this counter's
    };
    for (const auto& c : cases)
        EXPECT_EQ(energyAdvanced(c.before, c.now, c.range), c.advanced) << c.before << " -> " << c.now;
}

// A powercap tree of two packages, each with a core and a DRAM domain, the counters written by hand.
class PowercapTree : public ::testing::Test {
protected:
    void zone(const std::string& id, const std::string& name, std::uint64_t energy,
              std::uint64_t range = 262143328850) {
        const auto folder = m_tree.path() / "class" / "powercap" / id;
        std::filesystem::create_directories(folder);
        writeFile(folder / "name", name + "\n");
        writeFile(folder / "max_energy_range_uj", std::to_string(range) + "\n");
        energyOf(id, energy);
    }
    void energyOf(const std::string& id, std::uint64_t energy) {
        writeFile(m_tree.path() / "class" / "powercap" / id / "energy_uj", std::to_string(energy) + "\n");
    }
    test::TempFolder m_tree;
};

TEST_F(PowercapTree, PowersAreTheEnergyOverTheIntervalSummedOverPackages) {
    zone("intel-rapl:0", "package-0", 1'000'000);
    zone("intel-rapl:0:0", "core", 500'000);
    zone("intel-rapl:0:2", "dram", 100'000);
    zone("intel-rapl:1", "package-1", 2'000'000);
    zone("intel-rapl:1:0", "core", 700'000);
    zone("intel-rapl-mmio:0", "package-0", 0); // the same package through MMIO: not counted twice
    PowercapMeter meter(m_tree.path());

    const auto first = meter.read(100.0);
    EXPECT_FALSE(first.package.value.has_value());
    EXPECT_EQ(first.package.reason, hw::MissingReason::Measuring);

    energyOf("intel-rapl:0", 31'000'000);   // 30 J in 2 s
    energyOf("intel-rapl:1", 22'000'000);   // 20 J
    energyOf("intel-rapl:0:0", 10'500'000); // 10 J
    energyOf("intel-rapl:1:0", 6'700'000);  // 6 J
    energyOf("intel-rapl:0:2", 4'100'000);  // 4 J
    const auto powers = meter.read(102.0);
    ASSERT_TRUE(powers.package.value.has_value()) << powers.package.missing;
    EXPECT_DOUBLE_EQ(*powers.package.value, 25.0);
    EXPECT_EQ(powers.package.source, "powercap intel-rapl:0 (package-0) + powercap intel-rapl:1 (package-1)");
    ASSERT_EQ(powers.domains.size(), 2U) << "core and DRAM; this machine has no uncore counter";
    EXPECT_EQ(powers.domains[0].label, "core");
    EXPECT_DOUBLE_EQ(*powers.domains[0].value, 8.0);
    EXPECT_EQ(powers.domains[1].label, "dram");
    EXPECT_DOUBLE_EQ(*powers.domains[1].value, 2.0);
}

TEST_F(PowercapTree, AWrappedCounterGivesThePowerOfTheWholeInterval) {
    zone("intel-rapl:0", "package-0", 262'143'000'000, 262'143'328'850);
    PowercapMeter meter(m_tree.path());
    meter.read(10.0);
    energyOf("intel-rapl:0", 29'671'150); // 328 850 µJ to the end of the range, then 29.67 J more
    const auto powers = meter.read(13.0);
    ASSERT_TRUE(powers.package.value.has_value()) << powers.package.missing;
    EXPECT_NEAR(*powers.package.value, 10.0, 1e-9);
}

TEST_F(PowercapTree, WhatCannotBeMeasuredSaysWhy) {
    PowercapMeter none(m_tree.path());
    const auto nothing = none.read(1.0);
    EXPECT_EQ(nothing.package.reason, hw::MissingReason::NoCounter);
    EXPECT_TRUE(nothing.package.missing.starts_with("no CPU power counter on this machine"))
        << nothing.package.missing;

    zone("intel-rapl:0", "package-0", 5000);
    zone("intel-rapl:0:1", "uncore", 300);
    PowercapMeter meter(m_tree.path());
    meter.read(1.0);
    energyOf("intel-rapl:0", 3'005'000);
    // The uncore counter stands still (some processors have the zone but do not count in it).
    const auto standing = meter.read(4.0);
    ASSERT_TRUE(standing.package.value.has_value()) << standing.package.missing;
    EXPECT_DOUBLE_EQ(*standing.package.value, 1.0);
    ASSERT_EQ(standing.domains.size(), 1U);
    EXPECT_EQ(standing.domains[0].reason, hw::MissingReason::NoCounter);

    std::filesystem::remove(m_tree.path() / "class" / "powercap" / "intel-rapl:0" / "energy_uj");
    const auto gone = meter.read(7.0);
    EXPECT_EQ(gone.package.reason, hw::MissingReason::NoCounter);
    EXPECT_NE(gone.package.missing.find("energy_uj"), std::string::npos) << "names the file";

    // A counter the kernel refuses: a directory stands in for the unreadable file here, since the
    // tests may run as root, for whom no permission bit refuses a read.
    std::filesystem::create_directory(m_tree.path() / "class" / "powercap" / "intel-rapl:0" / "energy_uj");
    EXPECT_EQ(meter.read(10.0).package.reason, hw::MissingReason::Unreadable);
}

} // namespace
} // namespace solvane::host
