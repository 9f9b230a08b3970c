// The DDR4 and DDR5 decoders over the real images kept in tests/data/realdata: DDR4 against
// decode-dimms' view of each image, DDR5 against what its bytes say in the JEDEC layout; then damaged
// and short images.
#include "sysinfo/MemoryModuleDecoder.h"
#include "sysinfo/SpdFields.h"
#include "sysinfo/SpdModuleDecoders.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>

namespace solvane::sysinfo {
namespace {

const std::filesystem::path kSpdData = std::filesystem::path(SOLVANE_TEST_DATA) / "realdata" / "spd";

std::vector<std::uint8_t> readImage(const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
}

std::vector<std::filesystem::path> imagesOf(const char* generation) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kSpdData / "bin" / generation))
        files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// decode-dimms' lines "Caption    value", by caption.
std::map<std::string, std::string> decodeDimmsView(const std::filesystem::path& image) {
    std::ifstream stream(kSpdData / "expected" / (image.stem().string() + ".decode-dimms.txt"));
    std::map<std::string, std::string> view;
    std::string line;
    while (std::getline(stream, line)) {
        const auto gap = line.find("  ");
        const auto value = line.find_first_not_of(' ', gap);
        if (gap != std::string::npos && value != std::string::npos)
            view.emplace(line.substr(0, gap), line.substr(value));
    }
    return view;
}

std::string joined(const std::vector<int>& numbers, const char* separator, const char* suffix) {
    std::string text;
    for (auto number = numbers.rbegin(); number != numbers.rend(); ++number)
        text += (text.empty() ? "" : separator) + std::to_string(*number) + suffix;
    return text;
}

