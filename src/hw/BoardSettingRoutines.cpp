#include "hw/BoardSettingRoutines.h"

#include "board/BoardTraits.h"
#include "hw/VoltageLimits.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace solvane::hw {

namespace {

// The stability question for each voltage setting; the six memory references share one text.
struct StabilityWarning {
    Setting setting;
    std::string_view text;
};

constexpr std::array<StabilityWarning, 12> kStabilityWarnings{{
    {Setting::CpuVoltage, "This is not a stable CPU voltage !\nDo you want to do it?"},
    {Setting::VttFsbVoltage, "This is not a stable VTT FSB voltage !\nDo you want to do it?"},
    {Setting::CpuPllVoltage, "This is not a stable CPU PLL voltage !\nDo you want to do it?"},
    {Setting::DdrVoltage, "This is not a stable DDR voltage !\nDo you want to do it?"},
    {Setting::DdrVrefCaA, "This is not a stable DDR ref voltage !\nDo you want to do it?"},
    {Setting::DdrVrefCaB, "This is not a stable DDR ref voltage !\nDo you want to do it?"},
    {Setting::DdrVrefCaC, "This is not a stable DDR ref voltage !\nDo you want to do it?"},
    {Setting::DdrVrefDaA, "This is not a stable DDR ref voltage !\nDo you want to do it?"},
    {Setting::DdrVrefDaB, "This is not a stable DDR ref voltage !\nDo you want to do it?"},
    {Setting::DdrVrefDaC, "This is not a stable DDR ref voltage !\nDo you want to do it?"},
    {Setting::MchVoltage, "This is not a stable Northbridge voltage !\nDo you want to do it?"},
    {Setting::IchVoltage, "This is not a stable Southbridge voltage !\nDo you want to do it?"},
}};

constexpr std::string_view kWarningCaption = "Warning!";
constexpr std::string_view kLoadTooHighMessage =
    "You can not adjust CPU to this phase now because CPU loading is too high !";

// Read-back order of every setting: ascending, except the LEDs.
constexpr std::array<Setting, 11> kLedReadOrder{
    Setting::AllLed,         Setting::CpuPhaseLed, Setting::CpuVttdPhaseLed,
    Setting::DdrPhaseLed,    Setting::MchPhaseLed, Setting::S0S3Led,
    Setting::PcieSlotLed,    Setting::PciSlotLed,  Setting::PowerResetLed,
    Setting::CpuLoadLineLed, Setting::HdLed};

// 2902 and 2905 keep five voltages in the nibbles of one memory regulator: 0x50 register 1 holds
// DDR (high nibble) and ICH (low); register 2 holds the shared low nibble of the memory reference
// and the northbridge (and the PLL read-out).
constexpr std::uint8_t kNibbleDevice = 0x50;

// ALL_LED on the boards whose LED register pair sits on one controller: register 1 takes
// (old AND keep) OR set for v = 1 and for v = 0, register 0x11 switches the CPU phase and power
// LEDs.
struct AllLedPattern {
    int boardCode;
    std::uint8_t device;
    std::uint8_t keepOn;
    std::uint8_t setOn;
    std::uint8_t keepOff;
    std::uint8_t setOff;
};
constexpr std::array<AllLedPattern, 2> kAllLedPatterns{{
    {2917, 0x34, 0xA7, 0x27, 0xD8, 0x58},
    {2916, 0x30, 0xF7, 0x37, 0xC8, 0x08},
}};

bool isLed(Setting setting) {
    return indexOf(setting) >= indexOf(Setting::AllLed);
}

bool bitRuleHolds(BitRule rule, SettingValue v) {
    switch (rule) {
    case BitRule::On:
        return true;
    case BitRule::Off:
        return false;
    case BitRule::WhenZero:
        return v == 0;
    case BitRule::WhenNonZero:
        return v != 0;
    case BitRule::WhenOne:
        return v == 1;
    }
    return false;
}

std::uint8_t applyMask(std::uint8_t old, std::uint8_t mask, bool on) {
    return on ? static_cast<std::uint8_t>(old | mask) : static_cast<std::uint8_t>(old & ~mask);
}

} // namespace

