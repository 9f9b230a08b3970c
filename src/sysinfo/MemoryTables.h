#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace solvane::sysinfo {

// The lookup tables of the memory page, as text rows (see ByteCodeTable.h).

// The six DIMM slots, probed in this order: the name the drop-down list shows and the SMBus address
// of the slot's SPD EEPROM in its write form.
inline constexpr std::array<std::string_view, 6> kMemorySlotRows{
    "0xA0;DIMM_A0;", "0xA2;DIMM_A1;", "0xA4;DIMM_B0;", "0xA6;DIMM_B1;", "0xA8;DIMM_C0;", "0xAA;DIMM_C1;",
};

// SPD byte 2, the kind of memory on the module.
inline constexpr std::array<std::string_view, 6> kMemoryTypeRows{
    "0x04;SDRAM;", "0x05;ROM;", "0x06;DDR SGRAM;", "0x07;DDR;", "0x08;DDR2;", "0x0B;DDR3;",
};
inline constexpr std::uint8_t kDdr3TypeCode = 0x0B;

// DDR3 module size by the whole of SPD byte 4 (chip density with the bank field 0), for a module of
// one rank and of two ranks. Modules of three or four ranks are looked up as single-rank ones.
inline constexpr std::array<std::string_view, 4> kSingleRankSizeRows{
    "0x01;512 MBytes;",
    "0x02;1024 MBytes (1 Gb);",
    "0x03;2048 MBytes (2 Gb);",
    "0x04;4096 MBytes (4 Gb);",
};
inline constexpr std::array<std::string_view, 4> kDualRankSizeRows{
    "0x01;1024 MBytes (1 Gb);",
    "0x02;2048 MBytes (2 Gb);",
    "0x03;4096 MBytes (4 Gb);",
    "0x04;8192 MBytes (8 Gb);",
};

// The characters a part number keeps: capital letters, digits and the hyphen, each its own byte.
inline constexpr std::array<std::string_view, 37> kPartNumberCharacterRows{
    "0x2D;-;", "0x30;0;", "0x31;1;", "0x32;2;", "0x33;3;", "0x34;4;", "0x35;5;", "0x36;6;",
    "0x37;7;", "0x38;8;", "0x39;9;", "0x41;A;", "0x42;B;", "0x43;C;", "0x44;D;", "0x45;E;",
    "0x46;F;", "0x47;G;", "0x48;H;", "0x49;I;", "0x4A;J;", "0x4B;K;", "0x4C;L;", "0x4D;M;",
    "0x4E;N;", "0x4F;O;", "0x50;P;", "0x51;Q;", "0x52;R;", "0x53;S;", "0x54;T;", "0x55;U;",
    "0x56;V;", "0x57;W;", "0x58;X;", "0x59;Y;", "0x5A;Z;",
};

// A slot of the board: its name and the SPD address (write form).
struct MemorySlot {
    std::string_view name;
    std::uint8_t address = 0;
};
// The slot of row i of kMemorySlotRows.
MemorySlot memorySlot(std::size_t row);

// The text of the type row for SPD byte 2, empty when none matches.
std::string_view memoryTypeText(std::uint8_t typeByte);

// The size row for SPD bytes 4 and 7 of a DDR3 module: the table by the rank field (bits 5..3 of
// byte 7, 1 meaning two ranks), the row by the whole of byte 4. None when no row matches.
std::optional<std::string_view> moduleSizeText(std::uint8_t densityByte, std::uint8_t organisationByte);

} // namespace solvane::sysinfo
