#include "hw/CpuPhaseControl.h"

#include "board/BoardTraits.h"

#include <algorithm>
#include <array>
#include <span>

namespace solvane::hw {

namespace {

// Boards whose regulator controller counts its phase levels in nested bits of register 0x10:
// the count becomes 2 if the first bit is set, 3 if the next is set too, and so on; the first
// clear bit stops it. The fixed-phase state is one bit of register 1.
struct NestedLevelBoard {
    int boardCode;
    std::uint8_t device;           // read address of the regulator controller
    std::array<int, 5> nestedBits; // bits of register 0x10, most significant level first
    int nestedBitCount;
    bool extraLevelFromRegister0; // one more level from register 0 bit 3
    int fixedPhaseBit;            // bit of register 1 set while a fixed option is selected
};

constexpr std::array<NestedLevelBoard, 5> kNestedLevelBoards{{
    {2918, 0x31, {3, 2, 1, 0, 0}, 4, false, 7},
    {2916, 0x33, {3, 2, 1, 0, 0}, 4, false, 7},
    {2917, 0x33, {3, 2, 1, 0, 0}, 4, true, 7},
    {2915, 0x35, {4, 3, 2, 1, 0}, 5, false, 6},
    {2910, 0x37, {4, 3, 2, 1, 0}, 5, false, 7},
}};

// Boards whose phase option is a pattern in register 1 of the regulator controller: the old
// value is masked to a base, then each level ORs in its pattern (level 0 ANDs it instead).
// Levels above 5 write the base unchanged.
struct PatternWriteBoard {
    int boardCode;
    std::uint8_t device; // write address
    std::uint8_t baseMask;
    std::uint8_t automaticMask;                               // level 0: base AND this
    std::array<std::optional<std::uint8_t>, 5> levelPatterns; // levels 1 to 5: base OR this (none: base)
};

constexpr std::array<PatternWriteBoard, 4> kPatternWriteBoards{{
    {2917, 0x32, 0xE0, 0x7F, {0x97, 0x93, 0x91, 0x90, 0x80}},
    {2916, 0x32, 0xF8, 0x7F, {0x97, 0x93, 0x91, 0x90, std::nullopt}},
    // Bit 4 of this register is the CPU load-line LED's switch: the levels leave it as it is.
    {2915, 0x34, 0xF0, 0xB0, {0x4F, 0x47, 0x43, 0x41, 0x40}},
    {2910, 0x36, 0xE0, 0x7F, {0x9F, 0x97, 0x93, 0x91, 0x90}},
}};

template <class Row, std::size_t N> const Row* findBoard(const std::array<Row, N>& rows, int boardCode) {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.boardCode == boardCode; });
    return found == rows.end() ? nullptr : &*found;
}

// The fixed level a pattern board's register 1 holds: the level whose pattern matches the bits the
// write sets (those outside the base mask, the fixed-phase bit aside). Empty when none matches.
std::optional<int> decodeLevel(const PatternWriteBoard& board, std::uint8_t reg1, int fixedPhaseBit) {
    const auto levelBits = static_cast<std::uint8_t>(~board.baseMask & ~(1U << fixedPhaseBit) & 0xFFU);
    for (std::size_t level = 0; level < board.levelPatterns.size(); ++level)
        if (const auto pattern = board.levelPatterns[level];
            pattern && (*pattern & levelBits) == (reg1 & levelBits))
            return static_cast<int>(level) + 1;
    return std::nullopt;
}

// Level count from a value compared against ascending thresholds: count = 1 + thresholds passed.
int countAbove(int value, std::span<const int> thresholds) {
    int count = 1;
    for (std::size_t i = 0; i < thresholds.size(); ++i)
        if (value > thresholds[i])
            count = 2 + static_cast<int>(i);
    return count;
}

// The fixed levels 1 to 3 of 2912 (the controller's register 1) and of 2911/2907 (Super I/O 0x81,
// whose bits 1 to 3 belong to other switches).
constexpr std::array<std::uint8_t, 3> k2912Levels{5, 4, 0};
constexpr std::array<std::uint8_t, 3> kSio81Levels{0xB1, 0x31, 0x11};
constexpr std::uint8_t kSio81LevelBits = 0xF1;

