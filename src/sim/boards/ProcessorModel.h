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

inline constexpr ProcessorModel kCoreI7_965{"Intel(R) Core(TM) i7 CPU         965  @ 3.20GHz",
                                            "LGA1366",
                                            CpuVendor::Intel,
                                            kFamilyCoreI7,
                                            0x000106A4,
                                            kIntelFeatures,
                                            133,
                                            3200,
                                            4,
                                            8,
                                            1250,
                                            1000,
                                            95.0,
                                            20.0,
                                            0.375,
                                            140.0};
inline constexpr ProcessorModel kCoreI7_940{"Intel(R) Core(TM) i7 CPU         940  @ 2.93GHz",
                                            "LGA1366",
                                            CpuVendor::Intel,
                                            kFamilyCoreI7,
                                            0x000106A4,
                                            kIntelFeatures,
                                            133,
                                            2933,
                                            4,
                                            8,
                                            1225,
                                            1000,
                                            88.0,
                                            18.0,
                                            0.41,
                                            135.0};
inline constexpr ProcessorModel kCoreI7_920{"Intel(R) Core(TM) i7 CPU         920  @ 2.67GHz",
                                            "LGA1366",
                                            CpuVendor::Intel,
                                            kFamilyCoreI7,
                                            0x000106A5,
                                            kIntelFeatures,
                                            133,
                                            2667,
                                            4,
                                            8,
                                            1200,
                                            975,
                                            82.0,
                                            17.0,
                                            0.45,
                                            135.0};
inline constexpr ProcessorModel kCoreI7_950{"Intel(R) Core(TM) i7 CPU         950  @ 3.07GHz",
                                            "LGA1366",
                                            CpuVendor::Intel,
                                            kFamilyCoreI7,
                                            0x000106A5,
                                            kIntelFeatures,
                                            133,
                                            3066,
                                            4,
                                            8,
                                            1225,
                                            975,
                                            90.0,
                                            18.0,
                                            0.39,
                                            135.0};
inline constexpr ProcessorModel kCore2QuadQ9550{"Intel(R) Core(TM)2 Quad  CPU   Q9550  @ 2.83GHz",
                                                "LGA775",
                                                CpuVendor::Intel,
                                                kFamilyCore2Quad,
                                                0x0001067A,
                                                kIntelFeatures,
                                                333,
                                                2833,
                                                4,
                                                4,
                                                1200,
                                                1000,
                                                62.0,
                                                12.0,
                                                0.7,
                                                100.0};
inline constexpr ProcessorModel kCore2DuoE8400{"Intel(R) Core(TM)2 Duo CPU     E8400  @ 3.00GHz",
                                               "LGA775",
                                               CpuVendor::Intel,
                                               kFamilyCore2Duo,
                                               0x00010676,
                                               kIntelFeatures,
                                               333,
                                               3000,
                                               2,
                                               2,
                                               1225,
                                               1000,
                                               48.0,
                                               8.0,
                                               0.67,
                                               80.0};
inline constexpr ProcessorModel kCore2DuoE7400{"Intel(R) Core(TM)2 Duo CPU     E7400  @ 2.80GHz",
                                               "LGA775",
                                               CpuVendor::Intel,
                                               kFamilyCore2Duo,
                                               0x0001067A,
                                               kIntelFeatures,
                                               266,
                                               2800,
                                               2,
                                               2,
                                               1200,
                                               1000,
                                               44.0,
                                               8.0,
                                               0.57,
                                               75.0};
inline constexpr ProcessorModel kPentiumE5200{"Pentium(R) Dual-Core  CPU      E5200  @ 2.50GHz",
                                              "LGA775",
                                              CpuVendor::Intel,
                                              kFamilyPentium,
                                              0x0001067A,
                                              kIntelFeatures,
                                              200,
                                              2500,
                                              2,
                                              2,
                                              1200,
                                              1000,
                                              40.0,
                                              7.0,
                                              0.48,
                                              75.0};
inline constexpr ProcessorModel kPentium4_630{"Intel(R) Pentium(R) 4 CPU 3.00GHz",
                                              "LGA775",
                                              CpuVendor::Intel,
                                              kFamilyPentium4,
                                              0x00000F43,
                                              kIntelFeatures,
                                              200,
                                              3000,
                                              1,
                                              2,
                                              1300,
                                              1250,
                                              58.0,
                                              22.0,
                                              0.93,
                                              90.0};