BoardSettingRoutines::BoardSettingRoutines(BoardBus& bus, CpuPhaseControl& phases, platform::Prompt& prompt,
                                           SettingVector& values, int& pendingSettingIndex,
                                           SettingRoutineState& state)
    : m_bus(bus), m_phases(phases), m_prompt(prompt), m_values(values),
      m_pendingSettingIndex(pendingSettingIndex), m_state(state) {}

void BoardSettingRoutines::setBoard(const BoardIdentity& board, int maxCpuPhases) {
    m_board = board;
    m_maxCpuPhases = maxCpuPhases;
}

void BoardSettingRoutines::Apply(int k) {
    if (!m_state.checksEnabled || m_state.busy)
        return;
    if (k < 0 || k >= static_cast<int>(kSettingSlots))
        return;
    m_state.busy = true;
    const auto setting = static_cast<Setting>(k);
    const SettingValue v = value(setting);
    // A setting the board lacks is never written.
    if (v != kNotPresent)
        writeRows(setting, v);
    m_state.busy = false;
    ReadBack(k);
}

void BoardSettingRoutines::writeRows(Setting setting, SettingValue v) {
    const int board = m_board.boardCode;
    if (setting == Setting::CpuPhase) {
        if (const auto led = m_phases.write(m_board, v))
            value(Setting::CpuPhaseLed) = *led;
        m_state.previousPhase = m_state.currentPhase = v;
        return;
    }
    if (setting == Setting::AllLed) {
        writeAllLed(v);
        return;
    }
    if (setting == Setting::CpuPhaseLed && board::traitsOf(board).phaseLed != board::PhaseLed::Rows) {
        writeCpuPhaseLed(v);
        return;
    }
    if (kNibbleBoards.contains(board) && (setting == Setting::DdrVoltage || setting == Setting::DdrVrefCaA ||
                                          setting == Setting::MchVoltage || setting == Setting::IchVoltage)) {
        writeNibble(setting, v);
        return;
    }
    for (const auto& row : kCodeRows)
        if (row.setting == setting && row.boards.contains(board))
            writeCode(row, v);
    for (const auto& row : kBitRows)
        if (row.setting == setting && row.boards.contains(board))
            writeBit(row, v);
}

void BoardSettingRoutines::writeCode(const CodeRow& row, SettingValue v) {
    const auto codes = codeList(row.list, m_board.boardCode, row.setting);
    const long long index = static_cast<long long>(v) + row.offset;
    // An option without a code has no byte to write.
    if (index < 0 || index >= static_cast<long long>(codes.size()))
        return;
    m_bus.smbusWrite(row.device, row.reg, codes[static_cast<std::size_t>(index)]);
}

void BoardSettingRoutines::writeBit(const BitRow& row, SettingValue v) {
    const bool on = bitRuleHolds(row.rule, v);
    switch (row.bus) {
    case RegisterBus::Smbus:
    case RegisterBus::SmbusFalwick: {
        const auto path = row.bus == RegisterBus::Smbus ? SmbusPath::Hoblin : SmbusPath::Falwick;
        m_bus.smbusWrite(row.device, row.reg,
                         applyMask(m_bus.smbusRead(row.device, row.reg, path), row.mask, on), path);
        break;
    }
    case RegisterBus::SuperIo:
        m_bus.sioWrite(row.reg, applyMask(m_bus.sioRead(row.reg), row.mask, on));
        break;
    }
}

void BoardSettingRoutines::writeNibble(Setting setting, SettingValue v) {
    // A nibble holds options 0 to 15; anything else would spill into its neighbour.
    if (v < 0 || v > 0x0F)
        return;
    const auto nibble = static_cast<std::uint8_t>(v);
    const std::uint8_t reg = (setting == Setting::DdrVoltage || setting == Setting::IchVoltage) ? 1 : 2;
    const auto old = m_bus.smbusRead(kNibbleDevice, reg);
    if (setting == Setting::DdrVoltage) {
        m_bus.smbusWrite(kNibbleDevice, reg, static_cast<std::uint8_t>((nibble << 4) | (old & 0x0F)));
        return;
    }
    m_bus.smbusWrite(kNibbleDevice, reg, static_cast<std::uint8_t>((old & 0xF0) | nibble));
    // The memory reference and the northbridge share their nibble: one follows the other.
    if (setting == Setting::DdrVrefCaA)
        value(Setting::MchVoltage) = v;
    else if (setting == Setting::MchVoltage)
        value(Setting::DdrVrefCaA) = v;
}

