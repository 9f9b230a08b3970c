#include "sysinfo/ByteCodeTable.h"
#include "sysinfo/Ddr5SpdLayout.h"
#include "sysinfo/SpdFields.h"
#include "sysinfo/SpdModuleDecoders.h"

#include <array>

namespace solvane::sysinfo {

namespace {

using namespace ddr5_spd;

// Byte 3, bits 3..0.
constexpr std::array<std::string_view, 10> kModuleFormRows{
    "0x01;RDIMM;",   "0x02;UDIMM;",  "0x03;SO-DIMM;", "0x04;LRDIMM;", "0x05;CUDIMM;",
    "0x06;CSODIMM;", "0x07;MRDIMM;", "0x08;CAMM2;",   "0x0A;DDIMM;",  "0x0B;Solder down;",
};

// Byte 4, bits 4..0: gigabits of one die (0 where the code is reserved).
constexpr std::array<int, 9> kDieGigabits{0, 4, 8, 12, 16, 24, 32, 48, 64};
// Byte 4, bits 7..5: dies in one package (0 where the code is reserved).
constexpr std::array<int, 8> kDiesPerPackage{1, 0, 2, 4, 8, 16, 0, 0};
// Byte 235, bits 4..3: ECC bits of one sub-channel.
constexpr std::array<int, 4> kEccBits{0, 4, 8, 0};

// Standard speed grades, fastest first (tCKAVGmin as the SPD stores it).
constexpr std::array<spd_fields::StandardSpeed, 15> kStandardSpeeds{{
    {238, 8400},
    {250, 8000},
    {263, 7600},
    {277, 7200},
    {294, 6800},
    {312, 6400},
    {333, 6000},
    {357, 5600},
    {384, 5200},
    {416, 4800},
    {454, 4400},
    {500, 4000},
    {555, 3600},
    {625, 3200},
    {714, 2800},
}};

// The fields decoded lie in the first 256 bytes (what one SMBus page reaches); the CRC covers the
// first 510.
constexpr std::size_t kFieldsEnd = 256;
constexpr std::size_t kCrcEnd = 512;
constexpr std::size_t kManufacturingSectionEnd = 640;
constexpr int kCasBase = 20;
constexpr int kCasBits = 40;

int word(std::span<const std::uint8_t> spd, std::size_t offset) {
    return spd[offset] | spd[offset + 1] << 8;
}

// Clocks with 0.3 % of a clock taken off before rounding up, in whole picoseconds as the SPD's own
// rounding rule does it.
int clocks(int time, int period) {
    return (time * 997 / period + 1000) / 1000;
}

std::vector<int> casLatencies(std::span<const std::uint8_t> spd) {
    std::vector<int> latencies;
    for (int bit = 0; bit < kCasBits; ++bit)
        if ((spd[kCasLatencies + static_cast<std::size_t>(bit / 8)] >> (bit % 8) & 1) != 0)
            latencies.push_back(kCasBase + 2 * bit);
    return latencies;
}

void decodeBase(std::span<const std::uint8_t> spd, SpdModuleDetails& module) {
    module.form = std::string(findRowText(kModuleFormRows, spd[kModuleType] & 0x0F).value_or(""));
    const std::size_t density = spd[kDensity] & 0x1F;
    module.dieCount = kDiesPerPackage[spd[kDensity] >> 5];
    module.deviceWidthBits = 4 << (spd[kIoWidth] >> 5);
    module.ranks = ((spd[kOrganisation] >> 3) & 0x07) + 1;
    const int subChannels = ((spd[kBusWidth] >> 5) & 0x03) + 1;
    const int channelWidth = 8 << (spd[kBusWidth] & 0x07);
    module.busWidthBits = subChannels * channelWidth;
    module.eccBits = subChannels * kEccBits[(spd[kBusWidth] >> 3) & 0x03];
    if (density < kDieGigabits.size() && kDieGigabits[density] != 0 && channelWidth <= 64 &&
        module.deviceWidthBits <= 32)
        module.sizeMegabytes = static_cast<std::uint64_t>(subChannels) *
                               static_cast<std::uint64_t>(channelWidth / module.deviceWidthBits) *
                               static_cast<std::uint64_t>(module.dieCount) *
                               static_cast<std::uint64_t>(kDieGigabits[density]) * 1024 / 8 *
                               static_cast<std::uint64_t>(module.ranks);
    module.voltage = (spd[kVoltage] >> 4) == 0 ? "1.1 V" : "";
    module.casLatencies = casLatencies(spd);
    module.times = {word(spd, kTckMin), word(spd, kTaaMin),  word(spd, kTrcdMin),
                    word(spd, kTrpMin), word(spd, kTrasMin), word(spd, kTrcMin)};
    module.speeds =
        spd_fields::speedsOf(module.times, word(spd, kTckMax), kStandardSpeeds, module.casLatencies, clocks);
}

constexpr spd_fields::ManufacturingLayout kManufacturing{
    kManufacturerBank, kManufacturerCode, kYear, kWeek, kSerial, kPartNumber, kPartNumberBytes,
};

} // namespace

SpdModuleDetails decodeDdr5Module(std::span<const std::uint8_t> spd) {
    SpdModuleDetails module;
    module.generation = "DDR5";
    if (spd.size() < kImageBytes)
        module.note = shortImageNote(module.generation, spd.size(), kImageBytes);
    if (spd.size() >= kFieldsEnd)
        decodeBase(spd, module);
    if (spd.size() >= kCrcEnd)
        module.crcs.push_back(spd_fields::crcCheck(spd, 0, kCrc - 1, kCrc));
    if (spd.size() >= kManufacturingSectionEnd)
        spd_fields::decodeManufacturing(spd, kManufacturing, module);
    return module;
}

} // namespace solvane::sysinfo
