#pragma once

#include "hw/HardwareLibraries.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace solvane::sysinfo::test {

// An SPD image of 256 bytes, unprogrammed (0xFF) but for the bytes given.
inline std::vector<std::uint8_t> spdImage(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    std::vector<std::uint8_t> image(256, 0xFF);
    for (const auto& [offset, value] : bytes)
        image[offset] = value;
    return image;
}

// A DDR3 module of 1024 MB in one rank (density code 0x02), time base 1/8 ns, CAS latencies 6 to 9,
// tAA = tRCD = tRP = 13.125 ns, tRAS 36 ns, tRC 49.125 ns, made by Kingston (bank 2, 0x98) in week
// 23 of 2009, serial bytes 0x11 0x22 0x33 0x44, part number "KVR1333D3N9/2G" padded with blanks.
inline std::vector<std::uint8_t> ddr3Module() {
    auto image =
        spdImage({{2, 0x0B},   {4, 0x02},   {7, 0x01},   {10, 1},     {11, 8},     {14, 0x3C},  {15, 0x00},
                  {16, 105},   {18, 105},   {20, 105},   {21, 0x11},  {22, 0x20},  {23, 0x89},  {117, 0x01},
                  {118, 0x98}, {120, 0x09}, {121, 0x23}, {122, 0x11}, {123, 0x22}, {124, 0x33}, {125, 0x44}});
    constexpr std::string_view kPart = "KVR1333D3N9/2G    ";
    for (std::size_t i = 0; i < kPart.size(); ++i)
        image[128 + i] = static_cast<std::uint8_t>(kPart[i]);
    return image;
}

// The SMBus library over a set of EEPROMs: SPD images by 8-bit write address. An address without an
// image reads 0xFF, as an absent device does. Every call is recorded.
class FakeSpdBus final : public hw::Hoblin {
public:
    struct Call {
        std::uint8_t address;
        std::uint8_t reg;
        std::uint8_t data;
    };

    std::map<std::uint8_t, std::vector<std::uint8_t>> eeproms;
    std::vector<Call> calls;

    int LoadNTHoblin() override { return 1; }
    void UnloadNTHoblin() override {}
    std::uint8_t Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) override {
        calls.push_back({address, reg, data});
        const auto eeprom = eeproms.find(static_cast<std::uint8_t>(address & 0xFE));
        if (eeprom == eeproms.end() || reg >= eeprom->second.size())
            return 0xFF;
        return eeprom->second[reg];
    }
};

} // namespace solvane::sysinfo::test