void BoardSettingRoutines::writeAllLed(SettingValue v) {
    const int board = m_board.boardCode;
    const bool on = v == 1;
    const auto pattern = std::find_if(kAllLedPatterns.begin(), kAllLedPatterns.end(),
                                      [&](const AllLedPattern& p) { return p.boardCode == board; });
    if (pattern != kAllLedPatterns.end()) {
        for (int led = indexOf(Setting::CpuVttdPhaseLed); led <= indexOf(Setting::PcieSlotLed); ++led)
            value(static_cast<Setting>(led)) = on ? 1 : 0;
        const auto leds = m_bus.smbusRead(pattern->device, 0x01);
        m_bus.smbusWrite(pattern->device, 0x01,
                         on ? static_cast<std::uint8_t>((leds & pattern->keepOn) | pattern->setOn)
                            : static_cast<std::uint8_t>((leds & pattern->keepOff) | pattern->setOff));
        const auto switches = m_bus.smbusRead(pattern->device, 0x11);
        m_bus.smbusWrite(pattern->device, 0x11,
                         on ? static_cast<std::uint8_t>((switches & 0xFE) | 0x04)
                            : static_cast<std::uint8_t>((switches & 0xFB) | 0x01));
        value(Setting::CpuPhaseLed) = value(Setting::PowerResetLed) = on ? 1 : 0;
        return;
    }
    switch (board::traitsOf(board).allLedPath) {
    case board::AllLedPath::LedController:
        for (int led = indexOf(Setting::CpuPhaseLed); led <= indexOf(Setting::HdLed); ++led)
            value(static_cast<Setting>(led)) = on ? 1 : 0;
        m_bus.smbusWrite(0x3C, 0x01, on ? 0x00 : 0xFF);
        m_bus.smbusSetBit(0x34, 0x01, 4, !on);
        break;
    case board::AllLedPath::SuperIoF1: {
        m_bus.sioWrite(0xD1, static_cast<std::uint8_t>(m_bus.sioRead(0xD1) + 0x80));
        auto f1 = m_bus.sioRead(0xF1);
        f1 = withBit(f1, 0, v == 0);
        // The memory and northbridge LEDs keep their own switches, with the polarity of their rows.
        f1 = withBit(f1, 1, value(Setting::DdrPhaseLed) == 0);
        f1 = withBit(f1, 2, value(Setting::MchPhaseLed) == 0);
        m_bus.sioWrite(0xF1, f1);
        break;
    }
    case board::AllLedPath::Smbus36: {
        const auto old = m_bus.smbusRead(0x36, 0x01);
        m_bus.smbusWrite(0x36, 0x01,
                         on ? static_cast<std::uint8_t>((old & 0xBF) | 0x10)
                            : static_cast<std::uint8_t>((old & 0xEF) | 0x40));
        value(Setting::CpuPhaseLed) = value(Setting::PowerResetLed) = on ? 1 : 0;
        break;
    }
    case board::AllLedPath::None:
        break;
    }
}

BoardSettingRoutines::LedPath2904 BoardSettingRoutines::ledPath2904() {
    const auto strap = m_bus.portRead(0x48F) & 0x1C;
    if (strap == 0x0C)
        return LedPath2904::SuperIo;
    if (strap == 0x1C || m_board.versionHasSix())
        return LedPath2904::Ports;
    return LedPath2904::None;
}

void BoardSettingRoutines::writeCpuPhaseLed(SettingValue v) {
    if (board::traitsOf(m_board.boardCode).phaseLed == board::PhaseLed::ToggledOnWrite) {
        // The LED follows every write of this register: each application toggles it.
        m_bus.sioWrite(0xD1, static_cast<std::uint8_t>(m_bus.sioRead(0xD1) + 0x80));
        return;
    }
    switch (ledPath2904()) {
    case LedPath2904::SuperIo:
        m_bus.sioSetBit(0xD0, 1, true);
        m_bus.sioSetBit(0xD1, 1, v == 0);
        break;
    case LedPath2904::Ports:
        m_bus.portSetBit(0x480, 2, true);
        m_bus.portSetBit(0x484, 2, false);
        m_bus.portSetBit(0x48C, 2, v == 0);
        break;
    case LedPath2904::None:
        break;
    }
}

