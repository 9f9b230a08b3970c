#include "app/DefaultModeTwin.h"

#include <stdexcept>

namespace solvane::app {

namespace {

constexpr double kMillisecondsPerHour = 3600.0 * 1000.0;

sim::SimulatedBoard& simulatedBoardOf(SolvaneCore& core) {
    auto* simulated = dynamic_cast<sim::SimulatedHardware*>(&core.hardware());
    if (simulated == nullptr)
        throw std::logic_error("a Default-mode twin needs a simulated board");
    return simulated->board();
}

bool isSavingMode(power::PowerMode mode) {
    return mode == power::PowerMode::Optimize || mode == power::PowerMode::Max;
}

} // namespace

DefaultModeTwin::DefaultModeTwin(SolvaneCore& watched, platform::VirtualClockScheduler& clock,
                                 std::unique_ptr<sim::SimulatedHardware> twinHardware,
                                 std::unique_ptr<platform::Registry> twinRegistry)
    : m_watched(watched), m_clock(clock), m_twinHardware(std::move(twinHardware)),
      m_twinRegistry(std::move(twinRegistry)) {
    const auto& services = watched.services();
    m_twin = std::make_unique<SolvaneCore>(SolvaneCore::Services{*m_twinHardware,
                                                                 *m_twinRegistry,
                                                                 services.system,
                                                                 clock,
                                                                 m_twinPrompt,
                                                                 m_twinRandom,
                                                                 services.seed,
                                                                 {}});
    m_twin->initialise();
    m_twin->enableSettingCommands();
    if (auto* monitor = m_twin->session().monitor())
        monitor->SelectMode(power::PowerMode::Default);
    if (auto* monitor = m_watched.session().monitor())
        monitor->addRefreshWatcher(this, [this] { sample(); });
    sample();
}

DefaultModeTwin::~DefaultModeTwin() {
    if (auto* monitor = m_watched.session().monitor())
        monitor->removeRefreshWatchers(this);
    m_twin->shutdown();
}

void DefaultModeTwin::sample() {
    const double defaultWatts = m_twinHardware->board().physics().totalWatts();
    const double saving = defaultWatts - simulatedBoardOf(m_watched).physics().totalWatts();
    const auto mode = m_watched.state().modes.ActiveMode;
    const std::uint64_t now = m_clock.now();
    if (!isSavingMode(mode) || mode != m_integratedMode) {
        m_figures.savedWattHours = 0.0;
        m_lastPoint.reset();
    }
    // Between two refreshes the saving is taken to move in a straight line (the trapezoid rule).
    if (m_lastPoint && now > m_lastPoint->first)
        m_figures.savedWattHours += (m_lastPoint->second + saving) / 2.0 *
                                    static_cast<double>(now - m_lastPoint->first) / kMillisecondsPerHour;
    if (isSavingMode(mode))
        m_lastPoint = std::pair{now, saving};
    m_integratedMode = mode;
    m_figures.defaultModeSystemWatts = defaultWatts;
    m_figures.savingWatts = saving;
}

} // namespace solvane::app
