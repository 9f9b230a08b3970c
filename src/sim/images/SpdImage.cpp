#include "sim/images/SpdImage.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace solvane::sim {

namespace {

constexpr std::uint8_t kUnprogrammed = 0xFF;

std::uint8_t byteOf(unsigned value) {
    return static_cast<std::uint8_t>(value & 0xFFU);
}

std::uint8_t bcd(unsigned value) {
    return byteOf((value / 10) << 4 | (value % 10));
}

// Manufacturing date derived from the serial, so each module tells its own week.
std::uint8_t manufacturingWeek(const MemoryModule& module) {
    return bcd(1 + module.serial % 52);
}
std::uint8_t manufacturingYear(const MemoryModule& module) {
    return bcd(module.type == MemoryType::Ddr3 ? 9 : module.type == MemoryType::Ddr2 ? 8 : 4);
}

std::string_view partNumber(const MemoryModule& module) {
    const auto& maker = kMemoryMakers[module.maker];
    return module.type == MemoryType::Ddr3   ? maker.ddr3Part
           : module.type == MemoryType::Ddr2 ? maker.ddr2Part
                                             : maker.ddrPart;
}

void writePartNumber(SpdImage& spd, std::size_t offset, std::string_view part) {
    std::fill_n(spd.begin() + static_cast<std::ptrdiff_t>(offset), 18, std::uint8_t{' '});
    std::copy(part.begin(), part.end(), spd.begin() + static_cast<std::ptrdiff_t>(offset));
}

struct Geometry {
    unsigned banks;
    unsigned rows;
    unsigned columns;
};

// Banks, row and column address bits of an x8 chip of the module's density.
Geometry geometry(const MemoryModule& module) {
    const auto density = static_cast<unsigned>(chipDensityMegabits(module));
    Geometry result{4, 0, 10};
    if (module.type == MemoryType::Ddr3 || (module.type == MemoryType::Ddr2 && density >= 1024))
        result.banks = 8;
    if (module.type == MemoryType::Ddr && density >= 512)
        result.columns = 11;
    // density × 2^20 bits = banks × 8 bits × 2^(rows + columns)
    const unsigned cells = density * (1U << 20) / (result.banks * 8U);
    result.rows = static_cast<unsigned>(std::countr_zero(cells)) - result.columns;
    return result;
}

// Whole and tenth nanoseconds in one byte, as DDR and DDR2 store clock periods.
std::uint8_t tenths(double nanoseconds) {
    const auto total = static_cast<unsigned>(std::lround(nanoseconds * 10));
    return byteOf((total / 10) << 4 | (total % 10));
}
double fromTenths(std::uint8_t value) {
    return (value >> 4) + (value & 0x0F) / 10.0;
}

// Row density of one rank in the DDR/DDR2 bit encoding.
std::uint8_t rankDensityBits(int megabytes) {
    switch (megabytes) {
    case 128:
        return 0x20;
    case 256:
        return 0x40;
    case 512:
        return 0x80;
    default:
        return byteOf(static_cast<unsigned>(megabytes / 1024));
    }
}

void buildDdr3(const MemoryModule& module, const SpeedGrade& grade, SpdImage& spd) {
    const auto chip = geometry(module);
    const auto density = static_cast<unsigned>(chipDensityMegabits(module));
    spd[0] = 0x92; // CRC over bytes 0-116, 256 bytes in all, 176 of them used
    spd[1] = 0x10; // SPD revision 1.0
    spd[2] = static_cast<std::uint8_t>(MemoryType::Ddr3);
    spd[3] = 0x02;                                                            // unbuffered DIMM
    spd[4] = byteOf(static_cast<unsigned>(std::countr_zero(density / 256U))); // 8 banks, chip density
    spd[5] = byteOf((chip.rows - 12) << 3 | (chip.columns - 9));
    spd[6] = 0x00;                                                        // 1.5 V
    spd[7] = byteOf(static_cast<unsigned>(module.ranks - 1) << 3 | 0x01); // ranks, x8 chips
    spd[8] = 0x03;                                                        // 64-bit bus, no ECC
    spd[9] = 0x52;                                                        // fine time base 2.5 ps
    spd[10] = 0x01;                                                       // medium time base 1/8 ns
    spd[11] = 0x08;
    spd[12] = grade.cycleTime;
    spd[14] = byteOf(grade.casLatencies);
    spd[15] = byteOf(grade.casLatencies >> 8);
    spd[16] = grade.accessTime;
    spd[17] = 0x78; // tWR 15 ns
    spd[18] = grade.rasToCas;
    spd[19] = 0x3C; // tRRD 7.5 ns
    spd[20] = grade.precharge;
    spd[21] = byteOf(static_cast<unsigned>((grade.cycleRowTime >> 8U) << 4 | (grade.activeTime >> 8U)));
    spd[22] = byteOf(grade.activeTime);
    spd[23] = byteOf(grade.cycleRowTime);
    // tRFC grows with the chip: 90, 110, 160, 300 ns for 512 Mb to 4 Gb.
    constexpr unsigned kRefreshEighths[] = {720, 720, 880, 1280, 2400};
    const unsigned refresh = kRefreshEighths[std::min<unsigned>(spd[4], 4)];
    spd[24] = byteOf(refresh);
    spd[25] = byteOf(refresh >> 8);
    spd[26] = 0x3C; // tWTR 7.5 ns
    spd[27] = 0x3C; // tRTP 7.5 ns
    spd[28] = 0x00; // tFAW 30 ns
    spd[29] = 0xF0;
    spd[30] = 0x82; // RZQ/6, RZQ/7, DLL-off mode
    spd[31] = 0x01; // extended temperature range
    spd[60] = 0x0F; // 30 mm high
    spd[61] = 0x11;
    spd[62] = byteOf(static_cast<unsigned>(module.ranks - 1)); // reference raw card A or B
    spd[63] = byteOf(static_cast<unsigned>(module.ranks - 1)); // rank 1 mirrored on dual-rank cards
    const auto& maker = kMemoryMakers[module.maker];
    const unsigned continuation = maker.bank - 1U;
    // Odd parity over the continuation count, as JEP-106 codes carry it.
    spd[117] = byteOf(continuation | (std::popcount(continuation) % 2 == 0 ? 0x80U : 0U));
    spd[118] = maker.code;
    spd[119] = 0x01;
    spd[120] = manufacturingYear(module);
    spd[121] = manufacturingWeek(module);
    for (unsigned i = 0; i < 4; ++i)
        spd[122 + i] = byteOf(module.serial >> (8 * i));
    writePartNumber(spd, 128, partNumber(module));
    spd[148] = spd[117];
    spd[149] = spd[118];
    std::fill(spd.begin() + 176, spd.end(), kUnprogrammed);
    const auto crc = spdCrc16(std::span<const std::uint8_t>(spd).first(ddr3CrcCoverage(spd[0])));
    spd[126] = byteOf(crc);
    spd[127] = byteOf(crc >> 8U);
}

void buildDdrOrDdr2(const MemoryModule& module, const SpeedGrade& grade, SpdImage& spd) {
    const bool ddr2 = module.type == MemoryType::Ddr2;
    const auto chip = geometry(module);
    const double cycle = fromTenths(grade.cycleTime);
    spd[0] = 0x80; // 128 bytes used
    spd[1] = 0x08; // 256 bytes in all
    spd[2] = static_cast<std::uint8_t>(module.type);
    spd[3] = byteOf(chip.rows);
    spd[4] = byteOf(chip.columns);
    // DDR2 keeps ranks − 1 with the module height (30 mm); DDR keeps the rank count.
    spd[5] = ddr2 ? byteOf(0x60U | static_cast<unsigned>(module.ranks - 1))
                  : byteOf(static_cast<unsigned>(module.ranks));
    spd[6] = 0x40;               // 64 data bits
    spd[8] = ddr2 ? 0x05 : 0x04; // SSTL 1.8 V or 2.5 V
    spd[9] = grade.cycleTime;
    spd[10] = ddr2 ? 0x40 : 0x65; // tAC
    spd[12] = 0x82;               // self refresh every 7.8 us
    spd[13] = 0x08;               // x8 chips
    spd[15] = ddr2 ? 0x00 : 0x01;
    spd[16] = ddr2 ? 0x0C : 0x0E; // burst lengths
    spd[17] = byteOf(chip.banks);
    spd[18] = byteOf(grade.casLatencies);
    spd[19] = ddr2 ? 0x00 : 0x01;
    spd[20] = 0x02; // unbuffered DIMM
    spd[22] = ddr2 ? 0x03 : 0xC0;
    spd[23] = tenths(cycle * 1.25); // clock period one latency lower
    spd[24] = ddr2 ? 0x45 : 0x70;
    spd[25] = ddr2 ? tenths(cycle * 1.5) : 0x00;
    spd[26] = ddr2 ? 0x50 : 0x00;
    spd[27] = grade.precharge;
    spd[28] = 0x1E; // tRRD 7.5 ns
    spd[29] = grade.rasToCas;
    spd[30] = byteOf(grade.activeTime);
    spd[31] = rankDensityBits(module.sizeMegabytes / module.ranks);
    spd[32] = ddr2 ? 0x17 : 0x75;
    spd[33] = ddr2 ? 0x25 : 0x75;
    spd[34] = ddr2 ? 0x05 : 0x45;
    spd[35] = ddr2 ? 0x12 : 0x45;
    spd[36] = ddr2 ? 0x3C : 0x00; // tWR
    spd[37] = ddr2 ? 0x1E : 0x00; // tWTR
    spd[38] = ddr2 ? 0x1E : 0x00; // tRTP
    spd[41] = byteOf(grade.cycleRowTime);
    spd[42] = ddr2 ? 0x7F : 0x46; // tRFC
    spd[43] = ddr2 ? 0x80 : 0x30; // longest clock period
    spd[44] = ddr2 ? 0x18 : 0x28;
    spd[45] = ddr2 ? 0x22 : 0x50;
    spd[62] = ddr2 ? 0x12 : 0x10; // SPD revision
    spd[63] = spdChecksum(spd);
    // JEP-106 code: one 0x7F continuation byte per bank before the maker's own, then padding.
    const auto& maker = kMemoryMakers[module.maker];
    std::size_t at = 64;
    for (unsigned bank = 1; bank < maker.bank; ++bank)
        spd[at++] = 0x7F;
    spd[at] = maker.code;
    spd[72] = 0x01;
    writePartNumber(spd, 73, partNumber(module));
    spd[93] = manufacturingYear(module);
    spd[94] = manufacturingWeek(module);
    for (unsigned i = 0; i < 4; ++i)
        spd[95 + i] = byteOf(module.serial >> (24 - 8 * i));
    std::fill(spd.begin() + 128, spd.end(), kUnprogrammed);
}

} // namespace

std::uint16_t spdCrc16(std::span<const std::uint8_t> bytes) {
    unsigned crc = 0;
    for (const auto byte : bytes) {
        crc ^= static_cast<unsigned>(byte) << 8;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x8000U) != 0 ? (crc << 1) ^ 0x1021U : crc << 1;
    }
    return static_cast<std::uint16_t>(crc & 0xFFFFU);
}

std::size_t ddr3CrcCoverage(std::uint8_t byte0) {
    return (byte0 & 0x80) != 0 ? 117 : 126;
}

std::uint8_t spdChecksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < 63 && i < bytes.size(); ++i)
        sum += bytes[i];
    return byteOf(sum);
}

SpdImage buildSpdImage(const MemoryModule& module) {
    SpdImage spd{};
    const auto* grade = findSpeedGrade(module.type, module.dataRate);
    if (!grade || chipDensityMegabits(module) == 0) {
        spd.fill(kUnprogrammed);
        return spd;
    }
    if (module.type == MemoryType::Ddr3)
        buildDdr3(module, *grade, spd);
    else
        buildDdrOrDdr2(module, *grade, spd);
    return spd;
}

} // namespace solvane::sim