void BoardSettingRoutines::ReadBack(int k) {
    if (!m_state.checksEnabled)
        return;
    if (k == kReadAllSettings) {
        for (int setting = 0; setting < indexOf(Setting::AllLed); ++setting)
            readSetting(static_cast<Setting>(setting));
        for (const auto led : kLedReadOrder)
            readSetting(led);
        return;
    }
    if (k >= 0 && k < static_cast<int>(kSettingSlots))
        readSetting(static_cast<Setting>(k));
}

void BoardSettingRoutines::readSetting(Setting setting) {
    const int board = m_board.boardCode;
    // A setting the board lacks stays absent whatever its registers read.
    if (value(setting) == kNotPresent)
        return;
    if (setting == Setting::CpuPhase) {
        const auto reading = m_phases.read(m_board);
        m_state.levelCounts[static_cast<std::size_t>(setting)] = reading.levelCount;
        m_state.activeCpuPhases = reading.activePhases.value_or(0);
        if (reading.cpuPhase)
            value(setting) = *reading.cpuPhase;
        m_state.phaseStep = phaseStepFor(value(setting));
        return;
    }
    if (setting == Setting::CpuPhaseLed && board::traitsOf(board).phaseLed != board::PhaseLed::Rows) {
        readCpuPhaseLed();
        return;
    }
    if (kNibbleBoards.contains(board) && readNibble(setting))
        return;
    for (const auto& row : kCodeRows)
        if (row.setting == setting && row.boards.contains(board) && row.readBack)
            readCode(row);
    for (const auto& row : kPhaseReadRows)
        if (row.setting == setting && row.boards.contains(board))
            readPhase(row);
    if (isLed(setting))
        for (const auto& row : kBitRows)
            if (row.setting == setting && row.boards.contains(board) && row.readBack)
                readLed(row);
}

void BoardSettingRoutines::readCode(const CodeRow& row) {
    const auto codes = codeList(row.list, m_board.boardCode, row.setting);
    auto byte = m_bus.smbusRead(row.device, row.reg);
    // A register that reads 0 holds the neutral setting of a shared list.
    if (byte == 0 && row.list != CodeListId::Own)
        byte = neutralCode(row.list);
    // Two options of one list may share a byte (the 2902 CPU ranges overlap): a value that already
    // stands for the byte read is kept rather than moved to the first option with it.
    const long long current = static_cast<long long>(value(row.setting)) + row.offset;
    if (current >= 0 && current < static_cast<long long>(codes.size()) &&
        codes[static_cast<std::size_t>(current)] == byte)
        return;
    const auto found = std::find(codes.begin(), codes.end(), byte);
    if (found == codes.end())
        return; // a byte no option stands for: the setting keeps its value
    const auto index = static_cast<int>(found - codes.begin()) - row.offset;
    if (index >= 0)
        value(row.setting) = index;
}

void BoardSettingRoutines::readPhase(const PhaseReadRow& row) {
    const auto path = row.bus == RegisterBus::SmbusFalwick ? SmbusPath::Falwick : SmbusPath::Hoblin;
    const auto read = [&](std::uint8_t reg) {
        return row.bus == RegisterBus::SuperIo ? m_bus.sioRead(reg) : m_bus.smbusRead(row.device, reg, path);
    };
    const bool fixed = bitSet(read(row.stateReg), row.stateBit) == row.fixedWhenSet;
    const int count = bitSet(read(row.countReg), row.countBit) ? row.countWhenSet : 1;
    m_state.levelCounts[static_cast<std::size_t>(row.setting)] = count;
    value(row.setting) = fixed ? count - 1 : 0;
}

void BoardSettingRoutines::readLed(const BitRow& row) {
    std::uint8_t bits = 0;
    switch (row.bus) {
    case RegisterBus::Smbus:
        bits = m_bus.smbusRead(row.device, row.reg) & row.mask;
        break;
    case RegisterBus::SmbusFalwick:
        bits = m_bus.smbusRead(row.device, row.reg, SmbusPath::Falwick) & row.mask;
        break;
    case RegisterBus::SuperIo:
        bits = m_bus.sioRead(row.reg) & row.mask;
        break;
    }
    // On is the state the write gives for v = 1; a two-bit switch is on when either bit is.
    const bool on = row.rule == BitRule::WhenOne ? bits != 0 : bits == 0;
    value(row.setting) = on ? 1 : 0;
}

