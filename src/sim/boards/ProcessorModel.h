#pragma once

#include <cstdint>
#include <string_view>

namespace solvane::sim {

enum class CpuVendor : std::uint8_t { Intel, Amd };

// A processor a simulated board carries. Fields: version (the SMBIOS processor version string, with
// the blank runs real firmware puts there), socket, vendor, family (SMBIOS processor family code),
// signature (CPUID leaf 1 EAX) and features (CPUID leaf 1 EDX) for the SMBIOS processor ID,
// externalClockMhz, maxSpeedMhz, cores, threads; for the physical model: loadVidMillivolts and
// idleVidMillivolts (core voltage the CPU asks for at its highest and lowest clock), dynamicWatts (the
// switching power at full load, highest clock and load voltage), leakageWatts (at load voltage and
// 50 degrees), lowestClock (the lowest clock as a fraction of the highest), powerLimitWatts (where
// the CPU's own power limit starts to hold the clock back).
struct ProcessorModel {
    std::string_view version;
    std::string_view socket;
    CpuVendor vendor = CpuVendor::Intel;
    std::uint8_t family = 0;
    std::uint32_t signature = 0;
    std::uint32_t features = 0;
    int externalClockMhz = 0;
    int maxSpeedMhz = 0;
    int cores = 0;
    int threads = 0;
    int loadVidMillivolts = 0;
    int idleVidMillivolts = 0;
    double dynamicWatts = 0;
    double leakageWatts = 0;
    double lowestClock = 0.5;
    double powerLimitWatts = 0;
};

inline constexpr std::uint32_t kIntelFeatures = 0xBFEBFBFF;
inline constexpr std::uint32_t kAmdFeatures = 0x178BFBFF;

// SMBIOS processor family codes.
inline constexpr std::uint8_t kFamilyCoreI7 = 0xC6;
inline constexpr std::uint8_t kFamilyCore2Quad = 0xC2;
inline constexpr std::uint8_t kFamilyCore2Duo = 0xBF;
inline constexpr std::uint8_t kFamilyPentium = 0x0B;
inline constexpr std::uint8_t kFamilyPentium4 = 0xB2;
inline constexpr std::uint8_t kFamilyPhenomII = 0x8B;
inline constexpr std::uint8_t kFamilyPhenom = 0x8B;
inline constexpr std::uint8_t kFamilyAthlonX2 = 0x88;
inline constexpr std::uint8_t kFamilyAthlonII = 0x8D;

inline constexpr ProcessorModel kCoreI7_965{
    .version = "Intel(R) Core(TM) i7 CPU         965  @ 3.20GHz",
    .socket = "LGA1366",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCoreI7,
    .signature = 0x000106A4,
    .features = kIntelFeatures,
    .externalClockMhz = 133,
    .maxSpeedMhz = 3200,
    .cores = 4,
    .threads = 8,
    .loadVidMillivolts = 1250,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 95.0,
    .leakageWatts = 20.0,
    .lowestClock = 0.375,
    .powerLimitWatts = 140.0,
};
inline constexpr ProcessorModel kCoreI7_940{
    .version = "Intel(R) Core(TM) i7 CPU         940  @ 2.93GHz",
    .socket = "LGA1366",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCoreI7,
    .signature = 0x000106A4,
    .features = kIntelFeatures,
    .externalClockMhz = 133,
    .maxSpeedMhz = 2933,
    .cores = 4,
    .threads = 8,
    .loadVidMillivolts = 1225,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 88.0,
    .leakageWatts = 18.0,
    .lowestClock = 0.41,
    .powerLimitWatts = 135.0,
};
inline constexpr ProcessorModel kCoreI7_920{
    .version = "Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz",
    .socket = "LGA1366",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCoreI7,
    .signature = 0x000106A5,
    .features = kIntelFeatures,
    .externalClockMhz = 133,
    .maxSpeedMhz = 2667,
    .cores = 4,
    .threads = 8,
    .loadVidMillivolts = 1200,
    .idleVidMillivolts = 975,
    .dynamicWatts = 82.0,
    .leakageWatts = 17.0,
    .lowestClock = 0.45,
    .powerLimitWatts = 135.0,
};
inline constexpr ProcessorModel kCoreI7_950{
    .version = "Intel(R) Core(TM) i7 CPU         950  @ 3.07GHz",
    .socket = "LGA1366",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCoreI7,
    .signature = 0x000106A5,
    .features = kIntelFeatures,
    .externalClockMhz = 133,
    .maxSpeedMhz = 3066,
    .cores = 4,
    .threads = 8,
    .loadVidMillivolts = 1225,
    .idleVidMillivolts = 975,
    .dynamicWatts = 90.0,
    .leakageWatts = 18.0,
    .lowestClock = 0.39,
    .powerLimitWatts = 135.0,
};
inline constexpr ProcessorModel kCore2QuadQ9550{
    .version = "Intel(R) Core(TM)2 Quad  CPU   Q9550  @ 2.83GHz",
    .socket = "LGA775",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCore2Quad,
    .signature = 0x0001067A,
    .features = kIntelFeatures,
    .externalClockMhz = 333,
    .maxSpeedMhz = 2833,
    .cores = 4,
    .threads = 4,
    .loadVidMillivolts = 1200,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 62.0,
    .leakageWatts = 12.0,
    .lowestClock = 0.7,
    .powerLimitWatts = 100.0,
};
inline constexpr ProcessorModel kCore2DuoE8400{
    .version = "Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz",
    .socket = "LGA775",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCore2Duo,
    .signature = 0x00010676,
    .features = kIntelFeatures,
    .externalClockMhz = 333,
    .maxSpeedMhz = 3000,
    .cores = 2,
    .threads = 2,
    .loadVidMillivolts = 1225,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 48.0,
    .leakageWatts = 8.0,
    .lowestClock = 0.67,
    .powerLimitWatts = 80.0,
};
inline constexpr ProcessorModel kCore2DuoE7400{
    .version = "Intel(R) Core(TM)2 Duo CPU     E7400  @ 2.80GHz",
    .socket = "LGA775",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCore2Duo,
    .signature = 0x0001067A,
    .features = kIntelFeatures,
    .externalClockMhz = 266,
    .maxSpeedMhz = 2800,
    .cores = 2,
    .threads = 2,
    .loadVidMillivolts = 1200,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 44.0,
    .leakageWatts = 8.0,
    .lowestClock = 0.57,
    .powerLimitWatts = 75.0,
};
inline constexpr ProcessorModel kPentiumE5200{
    .version = "Pentium(R) Dual-Core  CPU      E5200  @ 2.50GHz",
    .socket = "LGA775",
    .vendor = CpuVendor::Intel,
    .family = kFamilyPentium,
    .signature = 0x0001067A,
    .features = kIntelFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 2500,
    .cores = 2,
    .threads = 2,
    .loadVidMillivolts = 1200,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 40.0,
    .leakageWatts = 7.0,
    .lowestClock = 0.48,
    .powerLimitWatts = 75.0,
};
inline constexpr ProcessorModel kPentium4_630{
    .version = "Intel(R) Pentium(R) 4 CPU 3.00GHz",
    .socket = "LGA775",
    .vendor = CpuVendor::Intel,
    .family = kFamilyPentium4,
    .signature = 0x00000F43,
    .features = kIntelFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 3000,
    .cores = 1,
    .threads = 2,
    .loadVidMillivolts = 1300,
    .idleVidMillivolts = 1250,
    .dynamicWatts = 58.0,
    .leakageWatts = 22.0,
    .lowestClock = 0.93,
    .powerLimitWatts = 90.0,
};
inline constexpr ProcessorModel kCore2DuoE6550{
    .version = "Intel(R) Core(TM)2 Duo CPU     E6550  @ 2.33GHz",
    .socket = "LGA775",
    .vendor = CpuVendor::Intel,
    .family = kFamilyCore2Duo,
    .signature = 0x000006FB,
    .features = kIntelFeatures,
    .externalClockMhz = 333,
    .maxSpeedMhz = 2333,
    .cores = 2,
    .threads = 2,
    .loadVidMillivolts = 1250,
    .idleVidMillivolts = 1050,
    .dynamicWatts = 46.0,
    .leakageWatts = 9.0,
    .lowestClock = 0.86,
    .powerLimitWatts = 75.0,
};
inline constexpr ProcessorModel kPhenomII955{
    .version = "AMD Phenom(tm) II X4 955 Processor",
    .socket = "AM3",
    .vendor = CpuVendor::Amd,
    .family = kFamilyPhenomII,
    .signature = 0x00100F42,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 3200,
    .cores = 4,
    .threads = 4,
    .loadVidMillivolts = 1250,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 96.0,
    .leakageWatts = 18.0,
    .lowestClock = 0.25,
    .powerLimitWatts = 135.0,
};
inline constexpr ProcessorModel kPhenomII1055T{
    .version = "AMD Phenom(tm) II X6 1055T Processor",
    .socket = "AM3",
    .vendor = CpuVendor::Amd,
    .family = kFamilyPhenomII,
    .signature = 0x00100FA0,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 2800,
    .cores = 6,
    .threads = 6,
    .loadVidMillivolts = 1225,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 92.0,
    .leakageWatts = 20.0,
    .lowestClock = 0.29,
    .powerLimitWatts = 135.0,
};
inline constexpr ProcessorModel kAthlonII250{
    .version = "AMD Athlon(tm) II X2 250 Processor",
    .socket = "AM3",
    .vendor = CpuVendor::Amd,
    .family = kFamilyAthlonII,
    .signature = 0x00100F62,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 3000,
    .cores = 2,
    .threads = 2,
    .loadVidMillivolts = 1200,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 50.0,
    .leakageWatts = 10.0,
    .lowestClock = 0.27,
    .powerLimitWatts = 75.0,
};
inline constexpr ProcessorModel kAthlon64X2_5000{
    .version = "AMD Athlon(tm) 64 X2 Dual Core Processor 5000+",
    .socket = "AM2",
    .vendor = CpuVendor::Amd,
    .family = kFamilyAthlonX2,
    .signature = 0x00060FB2,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 2600,
    .cores = 2,
    .threads = 2,
    .loadVidMillivolts = 1300,
    .idleVidMillivolts = 1100,
    .dynamicWatts = 52.0,
    .leakageWatts = 10.0,
    .lowestClock = 0.38,
    .powerLimitWatts = 80.0,
};
inline constexpr ProcessorModel kPhenom9550{
    .version = "AMD Phenom(tm) 9550 Quad-Core Processor",
    .socket = "AM2+",
    .vendor = CpuVendor::Amd,
    .family = kFamilyPhenom,
    .signature = 0x00100F23,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 2200,
    .cores = 4,
    .threads = 4,
    .loadVidMillivolts = 1250,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 70.0,
    .leakageWatts = 16.0,
    .lowestClock = 0.45,
    .powerLimitWatts = 110.0,
};
inline constexpr ProcessorModel kPhenomII940{
    .version = "AMD Phenom(tm) II X4 940 Processor",
    .socket = "AM2+",
    .vendor = CpuVendor::Amd,
    .family = kFamilyPhenomII,
    .signature = 0x00100F42,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 3000,
    .cores = 4,
    .threads = 4,
    .loadVidMillivolts = 1340,
    .idleVidMillivolts = 1050,
    .dynamicWatts = 92.0,
    .leakageWatts = 18.0,
    .lowestClock = 0.27,
    .powerLimitWatts = 135.0,
};
inline constexpr ProcessorModel kAthlonII620{
    .version = "AMD Athlon(tm) II X4 620 Processor",
    .socket = "AM3",
    .vendor = CpuVendor::Amd,
    .family = kFamilyAthlonII,
    .signature = 0x00100F52,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 2600,
    .cores = 4,
    .threads = 4,
    .loadVidMillivolts = 1240,
    .idleVidMillivolts = 1000,
    .dynamicWatts = 68.0,
    .leakageWatts = 14.0,
    .lowestClock = 0.31,
    .powerLimitWatts = 100.0,
};
inline constexpr ProcessorModel kAthlon64X2_4400{
    .version = "AMD Athlon(tm) 64 X2 Dual Core Processor 4400+",
    .socket = "AM2",
    .vendor = CpuVendor::Amd,
    .family = kFamilyAthlonX2,
    .signature = 0x00040FB2,
    .features = kAmdFeatures,
    .externalClockMhz = 200,
    .maxSpeedMhz = 2300,
    .cores = 2,
    .threads = 2,
    .loadVidMillivolts = 1300,
    .idleVidMillivolts = 1100,
    .dynamicWatts = 50.0,
    .leakageWatts = 10.0,
    .lowestClock = 0.43,
    .powerLimitWatts = 80.0,
};

} // namespace solvane::sim
