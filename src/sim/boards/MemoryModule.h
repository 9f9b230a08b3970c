#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::sim {

// DRAM generations, by their SPD memory-type code.
enum class MemoryType : std::uint8_t { Ddr = 0x07, Ddr2 = 0x08, Ddr3 = 0x0B };

// The six DIMM slots of a board and the SPD EEPROM address (write form) of each.
inline constexpr std::size_t kMemorySlots = 6;
inline constexpr std::array<std::string_view, kMemorySlots> kSlotNames = {"DIMM_A0", "DIMM_A1", "DIMM_B0",
                                                                          "DIMM_B1", "DIMM_C0", "DIMM_C1"};
constexpr std::uint8_t spdAddress(std::size_t slot) {
    return static_cast<std::uint8_t>(0xA0 + 2 * slot);
}

// A maker of memory modules as the JEDEC JEP-106 list names it. Fields: name (also the name the
// --memory option takes), bank (1-based), code (with its odd-parity bit 7), and the part number of a
// typical module of each generation (at most 18 characters, the SPD field).
struct MemoryMaker {
    std::string_view name;
    std::uint8_t bank = 1;
    std::uint8_t code = 0;
    std::string_view ddr3Part;
    std::string_view ddr2Part;
    std::string_view ddrPart;
};

inline constexpr MemoryMaker kMemoryMakers[] = {
    {"Kingston", 2, 0x98, "KVR1333D3N9/2G", "KVR800D2N6/2G", "KVR400X64C3A/512"},
    {"Corsair", 3, 0x9E, "CMX4GX3M2A1600C9", "CM2X2048-6400C5", "CMX512-3200C2"},
    {"G.Skill", 5, 0xCD, "F3-10666CL9-2GBNQ", "F2-6400CL5-2GBPQ", "F1-3200PHU2-1GBNT"},
    {"Samsung", 1, 0xCE, "M378B5673FH0-CH9", "M378T5663QZ3-CF7", "M368L6523CUS-CCC"},
    {"Crucial", 6, 0x9B, "CT25664BA1339.16FF", "CT25664AA800.16FH", "CT6464Z40B.8T"},
    {"Hynix", 1, 0xAD, "HMT125U6BFR8C-H9", "HYMP125U64CP8-S6", "HYMD264646D8J-D43"},
    {"Micron", 1, 0x2C, "MT16JTF25664AZ-1G4", "MT16HTF25664AY-800", "MT16VDDT6464AG-40B"},
    {"Elpida", 3, 0xFE, "EBJ10UE8BDF0-DJ-F", "EBE21UE8AFFA-8G-F", "EBD52UD6ADSA-5B-E"},
};

// Positions of the makers in kMemoryMakers.
inline constexpr std::size_t kKingston = 0;
inline constexpr std::size_t kCorsair = 1;
inline constexpr std::size_t kGSkill = 2;
inline constexpr std::size_t kSamsung = 3;
inline constexpr std::size_t kCrucial = 4;
inline constexpr std::size_t kHynix = 5;
inline constexpr std::size_t kMicron = 6;
inline constexpr std::size_t kElpida = 7;

// What the SPD of a module of one speed grade holds. Fields: type and dataRate (MT/s); cycleTime, the
// minimum clock period (DDR3: in 1/8 ns; DDR2 and DDR: SPD byte 9, whole and tenth nanoseconds);
// casLatencies as the SPD stores them (DDR3: bytes 14-15, bit i = CL i+4; DDR2: byte 18, bit n = CL n;
// DDR: byte 18, bit 2 = CL 2, bit 3 = CL 2.5, bit 4 = CL 3); accessTime, rasToCas and precharge
// (DDR3: tAA, tRCD, tRP in 1/8 ns; DDR2 and DDR: tRCD and tRP in 1/4 ns); activeTime and cycleRowTime
// (DDR3: tRAS, tRC in 1/8 ns; DDR2 and DDR: whole nanoseconds).
struct SpeedGrade {
    MemoryType type = MemoryType::Ddr3;
    int dataRate = 0;
    std::uint8_t cycleTime = 0;
    std::uint16_t casLatencies = 0;
    std::uint8_t accessTime = 0;
    std::uint8_t rasToCas = 0;
    std::uint8_t precharge = 0;
    std::uint16_t activeTime = 0;
    std::uint16_t cycleRowTime = 0;
};

inline constexpr SpeedGrade kSpeedGrades[] = {
    {MemoryType::Ddr3, 1066, 0x0F, 0x001E, 0x69, 0x69, 0x69, 0x12C, 0x1A4},
    {MemoryType::Ddr3, 1333, 0x0C, 0x007E, 0x69, 0x69, 0x69, 0x120, 0x189},
    {MemoryType::Ddr3, 1600, 0x0A, 0x00FC, 0x6E, 0x6E, 0x6E, 0x118, 0x186},
    {MemoryType::Ddr2, 667, 0x30, 0x38, 0, 0x3C, 0x3C, 45, 60},
    {MemoryType::Ddr2, 800, 0x25, 0x38, 0, 0x32, 0x32, 45, 57},
    {MemoryType::Ddr2, 1066, 0x18, 0xE0, 0, 0x35, 0x35, 40, 54},
    {MemoryType::Ddr, 333, 0x60, 0x0C, 0, 0x48, 0x48, 42, 60},
    {MemoryType::Ddr, 400, 0x50, 0x18, 0, 0x3C, 0x3C, 40, 55},
};

// One installed module. Fields: slot (0 = DIMM_A0 … 5 = DIMM_C1), type, sizeMegabytes, ranks (1 or 2),
// dataRate (MT/s, one of the speed grades of the type), maker (index into kMemoryMakers), serial.
struct MemoryModule {
    std::size_t slot = 0;
    MemoryType type = MemoryType::Ddr3;
    int sizeMegabytes = 1024;
    int ranks = 1;
    int dataRate = 1333;
    std::size_t maker = 0;
    std::uint32_t serial = 0;
};

std::string_view memoryTypeName(MemoryType type);
const SpeedGrade* findSpeedGrade(MemoryType type, int dataRate);
// Megabits per memory chip of a module built from eight x8 chips per rank; 0 when the size and rank
// count give no chip size of that generation.
int chipDensityMegabits(const MemoryModule& module);
// Empty when the module can be built, else what is wrong with it.
std::string checkModule(const MemoryModule& module);

// Parses the --memory text: "none", or a comma-separated list of SLOT=TYPE-SIZE[-RANKSR][-RATE][-MAKER],
// for example "A0=DDR3-2G-2R-1600-Kingston,B0=DDR3-2048". SLOT is A0 … C1 (with or without "DIMM_"),
// TYPE DDR, DDR2 or DDR3, SIZE in megabytes or with a G suffix. Serial numbers are made up from the
// slot. Returns nothing and sets error on a malformed text.
std::optional<std::vector<MemoryModule>> parseMemoryModules(std::string_view text, std::string& error);

} // namespace solvane::sim
