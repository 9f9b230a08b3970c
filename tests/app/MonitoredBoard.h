#pragma once

#include "SimulatedCore.h"
#include "app/Report.h"
#include "history/PowerHistory.h"
#include "sim/physics/ScriptedCpuLoad.h"

namespace solvane::test {

inline constexpr std::int64_t kMonday = 1796601600; // 2026-12-07T00:00:00Z
inline constexpr std::uint64_t kRefreshMs = power::PowerMonitor::kRefreshPeriodMs;
inline constexpr int kRefreshesPerDay = 86400 / 3;

inline std::int64_t savedEnergy(const platform::Registry& registry) {
    const auto hundredths = registry.readDword(power::kSavingTotalsKey, power::kSavingTotalValue).value_or(0);
    const auto remainder =
        registry.readDword(power::kSavingTotalsKey, power::kSavingRemainderValue).value_or(0);
    return std::int64_t{hundredths} * power::kRemainderPerHundredthKWh + remainder;
}

// A simulated 2917 in Optimize mode on the virtual clock, under a scripted load; the history
// starts right after the mode was applied, with the next refresh at `start` (UTC seconds).
class MonitoredBoard {
public:
    MonitoredBoard(const std::filesystem::path& historyFile, std::vector<double> loads,
                   std::chrono::milliseconds step, std::int64_t start) {
        sim::SimulationOptions options;
        options.boardCode = 2917;
        options.seed = 3;
        options.cpuLoad = std::make_shared<sim::ScriptedCpuLoad>(std::move(loads), step);
        options.clock = [this] { return std::chrono::milliseconds(m_services.clock.now()); };
        m_hardware = std::make_unique<sim::SimulatedHardware>(options);
        m_core = std::make_unique<app::SolvaneCore>(m_services.on(*m_hardware, 17));
        m_core->initialise();
        m_core->enableSettingCommands();
        app::runBeforeReport(*m_core, m_services.clock, power::PowerMode::Optimize, 0);
        // The refreshes now fall 3 s apart, each 300 ms after a whole second; seconds are counted
        // so that the next one is `start`.
        const auto next = static_cast<std::int64_t>((m_services.clock.now() + kRefreshMs) / 1000);
        m_history = std::make_unique<history::PowerHistory>(
            *m_core->session().monitor(), m_core->session().measurement(), m_core->state().modes,
            m_services.registry, historyFile, [this, offset = start - next] {
                return offset + static_cast<std::int64_t>(m_services.clock.now() / 1000);
            });
    }
    ~MonitoredBoard() {
        m_history.reset();
        m_core->shutdown();
    }

    void refresh(int count) { m_services.clock.advance(kRefreshMs * static_cast<std::uint64_t>(count)); }
    history::PowerHistory& history() { return *m_history; }
    platform::Registry& registry() { return m_services.registry; }
    app::SolvaneCore& core() { return *m_core; }

private:
    test::CoreServices m_services;
    std::unique_ptr<sim::SimulatedHardware> m_hardware;
    std::unique_ptr<app::SolvaneCore> m_core;
    std::unique_ptr<history::PowerHistory> m_history;
};

} // namespace solvane::test
