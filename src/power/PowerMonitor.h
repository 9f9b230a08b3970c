#pragma once

#include "board/PlatformInfo.h"
#include "hw/BoardBus.h"
#include "hw/HardwareLibraries.h"
#include "hw/SettingRoutineState.h"
#include "platform/Registry.h"
#include "platform/Scheduler.h"
#include "power/BoardCapabilities.h"
#include "power/BoardCommands.h"
#include "power/PowerMeasurement.h"
#include "power/PowerModeState.h"
#include "power/PowerSavingLibrary.h"
#include "power/SystemProfileModes.h"
#include "power/ThisPcMeasurement.h"

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace solvane::power {

// The phase read-outs of one refresh (CPU, CPU VTT, memory, chipset).
struct PhaseReadouts {
    std::string cpu;
    std::string cpuVtt;
    std::string memory;
    std::string chipset;
};

// The control side of the power-saving monitor: choosing and applying the power modes, the
// 3-second refresh, the load-driven CPU phase increase, the smart fan, sleep and resume, and the
// orderly exit. Runs on the page's window timers through the scheduler.
class PowerMonitor {
public:
    static constexpr int kApplyDefaultTimer = 93;
    static constexpr int kApplyOptimizeTimer = 94;
    static constexpr int kApplyMaxTimer = 95;
    static constexpr int kResumeTimer = 96;
    static constexpr int kRefreshTimer = 98;
    static constexpr unsigned kApplyDelayMs = 300;
    static constexpr unsigned kRefreshPeriodMs = 3000;
    static constexpr unsigned kResumeDelayMs = 6000;

    // Power events as the system broadcasts them.
    static constexpr int kSuspend = 4;
    static constexpr int kResumeAutomatic = 18;

    static constexpr std::string_view kLoadMessage = "CPU phase changed by loading !";

    // Firmware fan registers and the duty of each fan level 0 to 7.
    static constexpr std::uint8_t kFanRegisterA = 0xA3;
    static constexpr std::uint8_t kFanRegisterB = 0xB3;
    static constexpr std::array<std::uint8_t, 8> kFanDuty{0x7F, 0x8F, 0x9F, 0xAF, 0xBF, 0xCF, 0xE7, 0xFF};

    struct Context {
        PlatformInfo& platform;
        const BoardOptions& options;
        PowerModeState& modes;
        hw::SettingRoutineState& routines;
        PowerMeasurement& measurement;
        PowerSavingLibrary& library;
        hw::BoardBus& bus;
        hw::Tressel& cpuUsage; // the CPU-usage library: the load the saving estimate follows
        BoardCommands& commands;
        platform::Registry& registry;
        platform::Scheduler& scheduler;
        hw::MachineMeter* machineMeter = nullptr; // an ordinary PC's read-outs, where the back-end has them
    };

    explicit PowerMonitor(Context context);
    ~PowerMonitor();
    PowerMonitor(const PowerMonitor&) = delete;
    PowerMonitor& operator=(const PowerMonitor&) = delete;

    // Called whenever the mode buttons must show ActiveMode again.
    void setModeButtonsChanged(std::function<void()> callback) { m_modeButtonsChanged = std::move(callback); }
    // Called after every refresh, so the page can show the new read-outs.
    void setRefreshed(std::function<void()> callback) { m_refreshed = std::move(callback); }
    // On a PC the modes switch the system's power profile instead of the board's settings.
    void useSystemProfiles(SystemProfileModes* profiles) { m_systemProfiles = profiles; }
    // Further watchers of every refresh (the power history), each removed by its owner.
    void addRefreshWatcher(const void* owner, std::function<void()> watcher) {
        m_refreshWatchers.emplace_back(owner, std::move(watcher));
    }
    void removeRefreshWatchers(const void* owner) {
        std::erase_if(m_refreshWatchers, [owner](const auto& w) { return w.first == owner; });
    }

    // The user chose mode 0, 1 or 2: a different mode is applied 300 ms later.
    void SelectMode(PowerMode mode);
    // Applies a mode 300 ms from now, on its one-shot timer.
    void scheduleApply(PowerMode mode);
    void ApplyDefault();
    void ApplyOptimize();
    void ApplyMax();
    void Refresh();
    void LoadPhaseRule();
    void SmartFanStep(int cpuTemperature);

    // Start-up, after the settings were read: the user's CPU phase, then (fan boards) the firmware
    // fan set-up and its start levels.
    void takeStartupPhase();
    void PrepareFan();
    // What Default drew on an ordinary PC in earlier runs (a board's is the measurement's).
    void loadKeptDefaultDraw();
    // The first refresh and the 3-second timer.
    void start();
    // The 3-second timer's work: catch a mode changed elsewhere, refresh, update the buttons.
    void tick();

    bool OnPowerBroadcast(int event);
    // Records the normal end and gives the board back its power plan and fan.
    void OnExit();

    const Readouts& readouts() const { return m_readouts; }
    const PhaseReadouts& phaseReadouts() const { return m_phaseReadouts; }
    const std::string& message() const { return m_message; }
    int activeCpuPhases() const { return m_activeCpuPhases; }
    int fanLevel() const { return m_fanLevel; }
    int forcedCpuPhases() const { return m_forcedCpuPhases; }
    PowerMode lastSeenMode() const { return m_lastSeenMode; }
    const SensorSnapshot& lastSnapshot() const { return m_snapshot; }
    // The read-outs and saving of an ordinary PC ("This PC"); null on a supported board and where
    // the back-end reads no PC.
    const ThisPcFigures* thisPc() const;

private:
    // The common start of the Optimize and Max applies: SATA power saving on, the mode's targets.
    void startSavingApply(PowerMode mode);
    void finishApply(PowerMode mode);
    // A mode on a PC: its system power profile; a refused one leaves the mode in force as it was.
    void applySystemProfile(PowerMode mode);
    void readPhases();
    // The refresh of an ordinary PC: its own read-outs and the saving measured on them.
    void refreshThisPc();
    SettingValue value(Setting setting) const {
        return m_context.modes.CurrentValues[static_cast<std::size_t>(setting)];
    }
    int recordedCpuPhases() const;

    Context m_context;
    SystemProfileModes* m_systemProfiles = nullptr;
    std::function<void()> m_modeButtonsChanged;
    std::function<void()> m_refreshed;
    std::vector<std::pair<const void*, std::function<void()>>> m_refreshWatchers;
    PowerMode m_lastSeenMode = PowerMode::None;
    SettingValue m_userCpuPhases = 0;
    SettingValue m_forcedCpuPhases = 0;
    int m_activeCpuPhases = 0;
    int m_fanLevel = 8; // not known yet: the first smart-fan step sets full duty
    int m_startLevelA = 0;
    int m_startLevelB = 0;
    SensorSnapshot m_snapshot;
    ThisPcMeasurement m_thisPc;
    Readouts m_readouts;
    PhaseReadouts m_phaseReadouts;
    std::string m_message;
};

} // namespace solvane::power
