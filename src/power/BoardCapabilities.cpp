#include "power/BoardCapabilities.h"

#include "power/BoardTable.h"
#include "power/PowerModeState.h"

namespace solvane::power {

namespace {

// PCI 0:24:3, the northbridge's miscellaneous-control function on the AMD boards.
constexpr std::uint8_t kNorthbridgeBus = 0;
constexpr std::uint8_t kNorthbridgeDevice = 24;
constexpr std::uint8_t kNorthbridgeFunction = 3;
constexpr std::uint8_t kCpuVoltageBaseRegister = 0xE8;
constexpr unsigned kCpuVoltageBaseShift = 12;
constexpr std::uint32_t kCpuVoltageBaseMask = 0x3;
constexpr std::uint32_t kLowBaseValue = 1;

void applyLists(std::span<const BoardOptionList> lists, hw::Falwick& chipset, BoardOptions& options,
                SettingVector& defaultTargets) {
    for (const auto& entry : lists) {
        const bool lowBase =
            entry.lowBaseList != nullptr && readCpuVoltageBase(chipset) == CpuVoltageBase::Low;
        auto list = buildOptionList(lowBase ? *entry.lowBaseList : *entry.list);
        defaultTargets[slotOf(entry.setting)] = list.defaultIndex;
        options.lists[slotOf(entry.setting)] = std::move(list);
    }
}

void applyBoard(const BoardRecord& board, hw::Falwick& chipset, PlatformInfo& platform, BoardOptions& options,
                SettingVector& defaultTargets) {
    platform.BoardSupported = true;
    platform.CpuVendor = board.cpuVendor;
    platform.MaxCpuPhases = board.maxCpuPhases;
    platform.FanCapable = board.fanControl;

    applyLists(board.familyLists, chipset, options, defaultTargets);
    applyLists(board.boardLists, chipset, options, defaultTargets);
    defaultTargets[slotOf(Setting::CpuVttdPhase)] = board.cpuVttdPhase;
    defaultTargets[slotOf(Setting::CpuPhase)] = board.cpuPhase;
    defaultTargets[slotOf(Setting::DdrPhase)] = board.ddrPhase;
    defaultTargets[slotOf(Setting::MchPhase)] = board.mchPhase;
    defaultTargets[slotOf(Setting::SmartFan)] = board.smartFan;
    for (auto led = slotOf(Setting::AllLed); led < kSettingSlots; ++led)
        if ((board.ledSwitches & slotBit(led)) != 0)
            defaultTargets[led] = 0;
}

} // namespace

const OptionList& BoardOptions::operator[](Setting setting) const {
    static const OptionList kNoList;
    const auto index = slotOf(setting);
    return index < lists.size() ? lists[index] : kNoList;
}

CpuVoltageBase readCpuVoltageBase(hw::Falwick& chipset) {
    const auto value = chipset.PCI_RW(kNorthbridgeBus, kNorthbridgeDevice, kNorthbridgeFunction,
                                      kCpuVoltageBaseRegister, 0, hw::Falwick::kRead);
    return ((value >> kCpuVoltageBaseShift) & kCpuVoltageBaseMask) == kLowBaseValue ? CpuVoltageBase::Low
                                                                                    : CpuVoltageBase::High;
}

void InitBoardCapabilities(const platform::Registry& registry, hw::Falwick& chipset, PlatformInfo& platform,
                           BoardOptions& options, SettingVector& defaultTargets, BoardInitHooks& hooks) {
    hooks.setChecksEnabled(true);

    platform.BoardSupported = false;
    platform.TestPlatform = false;
    platform.CpuVendor = {};
    platform.MaxCpuPhases = 0;
    platform.FanCapable = false;
    platform.SensorKind = sensorKindFor(platform.BoardCode);
    options = BoardOptions{};
    defaultTargets = notPresentVector();

    if (const auto* board = findBoard(platform.BoardCode)) {
        applyBoard(*board, chipset, platform, options, defaultTargets);
        hooks.deriveModeVectors(defaultTargets);
    } else {
        platform.TestPlatform = registry.readString(kProductKey, kTestPlatformValue).value_or("0") == "1";
    }
    hooks.readAllSettings();

    hooks.setChecksEnabled(false);
}

} // namespace solvane::power
