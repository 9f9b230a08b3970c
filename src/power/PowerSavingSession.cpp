#include "power/PowerSavingSession.h"

#include "platform/RegistrySeed.h"
#include "power/IdentifyPlatform.h"
#include "power/ModeTargets.h"
#include "power/OsKind.h"
#include "power/StartupModeDecision.h"

#include <charconv>
#include <cstdio>

namespace solvane::power {

// What the board initialisation asks of the rest of the program.
class PowerSavingSession::Hooks final : public BoardInitHooks {
public:
    Hooks(PowerSavingState& state, BoardCommands& commands, hw::BoardSettingRoutines& routines)
        : m_state(state), m_commands(commands), m_routines(routines) {}

    void setChecksEnabled(bool enabled) override { m_state.routines.checksEnabled = enabled; }
    void deriveModeVectors(const SettingVector&) override {
        deriveModeTargets(m_state.modes, &m_state.options);
    }
    void readAllSettings() override {
        const auto& platform = m_state.platform;
        m_routines.setBoard({platform.BoardCode, platform.baseboardVersion}, platform.MaxCpuPhases);
        auto& modes = m_state.modes;
        // Every setting starts at the board's power-on value (its default), so one the hardware
        // cannot report is not taken for an option it does not hold; one the board lacks is absent.
        modes.CurrentValues = modes.DefaultTargets;
        ReadSetting(modes, m_commands, kReadAllSettings);
        // A setting the board lacks stays absent whatever its registers read.
        for (std::size_t i = 0; i < modes.CurrentValues.size(); ++i)
            if (modes.DefaultTargets[i] == kNotPresent)
                modes.CurrentValues[i] = kNotPresent;
        modes.StartupValues = modes.CurrentValues;
    }

private:
    PowerSavingState& m_state;
    BoardCommands& m_commands;
    hw::BoardSettingRoutines& m_routines;
};

PowerSavingSession::PowerSavingSession(Services services, PowerSavingState& state, hw::BoardBus& bus,
                                       BoardCommands& commands, hw::BoardSettingRoutines& routines)
    : m_services(std::move(services)), m_state(state), m_bus(bus), m_commands(commands), m_routines(routines),
      m_measurement(std::make_unique<PowerMeasurement>(state.platform, m_services.random)) {}

PowerSavingSession::~PowerSavingSession() {
    shutdown();
}

void PowerSavingSession::initialise() {
    auto& platform = m_state.platform;
    auto& hardware = m_services.hardware;
    m_services.random.seed(m_services.seed);

    platform.OsKind = DetectOsKind(m_services.system, m_services.registry);
    if (platform.OsKind == OsFlavour::None)
        return;
    m_library = PowerSavingLibrary(hardware.modules().load(
        platform.OsKind == OsFlavour::Vista ? hw::nimbrel::kVistaModule : hw::nimbrel::kXpModule));
    if (!m_library.loaded())
        return;

    m_ostrelLoaded = m_library.LoadOstrel() != 0;
    if (m_ostrelLoaded) {
        IdentifyPlatform(hardware.ostrel(), platform);
        m_library.DetectSuperIO(0); // the sensor kind is not known yet
    }
    m_falwickLoaded = m_library.LoadFalwick() != 0;
    if (m_falwickLoaded) {
        m_hoblinLoaded = hardware.hoblin().LoadNTHoblin() != 0;
        m_monitor = std::make_unique<PowerMonitor>(
            PowerMonitor::Context{platform, m_state.options, m_state.modes, m_state.routines, *m_measurement,
                                  m_library, m_bus, hardware.tressel(), m_commands, m_services.registry,
                                  m_services.scheduler, hardware.machineMeter()});
        if (!m_profileServices.empty()) {
            // Before the start mode is decided: a profile a crashed run left in force comes back first.
            m_systemProfiles = std::make_unique<SystemProfileModes>(m_profileServices, m_services.registry);
            m_systemProfiles->start();
            m_monitor->useSystemProfiles(m_systemProfiles.get());
        }
        if (m_hoblinLoaded) {
            Hooks hooks(m_state, m_commands, m_routines);
            InitBoardCapabilities(m_services.registry, hardware.falwick(), platform, m_state.options,
                                  m_state.modes.DefaultTargets, hooks);
            m_state.routines.checksEnabled = false; // until the main window has built its pages
            m_monitor->takeStartupPhase();
            m_monitor->PrepareFan();
        }

        const auto processors =
            m_services.registry.readString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS");
        if (processors)
            std::from_chars(processors->data(), processors->data() + processors->size(), m_processorCount);
        if (const int error = hardware.tressel().TresselInit(m_processorCount); error != 0) {
            char text[64];
            std::snprintf(text, sizeof text, "CPU Usage error(%d)!", error);
            m_services.prompt.tell(text);
            if (m_services.requestClose)
                m_services.requestClose();
        }

        m_measurement->loadTotals(m_services.registry);
        m_monitor->loadKeptDefaultDraw();
        if (platform.OsKind == OsFlavour::Vista)
            m_library.SetPowerMode(8);
        else if (platform.OsKind == OsFlavour::Xp)
            m_library.SetPowerMode(0);
        m_monitor->start();
        // The mode of a run that ended normally is applied on its timer, once the main window has
        // finished starting and enabled the setting commands; applied now, its writes would be
        // refused and the board would run without the mode the registry says is active.
        decideStartupMode(m_state.modes, m_services.registry, platform.BoardCode,
                          [this](PowerMode mode) { m_monitor->scheduleApply(mode); });
    }
}

bool PowerSavingSession::savingModesAvailable() const {
    return m_systemProfiles ? m_systemProfiles->savingModesAvailable() : m_state.platform.BoardSupported;
}

std::string_view PowerSavingSession::savingModesReason() const {
    return m_systemProfiles ? std::string_view(m_systemProfiles->reason()) : std::string_view();
}

void PowerSavingSession::shutdown() {
    if (m_shutDown)
        return;
    m_shutDown = true;
    if (m_monitor)
        m_monitor->OnExit();
    // A profile that cannot be given back now keeps its note for the next start.
    if (m_systemProfiles)
        m_systemProfiles->restore();
    if (m_ostrelLoaded)
        m_library.UnloadOSTREL();
    if (m_falwickLoaded)
        m_library.UnloadFalwick();
    if (m_hoblinLoaded)
        m_services.hardware.hoblin().UnloadNTHoblin();
}

} // namespace solvane::power