void BoardSettingRoutines::readCpuPhaseLed() {
    if (board::traitsOf(m_board.boardCode).phaseLed == board::PhaseLed::ToggledOnWrite) {
        value(Setting::CpuPhaseLed) = m_bus.sioBit(0xD1, 7) ? 0 : 1;
        return;
    }
    switch (ledPath2904()) {
    case LedPath2904::SuperIo:
        value(Setting::CpuPhaseLed) = m_bus.sioBit(0xD1, 1) ? 0 : 1;
        break;
    case LedPath2904::Ports:
        value(Setting::CpuPhaseLed) = m_bus.portBit(0x48C, 2) ? 0 : 1;
        break;
    case LedPath2904::None:
        break;
    }
}

bool BoardSettingRoutines::readNibble(Setting setting) {
    const auto nibbleOf = [&](std::uint8_t reg, bool high) {
        const auto byte = m_bus.smbusRead(kNibbleDevice, reg, SmbusPath::Falwick);
        return static_cast<SettingValue>(high ? byte >> 4 : byte & 0x0F);
    };
    SettingValue read = 0;
    switch (setting) {
    case Setting::DdrVoltage:
        read = nibbleOf(1, true);
        break;
    case Setting::IchVoltage:
        read = nibbleOf(1, false);
        break;
    case Setting::CpuPllVoltage:
    case Setting::DdrVrefCaA:
    case Setting::MchVoltage:
        read = nibbleOf(2, false);
        break;
    default:
        return false;
    }
    // A nibble beyond the setting's options stands for none of them: the setting keeps its value.
    const auto options = std::find_if(kNibbleOptionCounts.begin(), kNibbleOptionCounts.end(),
                                      [&](const NibbleOptions& o) { return o.setting == setting; });
    if (options == kNibbleOptionCounts.end() || read < options->count)
        value(setting) = read;
    return true;
}

bool BoardSettingRoutines::confirmStable(int k, SettingValue v) {
    const auto setting = static_cast<Setting>(k);
    const auto warning = std::find_if(kStabilityWarnings.begin(), kStabilityWarnings.end(),
                                      [&](const StabilityWarning& w) { return w.setting == setting; });
    if (warning == kStabilityWarnings.end())
        return true;
    const auto limits = voltageLimits(m_board.boardCode, setting);
    if (!limits || limits->isStable(v))
        return true;
    const auto answer = m_prompt.ask(
        {std::string(warning->text), std::string(kWarningCaption), platform::PromptButtons::OkCancel, 0});
    return answer == platform::PromptAnswer::Ok;
}

bool BoardSettingRoutines::refusedForLoad(SettingValue v) const {
    const int load = m_state.cpuPower;
    if (board::traitsOf(m_board.boardCode).lowPowerPhaseLimits)
        return (load > 550 && v <= 3) || (load > 400 && v <= 2) || (load > 300 && v <= 1);
    return (load > 8000 && v <= 4 && m_maxCpuPhases == 6) || (load > 7000 && v <= 3) ||
           (load > 6000 && v <= 2) || (load > 5000 && v <= 1);
}

void BoardSettingRoutines::CheckAndApply(int k) {
    if (k < 0 || k >= static_cast<int>(kSettingSlots))
        return;
    if (m_state.checksEnabled) {
        const SettingValue v = m_values[static_cast<std::size_t>(k)];
        if (!confirmStable(k, v)) {
            m_values[static_cast<std::size_t>(k)] = m_state.rememberedValue;
            return;
        }
        if (k == indexOf(Setting::CpuPhase)) {
            if (v != 0 && refusedForLoad(v)) {
                value(Setting::CpuPhase) = m_state.previousPhase;
                m_prompt.tell(std::string(kLoadTooHighMessage));
                m_values[static_cast<std::size_t>(k)] = m_state.rememberedValue;
                return;
            }
            m_state.phaseStep = phaseStepFor(v);
        }
    }
    m_pendingSettingIndex = k;
    Apply(k);
}

} // namespace solvane::hw
