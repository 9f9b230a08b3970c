#include "sysinfo/ByteCodeTable.h"
#include "sysinfo/Ddr4SpdLayout.h"
#include "sysinfo/SpdFields.h"
#include "sysinfo/SpdModuleDecoders.h"

#include <array>
#include <cmath>

namespace solvane::sysinfo {

namespace {

using namespace ddr4_spd;

// Byte 3, bits 3..0.
constexpr std::array<std::string_view, 10> kModuleFormRows{
    "0x01;RDIMM;",      "0x02;UDIMM;",        "0x03;SO-DIMM;",      "0x04;LRDIMM;",      "0x05;Mini-RDIMM;",
    "0x06;Mini-UDIMM;", "0x08;72b-SO-RDIMM;", "0x09;72b-SO-UDIMM;", "0x0C;16b-SO-DIMM;", "0x0D;32b-SO-DIMM;",
};

// Byte 4, bits 3..0: megabits of one die.
constexpr std::array<int, 10> kDieMegabits{256, 512, 1024, 2048, 4096, 8192, 16384, 32768, 12288, 24576};

// Standard speed grades, fastest first (tCKAVGmin as the SPD stores it).
constexpr std::array<spd_fields::StandardSpeed, 7> kStandardSpeeds{{
    {625, 3200},
    {682, 2933},
    {750, 2666},
    {833, 2400},
    {938, 2133},
    {1071, 1866},
    {1250, 1600},
}};

constexpr std::size_t kBaseSectionEnd = 128;
constexpr std::size_t kModuleSectionEnd = 256;
constexpr std::size_t kManufacturingSectionEnd = 384;
constexpr std::uint8_t kThreeDimensionalStack = 2; // byte 6 signal loading
constexpr std::uint8_t kHighCasRange = 0x80;       // byte 23 bit 7
constexpr int kLowCasBase = 7;
constexpr int kHighCasBase = 23;
constexpr int kCasBits = 30;
// Clocks are rounded up after taking 2.5 % of a clock off, so a time a hair above a whole number of
// clocks (the fine correction's rounding) does not cost a clock.
constexpr double kClockGuardBand = 0.025;

int picoseconds(std::span<const std::uint8_t> spd, std::size_t medium, std::size_t fine) {
    return static_cast<int>(spd[medium]) * static_cast<int>(kMtbPicoseconds) +
           static_cast<int>(static_cast<std::int8_t>(spd[fine]));
}

int clocks(int time, int period) {
    return static_cast<int>(std::ceil(static_cast<double>(time) / period - kClockGuardBand));
}

std::vector<int> casLatencies(std::span<const std::uint8_t> spd) {
    std::uint32_t mask = 0;
    for (int byte = 3; byte >= 0; --byte)
        mask = mask << 8 | std::uint32_t{spd[kCasLatencies + static_cast<std::size_t>(byte)]};
    const int base = (spd[kCasLatencies + 3] & kHighCasRange) != 0 ? kHighCasBase : kLowCasBase;
    std::vector<int> latencies;
    for (int bit = 0; bit < kCasBits; ++bit)
        if ((mask >> bit & 1U) != 0)
            latencies.push_back(base + bit);
    return latencies;
}

void decodeBase(std::span<const std::uint8_t> spd, SpdModuleDetails& module) {
    module.form = std::string(findRowText(kModuleFormRows, spd[kModuleType] & 0x0F).value_or(""));
    const bool stacked = (spd[kPackage] & 0x80) != 0;
    module.dieCount = stacked ? ((spd[kPackage] >> 4) & 0x07) + 1 : 1;
    module.ranks = ((spd[kOrganisation] >> 3) & 0x07) + 1;
    module.deviceWidthBits = 4 << (spd[kOrganisation] & 0x07);
    module.busWidthBits = 8 << (spd[kBusWidth] & 0x07);
    module.eccBits = ((spd[kBusWidth] >> 3) & 0x03) == 1 ? 8 : 0;
    const std::size_t density = spd[kDensity] & 0x0F;
    if (density < kDieMegabits.size() && module.deviceWidthBits <= 32 && module.busWidthBits <= 64) {
        // Each rank of a 3DS package is as many logical ranks as the stack has dies.
        const int logicalRanks =
            (spd[kPackage] & 0x03) == kThreeDimensionalStack ? module.ranks * module.dieCount : module.ranks;
        module.sizeMegabytes = static_cast<std::uint64_t>(kDieMegabits[density]) / 8 *
                               static_cast<std::uint64_t>(module.busWidthBits / module.deviceWidthBits) *
                               static_cast<std::uint64_t>(logicalRanks);
    }
    module.voltage = (spd[kVoltage] & 0x01) != 0 ? "1.2 V" : "";
    module.casLatencies = casLatencies(spd);
    module.times.tCK = picoseconds(spd, kTckMin, kTckMinFine);
    module.times.tAA = picoseconds(spd, kTaaMin, kTaaFine);
    module.times.tRCD = picoseconds(spd, kTrcdMin, kTrcdFine);
    module.times.tRP = picoseconds(spd, kTrpMin, kTrpFine);
    module.times.tRAS =
        ((spd[kTrasTrcUpper] & 0x0F) << 8 | spd[kTrasMinLow]) * static_cast<int>(kMtbPicoseconds);
    module.times.tRC =
        ((spd[kTrasTrcUpper] >> 4) << 8 | spd[kTrcMinLow]) * static_cast<int>(kMtbPicoseconds) +
        static_cast<int>(static_cast<std::int8_t>(spd[kTrcFine]));
    module.speeds = spd_fields::speedsOf(module.times, picoseconds(spd, kTckMax, kTckMaxFine),
                                         kStandardSpeeds, module.casLatencies, clocks);
    module.crcs.push_back(spd_fields::crcCheck(spd, 0, kBaseCrc - 1, kBaseCrc));
}

constexpr spd_fields::ManufacturingLayout kManufacturing{
    kManufacturerBank, kManufacturerCode, kYear, kWeek, kSerial, kPartNumber, kPartNumberBytes,
};

} // namespace

SpdModuleDetails decodeDdr4Module(std::span<const std::uint8_t> spd) {
    SpdModuleDetails module;
    module.generation = "DDR4";
    if (spd.size() < kImageBytes)
        module.note = shortImageNote(module.generation, spd.size(), kImageBytes);
    if (spd.size() >= kBaseSectionEnd)
        decodeBase(spd, module);
    if (spd.size() >= kModuleSectionEnd)
        module.crcs.push_back(spd_fields::crcCheck(spd, kBaseSectionEnd, kModuleCrc - 1, kModuleCrc));
    if (spd.size() >= kManufacturingSectionEnd)
        spd_fields::decodeManufacturing(spd, kManufacturing, module);
    return module;
}

std::string shortImageNote(std::string_view generation, std::size_t held, std::size_t full) {
    return "incomplete SPD: " + std::to_string(held) + " of the " + std::to_string(full) + " bytes of a " +
           std::string(generation) + " module";
}

} // namespace solvane::sysinfo
