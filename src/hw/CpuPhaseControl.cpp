#include "hw/CpuPhaseControl.h"

#include "board/BoardTraits.h"
#include "hw/BoardRegister.h"

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

// The fixed level a register holds: the first level whose pattern it carries; the top level when it
// carries none (or the board offers fewer levels).
int fixedLevel(std::span<const std::uint8_t> levels, std::uint8_t value, std::uint8_t bits, int levelCount) {
    for (std::size_t i = 0; i < levels.size(); ++i)
        if ((value & bits) == levels[i] && static_cast<int>(i) + 1 <= levelCount - 1)
            return static_cast<int>(i) + 1;
    return levelCount - 1;
}

// Switches whose level count is a field compared against thresholds, whose fixed state is one bit,
// and whose fixed levels 1 to 3 are patterns in a level register. Where the fixed bit and the levels
// share a register, a level's pattern carries the fixed bit and keptBits are other switches' bits.
struct LevelRegisterSwitch {
    board::PhaseSwitch kind;
    BoardRegister countRegister;
    std::uint8_t countMask;
    std::array<int, 3> countThresholds;
    BoardRegister fixedRegister;
    int fixedBit;
    BoardRegister levelRegister;
    std::uint8_t levelBits; // the bits that tell the levels apart on a read
    std::uint8_t keptBits;  // the bits a level write keeps, in a shared register
    std::array<std::uint8_t, 3> levels;
};

// clang-format off
constexpr std::array<LevelRegisterSwitch, 2> kLevelRegisterSwitches{{
    {.kind = board::PhaseSwitch::ControllerLevels,
     .countRegister = smbusRegister(0x31, 0x10), .countMask = 0x07, .countThresholds = {1, 2, 6},
     .fixedRegister = smbusRegister(0x31, 0x11), .fixedBit = 3,
     .levelRegister = smbusRegister(0x31, 0x01), .levelBits = 0xFF, .keptBits = 0x00, .levels = {5, 4, 0}},
    // Bits 1 to 3 of Super I/O 0x81 belong to the memory and chipset phase switches.
    {.kind = board::PhaseSwitch::SuperIoLevels,
     .countRegister = superIoRegister(0xD2), .countMask = 0x07, .countThresholds = {1, 5, 6},
     .fixedRegister = superIoRegister(0x81), .fixedBit = 0,
     .levelRegister = superIoRegister(0x81), .levelBits = 0xF1, .keptBits = 0x0E, .levels = {0xB1, 0x31, 0x11}},
}};
// clang-format on

// Switches of one bit that, while set, leaves the phases to the regulator; a write sets it, or on
// the boards whose pins select the level, sets it for 0 and clears it for a fixed level, after
// enabling the pins. The level count comes from the board's traits (1 where they give none).
struct PinStep {
    BoardRegister reg;
    int bit;
    bool on;
};
struct AutomaticBitSwitch {
    board::PhaseSwitch kind;
    bool revisionSix; // the row of a board's revision-six variant
    BoardRegister automaticRegister;
    int automaticBit;
    bool fixedLevelClearsBit;
    std::array<PinStep, 2> enableSteps;
    std::size_t enableStepCount;
    bool drivesPhaseLed; // the pin also drives the CPU phase LED: CPU_PHASE_LED follows the level
};

// clang-format off
constexpr std::array<AutomaticBitSwitch, 3> kAutomaticBitSwitches{{
    {.kind = board::PhaseSwitch::NorthbridgeSwitch, .revisionSix = false,
     .automaticRegister = northbridgeRegister(0xA0), .automaticBit = 7, .fixedLevelClearsBit = false,
     .enableSteps = {}, .enableStepCount = 0, .drivesPhaseLed = false},
    {.kind = board::PhaseSwitch::SuperIoPin, .revisionSix = false,
     .automaticRegister = superIoRegister(0xD1), .automaticBit = 0, .fixedLevelClearsBit = true,
     .enableSteps = {{{superIoRegister(0xD0), 0, true}}}, .enableStepCount = 1, .drivesPhaseLed = true},
    {.kind = board::PhaseSwitch::SuperIoPin, .revisionSix = true,
     .automaticRegister = portRegister(0x48C), .automaticBit = 3, .fixedLevelClearsBit = true,
     .enableSteps = {{{portRegister(0x480), 3, true}, {portRegister(0x484), 3, false}}}, .enableStepCount = 2,
     .drivesPhaseLed = false},
}};
// clang-format on

// A Super I/O field that reports the phase count itself; the count is also the level in use.
struct CountRegisterValue {
    std::uint8_t value;
    int levels;
};
constexpr BoardRegister kPhaseCountRegister = superIoRegister(0xC2);
constexpr std::uint8_t kPhaseCountMask = 0x07;
constexpr std::array<CountRegisterValue, 2> kPhaseCountValues{{{5, 2}, {7, 3}}};

// The controller on Falwick's path whose bit 3 holds four phases; without it the board does not say
// how many levels it has.
constexpr BoardRegister kFalwickPhaseRegister = falwickSmbusRegister(0x31, 0x11);
constexpr int kFalwickFourPhaseBit = 3;
constexpr int kFalwickFourPhaseLevels = 4;

constexpr std::uint8_t kActivePhaseRegister = 0x12;

template <class Row> const Row* findKind(std::span<const Row> rows, board::PhaseSwitch kind) {
    const auto found =
        std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return row.kind == kind; });
    return found == rows.end() ? nullptr : &*found;
}