inline constexpr ProcessorModel kCore2DuoE6550{"Intel(R) Core(TM)2 Duo CPU     E6550  @ 2.33GHz",
                                               "LGA775",
                                               CpuVendor::Intel,
                                               kFamilyCore2Duo,
                                               0x000006FB,
                                               kIntelFeatures,
                                               333,
                                               2333,
                                               2,
                                               2,
                                               1250,
                                               1050,
                                               46.0,
                                               9.0,
                                               0.86,
                                               75.0};
inline constexpr ProcessorModel kPhenomII955{"AMD Phenom(tm) II X4 955 Processor",
                                             "AM3",
                                             CpuVendor::Amd,
                                             kFamilyPhenomII,
                                             0x00100F42,
                                             kAmdFeatures,
                                             200,
                                             3200,
                                             4,
                                             4,
                                             1250,
                                             1000,
                                             96.0,
                                             18.0,
                                             0.25,
                                             135.0};
inline constexpr ProcessorModel kPhenomII1055T{"AMD Phenom(tm) II X6 1055T Processor",
                                               "AM3",
                                               CpuVendor::Amd,
                                               kFamilyPhenomII,
                                               0x00100FA0,
                                               kAmdFeatures,
                                               200,
                                               2800,
                                               6,
                                               6,
                                               1225,
                                               1000,
                                               92.0,
                                               20.0,
                                               0.29,
                                               135.0};
inline constexpr ProcessorModel kAthlonII250{"AMD Athlon(tm) II X2 250 Processor",
                                             "AM3",
                                             CpuVendor::Amd,
                                             kFamilyAthlonII,
                                             0x00100F62,
                                             kAmdFeatures,
                                             200,
                                             3000,
                                             2,
                                             2,
                                             1200,
                                             1000,
                                             50.0,
                                             10.0,
                                             0.27,
                                             75.0};
inline constexpr ProcessorModel kAthlon64X2_5000{"AMD Athlon(tm) 64 X2 Dual Core Processor 5000+",
                                                 "AM2",
                                                 CpuVendor::Amd,
                                                 kFamilyAthlonX2,
                                                 0x00060FB2,
                                                 kAmdFeatures,
                                                 200,
                                                 2600,
                                                 2,
                                                 2,
                                                 1300,
                                                 1100,
                                                 52.0,
                                                 10.0,
                                                 0.38,
                                                 80.0};
inline constexpr ProcessorModel kPhenom9550{"AMD Phenom(tm) 9550 Quad-Core Processor",
                                            "AM2+",
                                            CpuVendor::Amd,
                                            kFamilyPhenom,
                                            0x00100F23,
                                            kAmdFeatures,
                                            200,
                                            2200,
                                            4,
                                            4,
                                            1250,
                                            1000,
                                            70.0,
                                            16.0,
                                            0.45,
                                            110.0};
inline constexpr ProcessorModel kPhenomII940{"AMD Phenom(tm) II X4 940 Processor",
                                             "AM2+",
                                             CpuVendor::Amd,
                                             kFamilyPhenomII,
                                             0x00100F42,
                                             kAmdFeatures,
                                             200,
                                             3000,
                                             4,
                                             4,
                                             1340,
                                             1050,
                                             92.0,
                                             18.0,
                                             0.27,
                                             135.0};
inline constexpr ProcessorModel kAthlonII620{"AMD Athlon(tm) II X4 620 Processor",
                                             "AM3",
                                             CpuVendor::Amd,
                                             kFamilyAthlonII,
                                             0x00100F52,
                                             kAmdFeatures,
                                             200,
                                             2600,
                                             4,
                                             4,
                                             1240,
                                             1000,
                                             68.0,
                                             14.0,
                                             0.31,
                                             100.0};
inline constexpr ProcessorModel kAthlon64X2_4400{"AMD Athlon(tm) 64 X2 Dual Core Processor 4400+",
                                                 "AM2",
                                                 CpuVendor::Amd,
                                                 kFamilyAthlonX2,
                                                 0x00040FB2,
                                                 kAmdFeatures,
                                                 200,
                                                 2300,
                                                 2,
                                                 2,
                                                 1300,
                                                 1100,
                                                 50.0,
                                                 10.0,
                                                 0.43,
                                                 80.0};

} // namespace solvane::sim