// The fixed level a register holds: the first level whose pattern it carries; the top level when it
// carries none (or the board offers fewer levels).
int fixedLevel(std::span<const std::uint8_t> levels, std::uint8_t value, std::uint8_t bits, int levelCount) {
    for (std::size_t i = 0; i < levels.size(); ++i)
        if ((value & bits) == levels[i] && static_cast<int>(i) + 1 <= levelCount - 1)
            return static_cast<int>(i) + 1;
    return levelCount - 1;
}

constexpr std::uint16_t kPhasePortEnable = 0x480;
constexpr std::uint16_t kPhasePortDirection = 0x484;
constexpr std::uint16_t kPhasePortLevel = 0x48C;
constexpr std::uint8_t kNorthbridgePhaseRegister = 0xA0;
constexpr std::uint8_t kActivePhaseRegister = 0x12;

} // namespace

CpuPhaseControl::CpuPhaseControl(BoardBus& bus, platform::RandomSource& random)
    : m_bus(bus), m_random(random) {}

CpuPhaseReading CpuPhaseControl::read(const BoardIdentity& board) {
    CpuPhaseReading reading;
    const int code = board.boardCode;
    if (const auto* nested = findBoard(kNestedLevelBoards, code)) {
        const auto levels = m_bus.smbusRead(nested->device, 0x10);
        bool open = true;
        for (int i = 0; i < nested->nestedBitCount && open; ++i) {
            open = bitSet(levels, nested->nestedBits[static_cast<std::size_t>(i)]);
            if (open)
                ++reading.levelCount;
        }
        if (open && nested->extraLevelFromRegister0 && m_bus.smbusBit(nested->device, 0x00, 3))
            ++reading.levelCount;
        // The controller counts the phases it runs, which is the only way to know them while it
        // chooses for itself; a count beyond its levels is no count.
        if (const int active = m_bus.smbusRead(nested->device, kActivePhaseRegister);
            active >= 1 && active <= reading.levelCount)
            reading.activePhases = active;
        const auto reg1 = m_bus.smbusRead(nested->device, 0x01);
        if (!bitSet(reg1, nested->fixedPhaseBit)) {
            reading.cpuPhase = 0;
            return reading;
        }
        // A fixed option reads back as the level its pattern selects, so what was written is what
        // is read; a pattern of no level (or none known) reports the top level.
        reading.cpuPhase = reading.levelCount - 1;
        if (const auto* pattern = findBoard(kPatternWriteBoards, code))
            if (const auto level = decodeLevel(*pattern, reg1, nested->fixedPhaseBit);
                level && *level <= reading.levelCount - 1)
                reading.cpuPhase = *level;
        return reading;
    }
    const auto& traits = board::traitsOf(code);
    switch (traits.phaseSwitch) {
    case board::PhaseSwitch::ControllerLevels: {
        static constexpr std::array kThresholds{1, 2, 6};
        reading.levelCount = countAbove(m_bus.smbusRead(0x31, 0x10) & 7, kThresholds);
        reading.cpuPhase =
            m_bus.smbusBit(0x31, 0x11, 3)
                ? fixedLevel(k2912Levels, m_bus.smbusRead(0x31, 0x01), 0xFF, reading.levelCount)
                : 0;
        break;
    }
    case board::PhaseSwitch::SuperIoLevels: {
        static constexpr std::array kThresholds{1, 5, 6};
        reading.levelCount = countAbove(m_bus.sioRead(0xD2) & 7, kThresholds);
        const auto a = m_bus.sioRead(0x81);
        reading.cpuPhase =
            bitSet(a, 0) ? fixedLevel(kSio81Levels, a, kSio81LevelBits, reading.levelCount) : 0;
        break;
    }
    case board::PhaseSwitch::NorthbridgeSwitch:
        reading.levelCount = traits.switchedPhaseLevels;
        reading.cpuPhase =
            bitSet(m_bus.northbridgeRead(kNorthbridgePhaseRegister), 7) ? 0 : reading.levelCount - 1;
        break;
    case board::PhaseSwitch::SuperIoPin:
        reading.levelCount = 1;
        if (traits.revisionSixVariant && board.versionHasSix())
            reading.cpuPhase = m_bus.portBit(kPhasePortLevel, 3) ? 0 : 1;
        else
            reading.cpuPhase = m_bus.sioBit(0xD1, 0) ? 0 : 1;
        break;
    case board::PhaseSwitch::SuperIoCount: {
        const int x = m_bus.sioRead(0xC2) & 7;
        reading.levelCount = x == 5 ? 2 : x == 7 ? 3 : 1;
        reading.cpuPhase = x == 5 ? 2 : x == 7 ? 3 : 1;
        break;
    }
    case board::PhaseSwitch::FalwickSwitch:
        if (m_bus.smbusBit(0x31, 0x11, 3, SmbusPath::Falwick)) {
            reading.levelCount = 4;
            reading.cpuPhase = 4;
        } else {
            // The board does not say how many levels it has here; it reports 2 or 3 at random.
            reading.levelCount = m_random.next() % 2 + 2;
            reading.cpuPhase = 0;
        }
        break;
    case board::PhaseSwitch::None:
        break;
    }
    return reading;
}

