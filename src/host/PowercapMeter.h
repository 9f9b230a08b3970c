#pragma once

#include "hw/MachineMeter.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace solvane::host {

// Microjoules a powercap energy counter advanced from `before` to `now`. The counter runs from 0
// to `range` (max_energy_range_uj) and starts again from 0, so a smaller `now` is one wrap; empty
// when the readings cannot belong to such a counter (no range known, or a reading beyond it).
std::optional<std::uint64_t> energyAdvanced(std::uint64_t before, std::uint64_t now,
                                            std::optional<std::uint64_t> range);

// The CPU's power from the powercap energy counters under <sysfs>/class/powercap: the RAPL zones
// "intel-rapl:N" (packages, also AMD's) and "intel-rapl:N:M" (their core, uncore and DRAM
// domains). Each read gives the average power since the previous read. The counters are readable
// by root only on current kernels; a zone that cannot be read says why.
class PowercapMeter {
public:
    struct Powers {
        hw::MachineReading package;              // all packages summed
        std::vector<hw::MachineReading> domains; // "core", "uncore", "dram", each summed over packages
    };

    explicit PowercapMeter(const std::filesystem::path& sysfsRoot);

    // `seconds` is a monotonic time; the first read after construction measures from there.
    Powers read(double seconds);

private:
    struct Zone {
        std::string id;   // "intel-rapl:0", "intel-rapl:0:1"
        std::string name; // "package-0", "core", "uncore", "dram", "psys"
        std::filesystem::path folder;
        std::optional<std::uint64_t> range{};
        std::optional<std::uint64_t> lastEnergy{};
        double lastSeconds = 0;
    };
    // A zone's power since its previous reading, or why there is none.
    hw::MachineReading zonePower(Zone& zone, double seconds);

    std::filesystem::path m_powercap;
    std::vector<Zone> m_zones;
};

} // namespace solvane::host
