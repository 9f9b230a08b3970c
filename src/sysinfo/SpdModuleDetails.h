#pragma once

#include "sysinfo/Ddr3TimingsTable.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace solvane::sysinfo {

// One CRC-16 an SPD image carries over a run of its bytes.
struct SpdCrcCheck {
    std::string bytes; // the bytes covered, "0-125"
    std::uint16_t stored = 0;
    std::uint16_t computed = 0;
    bool ok() const { return stored == computed; }
};

// Minimum times of a module in picoseconds.
struct SpdTimes {
    int tCK = 0;
    int tAA = 0;
    int tRCD = 0;
    int tRP = 0;
    int tRAS = 0;
    int tRC = 0;
};

// Clocks of the minimum times at one clock period.
struct SpdClocks {
    int speedMts = 0; // data rate of the period, MT/s
    int clockPicoseconds = 0;
    int cas = 0; // lowest supported CAS latency that covers tAA
    int tRCD = 0;
    int tRP = 0;
    int tRAS = 0;
    int tRC = 0;
};

// What a DDR4 or DDR5 module's SPD says of it. Numbers that the image does not give are 0; texts
// it does not give are empty.
struct SpdModuleDetails {
    std::string generation; // "DDR4", "DDR5"
    std::string form;       // "UDIMM", "SO-DIMM", "RDIMM", "LRDIMM", …
    std::uint64_t sizeMegabytes = 0;
    int ranks = 0;
    int busWidthBits = 0; // primary bus, without ECC
    int eccBits = 0;
    int deviceWidthBits = 0;
    int dieCount = 0; // dies in one package
    std::string manufacturer;
    std::string partNumber;
    std::string serialNumber; // bytes in the order stored, as hexadecimal digits
    std::optional<int> year;  // four digits
    std::optional<int> week;
    std::vector<int> casLatencies; // ascending
    SpdTimes times;
    // The module's top speed first, then the slower standard speeds it also runs at.
    std::vector<SpdClocks> speeds;
    std::string voltage; // "1.2 V"
    std::vector<SpdCrcCheck> crcs;
    // Why part of the module could not be decoded (a short image); empty when nothing is missing.
    std::string note;

    bool crcFailed() const;
    // "DDR4-3200", empty without a speed.
    std::string speedGrade() const;
};

// The page's timings table of a DDR4 or DDR5 module: one column per speed (top speed first), rows
// as the DDR3 table has them.
TimingsTable spdTimingsTable(const SpdModuleDetails& module);

} // namespace solvane::sysinfo
