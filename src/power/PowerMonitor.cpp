#include "power/PowerMonitor.h"

#include "board/BoardTraits.h"
#include "hw/CpuPhaseControl.h"
#include "power/ModeTargets.h"
#include "power/PhaseReadout.h"

#include <algorithm>
#include <cmath>

namespace solvane::power {

namespace {

// The load rule: above each CPU power threshold a user's fixed phase count below the limit is
// raised to the limit, by writing the regulator's level pattern directly.
struct LoadStep {
    int threshold;
    SettingValue below;
    std::uint8_t pattern;
    SettingValue forced;
};
constexpr std::array<LoadStep, 4> kLoadSteps{{
    {8000, 5, 0x80, 5},
    {7000, 4, 0x90, 4},
    {6000, 3, 0x91, 3},
    {5000, 2, 0x93, 2},
}};
constexpr std::uint8_t kPhaseRegulator = 0x32;
// The level patterns above are those of the regulator at 0x32 (2917, 2916). 2915 and 2910 keep their
// regulator elsewhere (0x32 holds 2910's memory and chipset phase switches): they are forced to the
// same level through their own phase write.

// Smart fan: the temperature steps above the mode's base and the level they lead to.
int nextFanLevel(int temperature, int base, int level) {
    if ((temperature > base + 35 && level < 7) || level == 8)
        return 7;
    if (temperature > base + 25 && level < 5)
        return 5;
    if (temperature > base + 15 && level < 3)
        return 3;
    if (temperature > base + 5 && level < 1)
        return 1;
    if (temperature < base + 30 && level > 5)
        return 5;
    if (temperature < base + 20 && level > 3)
        return 3;
    if (temperature < base + 10 && level > 1)
        return 1;
    if (temperature < base && level > 0)
        return 0;
    return level;
}

int fanBase(PowerMode mode) {
    switch (mode) {
    case PowerMode::Optimize:
        return 15;
    case PowerMode::Max:
        return 25;
    case PowerMode::Default:
    case PowerMode::None:
        break;
    }
    return 5;
}

// A firmware fan register byte as a fan level.
int fanLevelOf(std::uint8_t duty) {
    static constexpr std::array<std::uint8_t, 7> kAbove{0x80, 0x90, 0xA0, 0xB0, 0xC0, 0xE0, 0xF0};
    int level = 0;
    for (std::size_t i = 0; i < kAbove.size(); ++i)
        if (duty > kAbove[i])
            level = static_cast<int>(i) + 1;
    return level;
}

constexpr std::uint8_t kCmosFanEnable = 0x96;
constexpr std::uint8_t kCmosFanMode = 0x94;

} // namespace

PowerMonitor::PowerMonitor(Context context) : m_context(context) {}

PowerMonitor::~PowerMonitor() {
    m_context.scheduler.killTimers(this);
}

void PowerMonitor::scheduleApply(PowerMode mode) {
    const auto apply = [this](int timer, void (PowerMonitor::*action)()) {
        m_context.scheduler.setTimer(this, timer, kApplyDelayMs, [this, timer, action] {
            m_context.scheduler.killTimer(this, timer);
            (this->*action)();
        });
    };
    switch (mode) {
    case PowerMode::Default:
        apply(kApplyDefaultTimer, &PowerMonitor::ApplyDefault);
        break;
    case PowerMode::Optimize:
        apply(kApplyOptimizeTimer, &PowerMonitor::ApplyOptimize);
        break;
    case PowerMode::Max:
        apply(kApplyMaxTimer, &PowerMonitor::ApplyMax);
        break;
    case PowerMode::None:
        break;
    }
}

void PowerMonitor::SelectMode(PowerMode mode) {
    if (m_context.modes.ActiveMode != mode)
        scheduleApply(mode);
    m_lastSeenMode = mode;
    m_context.modes.selectMode(mode);
    if (m_modeButtonsChanged)
        m_modeButtonsChanged();
}

void PowerMonitor::ApplyDefault() {
    if (m_systemProfiles != nullptr) {
        applySystemProfile(PowerMode::Default);
        return;
    }
    auto& modes = m_context.modes;
    m_context.scheduler.killTimer(this, kRefreshTimer);
    ApplyTargets(modes, m_context.commands, modes.DefaultTargets);
    m_context.measurement.restartForMode(PowerMode::Default);
    m_thisPc.restartForMode(PowerMode::Default);
    auto& library = m_context.library;
    library.EnableSATA();
    library.SetPowerMode(m_context.platform.OsKind == OsFlavour::Vista ? 8 : 0);
    library.CPU_THROTTLING(8);
    finishApply(PowerMode::Default);
}

void PowerMonitor::startSavingApply(PowerMode mode) {
    auto& modes = m_context.modes;
    m_context.scheduler.killTimer(this, kRefreshTimer);
    m_context.measurement.keepDefaultDraw(m_context.registry);
    m_thisPc.keepDefaultDraw(m_context.registry);
    m_context.measurement.restartForMode(mode);
    m_thisPc.restartForMode(mode);
    m_context.library.DisableSATA();
    ApplyTargets(modes, m_context.commands, modes.targetsOf(mode));
}

void PowerMonitor::ApplyOptimize() {
    if (m_systemProfiles != nullptr) {
        applySystemProfile(PowerMode::Optimize);
        return;
    }
    startSavingApply(PowerMode::Optimize);
    m_context.library.CPU_THROTTLING(8);
    if (m_context.platform.OsKind == OsFlavour::Vista)
        m_context.library.SetPowerMode(6);
    finishApply(PowerMode::Optimize);
}

void PowerMonitor::ApplyMax() {
    if (m_systemProfiles != nullptr) {
        applySystemProfile(PowerMode::Max);
        return;
    }
    startSavingApply(PowerMode::Max);
    m_context.library.CPU_THROTTLING(7);
    if (m_context.platform.OsKind == OsFlavour::Xp)
        m_context.library.SetPowerMode(3);
    else if (m_context.platform.OsKind == OsFlavour::Vista)
        m_context.library.SetPowerMode(7);
    finishApply(PowerMode::Max);
}

void PowerMonitor::applySystemProfile(PowerMode mode) {
    m_context.scheduler.killTimer(this, kRefreshTimer);
    m_message = m_systemProfiles->apply(mode);
    if (!m_message.empty()) {
        m_lastSeenMode = m_systemProfiles->mode();
        m_context.modes.selectMode(m_lastSeenMode);
        if (m_modeButtonsChanged)
            m_modeButtonsChanged();
        start();
        return;
    }
    m_context.measurement.restartForMode(mode);
    if (mode == PowerMode::Optimize || mode == PowerMode::Max)
        m_thisPc.keepDefaultDraw(m_context.registry);
    m_thisPc.restartForMode(mode);
    finishApply(mode);
}

void PowerMonitor::finishApply(PowerMode mode) {
    m_context.registry.writeString(kProductKey, kEnableSolvaneValue, std::to_string(static_cast<int>(mode)));
    SaveModeSettings(m_context.modes, m_context.registry);
    Refresh();
    m_context.scheduler.setTimer(this, kRefreshTimer, kRefreshPeriodMs, [this] { tick(); });
}

void PowerMonitor::start() {
    Refresh();
    m_context.scheduler.setTimer(this, kRefreshTimer, kRefreshPeriodMs, [this] { tick(); });
}

void PowerMonitor::tick() {
    auto& modes = m_context.modes;
    // Another page may have changed the mode: apply it as if it had been chosen here.
    if (m_lastSeenMode != PowerMode::None && m_lastSeenMode != modes.ActiveMode)
        scheduleApply(modes.ActiveMode);
    Refresh();
    if (m_modeButtonsChanged)
        m_modeButtonsChanged();
    m_lastSeenMode = modes.ActiveMode;
}

void PowerMonitor::takeStartupPhase() {
    const auto phase = value(Setting::CpuPhase);
    m_userCpuPhases = m_forcedCpuPhases = phase;
    m_context.routines.previousPhase = m_context.routines.currentPhase = phase;
    m_activeCpuPhases = activePhaseCount(phase, m_context.routines.levelCount(Setting::CpuPhase));
}

int PowerMonitor::recordedCpuPhases() const {
    return hw::phaseStepFor(m_context.routines.currentPhase);
}

void PowerMonitor::readPhases() {
    auto& modes = m_context.modes;
    auto& commands = m_context.commands;
    const auto& routines = m_context.routines;
    for (const auto setting :
         {Setting::MchPhase, Setting::DdrPhase, Setting::CpuVttdPhase, Setting::CpuPhase})
        ReadSetting(modes, commands, indexOf(setting));
    // Only the CPU regulator reports the phases it runs.
    const auto readout = [&](Setting setting) {
        return phaseReadout(value(setting), shownPhaseCount(value(setting), 0));
    };
    m_phaseReadouts.chipset = readout(Setting::MchPhase);
    m_phaseReadouts.memory = readout(Setting::DdrPhase);
    m_phaseReadouts.cpuVtt = readout(Setting::CpuVttdPhase);
    const auto cpuPhase = value(Setting::CpuPhase);
    // The CPU current sense is read per phase, so the figures need the count that really works.
    m_activeCpuPhases =
        activeCpuPhaseCount(cpuPhase, routines.levelCount(Setting::CpuPhase), routines.activeCpuPhases);
    const int board = m_context.platform.BoardCode;
    m_phaseReadouts.cpu = board::traitsOf(board).phaseSwitch == board::PhaseSwitch::SuperIoPin
                              ? phaseSwitchReadout(cpuPhase)
                              : phaseReadout(cpuPhase, shownPhaseCount(cpuPhase, routines.activeCpuPhases));
}

void PowerMonitor::loadKeptDefaultDraw() {
    m_thisPc.loadKeptDefaultDraw(m_context.registry, machineIdentity(m_context.platform));
}

const ThisPcFigures* PowerMonitor::thisPc() const {
    return !m_context.platform.BoardSupported && m_context.machineMeter != nullptr ? &m_thisPc.figures()
                                                                                   : nullptr;
}

void PowerMonitor::refreshThisPc() {
    auto& measurement = m_context.measurement;
    m_thisPc.refresh(*m_context.machineMeter, m_context.cpuUsage.CpuUsage(), m_context.modes.ActiveMode,
                     kRefreshPeriodMs / 1000.0, measurement.values());
    measurement.updateEnergyTotal(m_context.registry);
    // The history and the alerts read the temperatures from the snapshot, as on a board.
    const auto& readings = m_thisPc.figures().readings;
    m_snapshot = {};
    const auto put = [this](std::size_t slot, const hw::MachineReading& reading) {
        if (reading.value)
            m_snapshot.temperatures[slot] = static_cast<std::uint8_t>(
                static_cast<std::int8_t>(std::clamp(std::lround(*reading.value), -128L, 127L)));
    };
    put(0, readings.cpuTemperature);
    put(1, readings.boardTemperature);
}

void PowerMonitor::Refresh() {
    if (!m_context.platform.BoardSupported) {
        if (m_context.machineMeter == nullptr)
            return;
        refreshThisPc();
        if (m_refreshed)
            m_refreshed();
        for (const auto& watcher : m_refreshWatchers)
            watcher.second();
        return;
    }
    auto& measurement = m_context.measurement;
    m_snapshot = readSensors(m_context.library, m_context.bus, m_context.platform);
    measurement.takeVoltagesAndRails(m_snapshot);
    readPhases();
    measurement.computeCpu(m_snapshot, m_activeCpuPhases);
    m_context.routines.cpuPower = measurement.values().CpuPower;
    LoadPhaseRule();
    measurement.computeTotalsAndEfficiency(m_activeCpuPhases);
    SmartFanStep(m_snapshot.cpuTemperature());
    measurement.accountSavings(m_context.modes.ActiveMode, m_context.cpuUsage.CpuUsage(),
                               m_context.cpuUsage.CpuClock());
    measurement.updateEnergyTotal(m_context.registry);
    m_readouts = measurement.formatReadouts(m_snapshot, value(Setting::CpuPhase));
    if (m_refreshed)
        m_refreshed();
    for (const auto& watcher : m_refreshWatchers)
        watcher.second();
}

void PowerMonitor::LoadPhaseRule() {
    // The user's fixed phase count: what was last applied, not what the load made of it since.
    const SettingValue v = m_context.routines.currentPhase;
    const int board = m_context.platform.BoardCode;
    const auto regulator = board::traitsOf(board).loadRuleRegulator;
    if (v > 0 && regulator != board::LoadRuleRegulator::None) {
        const int power = m_context.measurement.values().CpuPower;
        bool forced = false;
        for (const auto& step : kLoadSteps) {
            if (power > step.threshold && v < step.below) {
                if (regulator == board::LoadRuleRegulator::OwnPhaseWrite) {
                    hw::CpuPhaseControl::writeRegulatorLevel(m_context.bus, board, step.forced);
                } else {
                    m_context.bus.smbusRead(kPhaseRegulator, 0x01);
                    m_context.bus.smbusWrite(kPhaseRegulator, 0x01, step.pattern);
                }
                m_forcedCpuPhases = step.forced;
                forced = true;
                break;
            }
        }
        if (!forced && m_forcedCpuPhases != m_userCpuPhases) {
            // The load has gone: give the user's phase count back.
            m_context.modes.CurrentValues[static_cast<std::size_t>(Setting::CpuPhase)] = v;
            WriteSetting(m_context.modes, m_context.commands, indexOf(Setting::CpuPhase));
        }
    }
    const int recorded = recordedCpuPhases();
    m_message = !board::traitsOf(m_context.platform.BoardCode).noPhaseLoadMessage && recorded != 0 &&
                        recorded != m_activeCpuPhases
                    ? std::string(kLoadMessage)
                    : std::string();
}

void PowerMonitor::SmartFanStep(int temperature) {
    const auto smartFan = value(Setting::SmartFan);
    auto& bus = m_context.bus;
    const bool capable = m_context.platform.FanCapable;
    if (smartFan == 1 && capable) {
        const int level = nextFanLevel(temperature, fanBase(m_context.modes.ActiveMode), m_fanLevel);
        if (level != m_fanLevel) {
            m_fanLevel = level;
            bus.fanDuty(kFanRegisterA, kFanDuty[static_cast<std::size_t>(m_fanLevel)]);
        }
    } else if (smartFan == 0) {
        m_fanLevel = 7;
        if (capable)
            bus.fanDuty(kFanRegisterA, kFanDuty[7]);
    }
    std::optional<std::uint8_t> otherChannels;
    if (m_context.measurement.values().TotalConsumption > 0 && smartFan == 1)
        otherChannels = 0x2F;
    else if (smartFan == 0)
        otherChannels = 0xFF;
    if (otherChannels)
        for (const std::uint8_t reg : {0xB3, 0xC3, 0xD3})
            bus.fanDuty(reg, *otherChannels);
}

void PowerMonitor::PrepareFan() {
    if (!m_context.platform.FanCapable)
        return;
    auto& bus = m_context.bus;
    const auto enable = bus.cmosRead(kCmosFanEnable);
    if ((enable & 0x0A) != 0x0A)
        bus.cmosWrite(kCmosFanEnable, static_cast<std::uint8_t>(enable | 0x0A));
    const auto mode = bus.cmosRead(kCmosFanMode);
    if ((mode & 0x05) != 0x04)
        bus.cmosWrite(kCmosFanMode, static_cast<std::uint8_t>((mode & 0x0A) | 0x04));
    m_startLevelA = fanLevelOf(bus.cmosRead(kFanRegisterA));
    m_startLevelB = fanLevelOf(bus.cmosRead(kFanRegisterB));
}

bool PowerMonitor::OnPowerBroadcast(int event) {
    auto& scheduler = m_context.scheduler;
    if (event == kSuspend) {
        scheduler.killTimer(this, kRefreshTimer);
    } else if (event == kResumeAutomatic) {
        m_context.library.DetectSuperIO(m_context.platform.SensorKind);
        scheduler.setTimer(this, kRefreshTimer, kRefreshPeriodMs, [this] { tick(); });
        const auto mode = m_context.modes.ActiveMode;
        if (mode == PowerMode::Optimize || mode == PowerMode::Max)
            scheduler.setTimer(this, kResumeTimer, kResumeDelayMs, [this] {
                m_context.scheduler.killTimer(this, kResumeTimer);
                SelectMode(m_context.modes.ActiveMode);
            });
    }
    return true;
}

void PowerMonitor::OnExit() {
    m_context.scheduler.killTimers(this);
    m_context.registry.writeString(kProductKey, kNormalEndValue, "1");
    if (!m_context.platform.BoardSupported) {
        m_thisPc.keepDefaultDraw(m_context.registry);
        return;
    }
    m_context.measurement.keepDefaultDraw(m_context.registry);
    auto& library = m_context.library;
    const auto mode = m_context.modes.ActiveMode;
    if (mode == PowerMode::Optimize || mode == PowerMode::Max) {
        if (m_context.platform.OsKind == OsFlavour::Vista)
            library.SetPowerMode(6);
        else if (m_context.platform.OsKind == OsFlavour::Xp)
            library.SetPowerMode(0);
        library.EnableSATA();
    }
    library.CPU_THROTTLING(8);
    // Only a board whose fan the program drove has start levels to give back.
    if (m_context.platform.FanCapable) {
        m_context.bus.fanDuty(kFanRegisterB, kFanDuty[static_cast<std::size_t>(m_startLevelB)]);
        m_context.bus.fanDuty(kFanRegisterA, kFanDuty[static_cast<std::size_t>(m_startLevelA)]);
    }
}

} // namespace solvane::power