bool CpuPhaseControl::writeRegulatorLevel(BoardBus& bus, int boardCode, int value) {
    const auto* pattern = findBoard(kPatternWriteBoards, boardCode);
    if (pattern == nullptr)
        return false;
    const auto base = static_cast<std::uint8_t>(bus.smbusRead(pattern->device, 0x01) & pattern->baseMask);
    std::uint8_t written = base;
    if (value == 0)
        written = static_cast<std::uint8_t>(base & pattern->automaticMask);
    else if (value >= 1 && value <= 5)
        if (const auto level = pattern->levelPatterns[static_cast<std::size_t>(value - 1)])
            written = static_cast<std::uint8_t>(base | *level);
    bus.smbusWrite(pattern->device, 0x01, written);
    return true;
}

std::optional<int> CpuPhaseControl::write(const BoardIdentity& board, int value) {
    const int code = board.boardCode;
    if (writeRegulatorLevel(m_bus, code, value))
        return std::nullopt;
    const auto& traits = board::traitsOf(code);
    switch (traits.phaseSwitch) {
    case board::PhaseSwitch::ControllerLevels: {
        const auto r = m_bus.smbusRead(0x31, 0x11);
        if (value == 0) {
            m_bus.smbusWrite(0x30, 0x11, static_cast<std::uint8_t>(r & 0xF7));
        } else if (value >= 1 && value <= 3) {
            m_bus.smbusWrite(0x30, 0x11, static_cast<std::uint8_t>(r | 0x08));
            m_bus.smbusWrite(0x30, 0x01, k2912Levels[static_cast<std::size_t>(value - 1)]);
        }
        break;
    }
    case board::PhaseSwitch::SuperIoLevels: {
        const auto a = m_bus.sioRead(0x81);
        if (value == 0)
            m_bus.sioWrite(0x81, static_cast<std::uint8_t>(a & 0xFE));
        else if (value >= 1 && value <= 3)
            m_bus.sioWrite(0x81, static_cast<std::uint8_t>(
                                     (a & 0x0E) | kSio81Levels[static_cast<std::size_t>(value - 1)]));
        break;
    }
    case board::PhaseSwitch::NorthbridgeSwitch:
        // The northbridge switch only turns automatic phases off; the level itself is fixed.
        m_bus.northbridgeWrite(kNorthbridgePhaseRegister,
                               m_bus.northbridgeRead(kNorthbridgePhaseRegister) | 0x80);
        break;
    case board::PhaseSwitch::SuperIoPin:
        if (traits.revisionSixVariant && board.versionHasSix()) {
            m_bus.portSetBit(kPhasePortEnable, 3, true);
            m_bus.portSetBit(kPhasePortDirection, 3, false);
            m_bus.portSetBit(kPhasePortLevel, 3, value == 0);
            return std::nullopt;
        }
        m_bus.sioSetBit(0xD0, 0, true);
        m_bus.sioSetBit(0xD1, 0, value == 0);
        return value != 0 ? 1 : 0;
    case board::PhaseSwitch::FalwickSwitch: {
        const auto r = m_bus.smbusRead(0x31, 0x11, SmbusPath::Falwick);
        m_bus.smbusWrite(0x30, 0x11, static_cast<std::uint8_t>((r & 0xF0) | (value == 1 ? 0x08 : 0x00)),
                         SmbusPath::Falwick);
        break;
    }
    case board::PhaseSwitch::SuperIoCount:
    case board::PhaseSwitch::None:
        break;
    }
    return std::nullopt;
}

} // namespace solvane::hw