std::string formatted(const char* format, auto... values) {
    char text[64];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

TEST(Ddr4Decoder, EveryRealImageAgreesWithDecodeDimms) {
    const auto images = imagesOf("ddr4");
    ASSERT_EQ(images.size(), 18U);
    for (const auto& image : images) {
        SCOPED_TRACE(image.filename().string());
        const auto module = decodeDdr4Module(readImage(image));
        auto view = decodeDimmsView(image);
        ASSERT_FALSE(view.empty());
        EXPECT_EQ(module.form, view["Module Type"]);
        EXPECT_EQ(std::to_string(module.sizeMegabytes) + " MB", view["Size"]);
        EXPECT_EQ(std::to_string(module.ranks), view["Ranks"]);
        EXPECT_EQ(std::to_string(module.deviceWidthBits) + " bits", view["SDRAM Device Width"]);
        EXPECT_EQ(std::to_string(module.busWidthBits) + " bits", view["Primary Bus Width"]);
        EXPECT_EQ(module.eccBits == 0 ? "" : std::to_string(module.eccBits) + " bits",
                  view["Bus Width Extension"]);
        // A code whose parity bit is wrong has no row: decode-dimms says "Unknown? (Invalid parity)",
        // the page shows no name, as for any code without a row.
        const auto maker = view["Module Manufacturer"];
        EXPECT_EQ(module.manufacturer, maker.starts_with("Unknown?") ? "" : maker);
        auto part = view["Part Number"];
        part.erase(part.find_last_not_of(' ') + 1); // decode-dimms prints the blanks that pad it
        EXPECT_EQ(module.partNumber, part);
        EXPECT_EQ(module.voltage, view["Module Nominal Voltage"]);
        // decode-dimms prints the serial as one number of the bytes in the order stored.
        EXPECT_EQ(module.serialNumber.empty() ? "" : "0x" + module.serialNumber,
                  view.contains("Assembly Serial Number") ? view["Assembly Serial Number"] : "0x00000000");
        const auto date = module.year ? formatted("%d-W%.2d", *module.year, *module.week) : "";
        // One maker stored the date in binary (0x29 0x1D); decode-dimms reads such bytes as binary
        // numbers, "2041-W29", a date still to come. The SPD holds binary-coded decimal: the page
        // shows no date rather than a wrong one.
        const bool binaryDate = image.filename() == "illumos__AQD-SD4U16GN32-SE1.bin";
        EXPECT_EQ(date, binaryDate ? "" : view["Manufacturing Date"]);
        ASSERT_FALSE(module.speeds.empty());
        const auto& top = module.speeds.front();
        EXPECT_EQ(view["Maximum module speed"].substr(0, view["Maximum module speed"].find(' ')),
                  std::to_string(top.speedMts));
        EXPECT_EQ(formatted("%.3f ns", module.times.tCK / 1000.0), view["Minimum Cycle Time (tCKmin)"]);
        EXPECT_EQ(formatted("%.3f ns", module.times.tAA / 1000.0), view["Minimum CAS Latency Time (tAA)"]);
        EXPECT_EQ(formatted("%.3f ns", module.times.tRC / 1000.0),
                  view["Minimum Active to Auto-Refresh Delay (tRC)"]);
        EXPECT_EQ(formatted("%d-%d-%d-%d", top.cas, top.tRCD, top.tRP, top.tRAS),
                  view["AA-RCD-RP-RAS (cycles)"]);
        EXPECT_EQ(joined(module.casLatencies, ", ", "T"), view["Supported CAS Latencies"]);
        // The slower columns are decode-dimms' standard speeds.
        for (std::size_t column = 1; column < module.speeds.size(); ++column) {
            const auto& speed = module.speeds[column];
            EXPECT_EQ(formatted("%d-%d-%d-%d", speed.cas, speed.tRCD, speed.tRP, speed.tRAS),
                      view["AA-RCD-RP-RAS (cycles) as DDR4-" + std::to_string(speed.speedMts)]);
        }
        ASSERT_EQ(module.crcs.size(), 2U);
        EXPECT_EQ(formatted("OK (0x%.4X)", module.crcs[0].computed), view["EEPROM CRC of bytes 0-125"]);
        EXPECT_EQ(formatted("OK (0x%.4X)", module.crcs[1].computed), view["EEPROM CRC of bytes 128-253"]);
        EXPECT_TRUE(module.note.empty());
    }
}

struct Ddr5Expectation {
    const char* file;
    const char* form;
    std::uint64_t megabytes;
    int ranks;
    int deviceWidth;
    int eccBits;
    const char* manufacturer;
    const char* part;
    int speed;
    const char* clocks; // CL-tRCD-tRP-tRAS at the top speed
    const char* date;
};

// From the bytes: size = 2 sub-channels × (32 bits / device width) × 16 Gb ÷ 8 × ranks; the maker from
// bytes 512/513 (bank = continuation count + 1); the speed from tCKmin (416 ps is DDR5-4800, 357 ps
// DDR5-5600); clocks of tAA/tRCD/tRP/tRAS with 0.3 % off, then the lowest supported CAS latency.
const Ddr5Expectation kDdr5Images[] = {
    {"idem-id2__Kingston_KF552C40-16.bin", "UDIMM", 16384, 1, 8, 0, "Kingston", "KF552C40-16", 4800,
     "40-39-39-77", "2022-W46"},
    {"idem-id2__Samsung_M323R2GA3DB0-CWMOD.bin", "UDIMM", 16384, 1, 8, 0, "Samsung", "M323R2GA3DB0-CWMOD",
     5600, "46-45-45-90", "2024-W09"},
    {"idem-id2__Samsung_M425R2GA3BB0-CWMOD.bin", "SO-DIMM", 16384, 1, 8, 0, "Samsung", "M425R2GA3BB0-CWMOD",
     5600, "46-45-45-90", "2023-W49"},
    // Bytes 515/516 hold 0xAF 0x82, which are no decimal date.
    // Bytes 512/513 hold 0x04 0xCB, bank 5: its maker's code, not the module seller's (Advantech,
    // bank 11, whose DDR4 module above names itself).
    {"illumos__AQD-D5V16GR48-SB.bin", "RDIMM", 16384, 1, 8, 16, "A-DATA Technology", "AQD-D5V16GR48-SB", 4800,
     "40-39-39-77", ""},
    {"illumos__MTC40F2046S1RC48BA1.bin", "RDIMM", 65536, 2, 4, 16, "Micron Technology", "MTC40F2046S1RC48BA1",
     4800, "40-39-39-77", "2022-W43"},
    // tAA 16.64 ns is 40 clocks of 416 ps.
    {"ubihazard__TeamGroup_UD5-6000_0104eeff.bin", "UDIMM", 16384, 1, 8, 0, "Team Group Inc.", "UD5-6000",
     4800, "40-40-40-77", "2023-W37"},
};

TEST(Ddr5Decoder, EveryRealImageDecodesAsItsBytesSay) {
    ASSERT_EQ(imagesOf("ddr5").size(), std::size(kDdr5Images));
    for (const auto& expected : kDdr5Images) {
        SCOPED_TRACE(expected.file);
        const auto module = decodeDdr5Module(readImage(kSpdData / "bin" / "ddr5" / expected.file));
        EXPECT_EQ(module.generation, "DDR5");
        EXPECT_EQ(module.form, expected.form);
        EXPECT_EQ(module.sizeMegabytes, expected.megabytes);
        EXPECT_EQ(module.ranks, expected.ranks);
        EXPECT_EQ(module.deviceWidthBits, expected.deviceWidth);
        EXPECT_EQ(module.busWidthBits, 64);
        EXPECT_EQ(module.eccBits, expected.eccBits);
        EXPECT_EQ(module.manufacturer, expected.manufacturer);
        EXPECT_EQ(module.partNumber, expected.part);
        ASSERT_FALSE(module.speeds.empty());
        const auto& top = module.speeds.front();
        EXPECT_EQ(top.speedMts, expected.speed);
        EXPECT_EQ(formatted("%d-%d-%d-%d", top.cas, top.tRCD, top.tRP, top.tRAS), expected.clocks);
        EXPECT_EQ(module.year ? formatted("%d-W%.2d", *module.year, *module.week) : "", expected.date);
        EXPECT_EQ(module.voltage, "1.1 V");
        ASSERT_EQ(module.crcs.size(), 1U);
        EXPECT_TRUE(module.crcs[0].ok()) << module.crcs[0].stored << " " << module.crcs[0].computed;
    }
}

TEST(Ddr5Decoder, SlowerColumnsAreTheStandardSpeedsWithinTheSlowestClock) {
    // DDR5-5600: then 5200, 4800 and 4400, each with its own CAS latency.
    const auto module =
        decodeDdr5Module(readImage(kSpdData / "bin" / "ddr5" / "idem-id2__Samsung_M323R2GA3DB0-CWMOD.bin"));
    ASSERT_EQ(module.speeds.size(), 4U);
    const int rates[] = {5600, 5200, 4800, 4400};
    const int latencies[] = {46, 42, 40, 36};
    for (std::size_t column = 0; column < 4; ++column) {
        EXPECT_EQ(module.speeds[column].speedMts, rates[column]);
        EXPECT_EQ(module.speeds[column].cas, latencies[column]);
    }
    const auto table = spdTimingsTable(module);
    EXPECT_EQ((*table[0])[rowIndex(TimingRow::Frequency)], "2801 MHz");
    EXPECT_EQ((*table[1])[rowIndex(TimingRow::Frequency)], "2604 MHz");
    EXPECT_EQ((*table[0])[rowIndex(TimingRow::CasLatency)], "46.0");
    EXPECT_EQ((*table[3])[rowIndex(TimingRow::Voltage)], "1.1 V");
}

// A module whose shortest clock period is a standard one runs at that standard's data rate, from
// DDR5-8400 to DDR5-2800 (every CAS latency marked supported, so each speed has its timings).
TEST(Ddr5Decoder, EachStandardClockPeriodIsItsDataRate) {
    const std::pair<int, int> standards[] = {{238, 8400}, {250, 8000}, {263, 7600}, {277, 7200}, {294, 6800},
                                             {312, 6400}, {333, 6000}, {357, 5600}, {384, 5200}, {416, 4800},
                                             {454, 4400}, {500, 4000}, {555, 3600}, {625, 3200}, {714, 2800}};
    auto image = readImage(kSpdData / "bin" / "ddr5" / "idem-id2__Samsung_M323R2GA3DB0-CWMOD.bin");
    for (std::size_t byte = 24; byte <= 28; ++byte)
        image[byte] = 0xFF;
    for (const auto& [period, rate] : standards) {
        image[20] = static_cast<std::uint8_t>(period & 0xFF);
        image[21] = static_cast<std::uint8_t>(period >> 8);
        const auto module = decodeDdr5Module(image);
        ASSERT_FALSE(module.speeds.empty()) << period;
        EXPECT_EQ(module.speeds.front().speedMts, rate) << period << " ps";
    }
}

std::vector<std::uint8_t> samsungDdr4() {
    return readImage(kSpdData / "bin" / "ddr4" / "idem-id2__Samsung_M378A2K43EB1-CWE.bin");
}

TEST(Ddr4Decoder, ADamagedByteFailsItsSectionsCrcAndIsShown) {
    auto image = samsungDdr4();
    image[40] ^= 0x01; // inside the base section
    const auto texts = decodeMemoryModule(image);
    ASSERT_TRUE(texts.spd);
    EXPECT_FALSE(texts.spd->crcs[0].ok());
    EXPECT_TRUE(texts.spd->crcs[1].ok());
    EXPECT_EQ(texts.pageFields()->moduleSize, "16384 MBytes (2Rx8), CRC error");
    // The fields are decoded all the same.
    EXPECT_EQ(texts.memoryType, "DDR4 UDIMM");
    EXPECT_EQ(texts.pageFields()->partNumber, "M378A2K43EB1-CWE");

    image = samsungDdr4();
    image[200] ^= 0x80; // inside the module section
    const auto second = decodeDdr4Module(image);
    EXPECT_TRUE(second.crcs[0].ok());
    EXPECT_FALSE(second.crcs[1].ok());
}

TEST(Ddr4Decoder, TheIntactImageShowsOnThePageInTheDdr3Places) {
    const auto fields = decodeMemoryModule(samsungDdr4()).pageFields();
    ASSERT_TRUE(fields);
    EXPECT_EQ(fields->moduleSize, "16384 MBytes (2Rx8)");
    EXPECT_EQ(fields->weekYear, "19 / 23");
    EXPECT_EQ(fields->manufacturer, "Samsung");
    EXPECT_EQ(fields->serialNumber, "36BC78A2");
    const TimingColumn top{"1600 MHz", "22.0", "22", "22", "52", "74", "1.2 V"};
    EXPECT_EQ(fields->timings[0], top);
    EXPECT_EQ((*fields->timings[3])[rowIndex(TimingRow::Frequency)], "1200 MHz"); // DDR4-2400
}

TEST(SpdDecoders, ShortImagesDecodeWhatTheyHoldAndSaySo) {
    const auto full = samsungDdr4();
    for (const std::size_t size : {0, 1, 3, 127, 128, 255, 256, 383, 384, 511}) {
        SCOPED_TRACE(size);
        const std::span<const std::uint8_t> image(full.data(), size);
        const auto module = decodeDdr4Module(image);
        EXPECT_EQ(module.note,
                  "incomplete SPD: " + std::to_string(size) + " of the 512 bytes of a DDR4 module");
        EXPECT_EQ(module.sizeMegabytes, size >= 128 ? 16384U : 0U);
        EXPECT_EQ(module.crcs.size(), size >= 256 ? 2U : size >= 128 ? 1U : 0U);
        EXPECT_EQ(module.partNumber, size >= 384 ? "M378A2K43EB1-CWE" : "");
        if (size >= 3) {
            EXPECT_NE(decodeMemoryModule(image).pageFields()->moduleSize.find("incomplete SPD"),
                      std::string::npos);
        }
    }
    auto ddr5 = readImage(kSpdData / "bin" / "ddr5" / "idem-id2__Kingston_KF552C40-16.bin");
    ddr5.resize(256); // what one SMBus page reaches: every field but the CRC and the maker's section
    const auto module = decodeDdr5Module(ddr5);
    EXPECT_EQ(module.note, "incomplete SPD: 256 of the 1024 bytes of a DDR5 module");
    EXPECT_EQ(module.sizeMegabytes, 16384U);
    EXPECT_EQ(module.speeds.size(), 4U);
    EXPECT_TRUE(module.crcs.empty());
    EXPECT_EQ(module.manufacturer, "");
    ddr5.resize(255);
    EXPECT_EQ(decodeDdr5Module(ddr5).sizeMegabytes, 0U);
}

// An erased or damaged clock period leaves nothing to count clocks in: the module shows no timing
// column rather than figures divided by zero.
TEST(SpdDecoders, AModuleWithoutAClockPeriodHasNoTimingColumns) {
    auto ddr4 = samsungDdr4();
    ddr4[18] = 0;  // tCKAVGmin
    ddr4[125] = 0; // and its fine correction
    EXPECT_TRUE(decodeDdr4Module(ddr4).speeds.empty());
    auto ddr5 = readImage(kSpdData / "bin" / "ddr5" / "idem-id2__Kingston_KF552C40-16.bin");
    ddr5[20] = 0; // tCKAVGmin, two bytes
    ddr5[21] = 0;
    EXPECT_TRUE(decodeDdr5Module(ddr5).speeds.empty());
}

TEST(SpdFields, CrcAndDatesFollowTheSpdRules) {
    // The CRC-16 check value of "123456789" with polynomial 0x1021 and initial value 0.
    const std::string check = "123456789";
    EXPECT_EQ(spd_fields::crc16({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0x31C3);

    SpdModuleDetails module;
    spd_fields::manufactureDate(0x19, 0x52, module);
    EXPECT_EQ(module.year, 2019);
    EXPECT_EQ(module.week, 52);
    for (const auto& [year, week] : {std::pair{0x00, 0x00}, {0x19, 0x54}, {0x1A, 0x10}, {0xFF, 0xFF}}) {
        SpdModuleDetails undated;
        spd_fields::manufactureDate(static_cast<std::uint8_t>(year), static_cast<std::uint8_t>(week),
                                    undated);
        EXPECT_FALSE(undated.year) << year << " " << week;
    }
}

} // namespace
} // namespace solvane::sysinfo