const AutomaticBitSwitch* findAutomaticBitSwitch(board::PhaseSwitch kind, bool revisionSix) {
    const auto found =
        std::find_if(kAutomaticBitSwitches.begin(), kAutomaticBitSwitches.end(),
                     [&](const auto& row) { return row.kind == kind && row.revisionSix == revisionSix; });
    return found == kAutomaticBitSwitches.end() ? nullptr : &*found;
}

void readLevelRegister(BoardBus& bus, const LevelRegisterSwitch& row, CpuPhaseReading& reading) {
    reading.levelCount = countAbove(static_cast<int>(readRegister(bus, row.countRegister) & row.countMask),
                                    row.countThresholds);
    const auto fixed = static_cast<std::uint8_t>(readRegister(bus, row.fixedRegister));
    if (!bitSet(fixed, row.fixedBit)) {
        reading.cpuPhase = 0;
        return;
    }
    const auto level = row.levelRegister == row.fixedRegister
                           ? fixed
                           : static_cast<std::uint8_t>(readRegister(bus, row.levelRegister));
    reading.cpuPhase = fixedLevel(row.levels, level, row.levelBits, reading.levelCount);
}

void readAutomaticBit(BoardBus& bus, const AutomaticBitSwitch& row, const board::BoardTraits& traits,
                      CpuPhaseReading& reading) {
    reading.levelCount = std::max(1, traits.switchedPhaseLevels);
    // An on/off switch reads 1 ("Disable") when fixed; a level switch reads its top level.
    const int fixedValue = traits.cpuPhaseIsSwitch ? 1 : reading.levelCount - 1;
    reading.cpuPhase = registerBit(bus, row.automaticRegister, row.automaticBit) ? 0 : fixedValue;
}

void readPhaseCount(BoardBus& bus, CpuPhaseReading& reading) {
    const auto value = readRegister(bus, kPhaseCountRegister) & kPhaseCountMask;
    int levels = 1;
    for (const auto& known : kPhaseCountValues)
        if (known.value == value)
            levels = known.levels;
    reading.levelCount = levels;
    reading.cpuPhase = levels;
}

void readFalwickSwitch(BoardBus& bus, platform::RandomSource& random, CpuPhaseReading& reading) {
    if (registerBit(bus, kFalwickPhaseRegister, kFalwickFourPhaseBit)) {
        reading.levelCount = kFalwickFourPhaseLevels;
        reading.cpuPhase = kFalwickFourPhaseLevels;
    } else {
        reading.levelCount = static_cast<int>(random.next() % 2) + 2;
        reading.cpuPhase = 0;
    }
}

void writeLevelRegister(BoardBus& bus, const LevelRegisterSwitch& row, int value) {
    const auto fixed = static_cast<std::uint8_t>(readRegister(bus, row.fixedRegister));
    if (value == 0) {
        writeRegister(bus, row.fixedRegister, withBit(fixed, row.fixedBit, false));
        return;
    }
    if (value < 1 || value > static_cast<int>(row.levels.size()))
        return;
    const auto pattern = row.levels[static_cast<std::size_t>(value - 1)];
    if (row.levelRegister == row.fixedRegister) {
        writeRegister(bus, row.fixedRegister, (fixed & row.keptBits) | pattern);
        return;
    }
    writeRegister(bus, row.fixedRegister, withBit(fixed, row.fixedBit, true));
    writeRegister(bus, row.levelRegister, pattern);
}

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
    const bool revisionSix = traits.revisionSixVariant && board.versionHasSix();
    if (const auto* levels = findKind<LevelRegisterSwitch>(kLevelRegisterSwitches, traits.phaseSwitch))
        readLevelRegister(m_bus, *levels, reading);
    else if (const auto* automatic = findAutomaticBitSwitch(traits.phaseSwitch, revisionSix))
        readAutomaticBit(m_bus, *automatic, traits, reading);
    else if (traits.phaseSwitch == board::PhaseSwitch::SuperIoCount)
        readPhaseCount(m_bus, reading);
    else if (traits.phaseSwitch == board::PhaseSwitch::FalwickSwitch)
        readFalwickSwitch(m_bus, m_random, reading);
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
    const bool revisionSix = traits.revisionSixVariant && board.versionHasSix();
    if (const auto* levels = findKind<LevelRegisterSwitch>(kLevelRegisterSwitches, traits.phaseSwitch)) {
        writeLevelRegister(m_bus, *levels, value);
    } else if (const auto* automatic = findAutomaticBitSwitch(traits.phaseSwitch, revisionSix)) {
        for (std::size_t i = 0; i < automatic->enableStepCount; ++i) {
            const auto& step = automatic->enableSteps[i];
            setRegisterBit(m_bus, step.reg, step.bit, step.on);
        }
        setRegisterBit(m_bus, automatic->automaticRegister, automatic->automaticBit,
                       !automatic->fixedLevelClearsBit || value == 0);
        if (automatic->drivesPhaseLed)
            return value != 0 ? 1 : 0;
    } else if (traits.phaseSwitch == board::PhaseSwitch::FalwickSwitch) {
        const auto old = readRegister(m_bus, kFalwickPhaseRegister);
        writeRegister(m_bus, kFalwickPhaseRegister,
                      (old & 0xF0U) | (value == 1 ? 1U << kFalwickFourPhaseBit : 0U));
    }
    return std::nullopt;
}

} // namespace solvane::hw
