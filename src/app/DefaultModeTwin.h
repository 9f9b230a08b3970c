#pragma once

#include "app/SolvaneCore.h"
#include "platform/Prompt.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "platform/Scheduler.h"
#include "sim/SimulatedHardware.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>

namespace solvane::app {

// What a simulated board would draw at this moment had its user stayed in Default mode: a twin of the
// board (same model, seed and load script) run by its own copy of the program in Default mode, on the
// same virtual clock. The saving read-outs are held against it: its figures come from the two boards'
// physics at each refresh of the watched program, never from read-outs.
class DefaultModeTwin {
public:
    struct Figures {
        double defaultModeSystemWatts = 0.0; // the twin's whole draw
        double savingWatts = 0.0;            // the twin's draw minus the watched board's
        double savedWattHours = 0.0;         // the saving integrated since the watched mode started
    };

    // watched: an initialised program on a simulated board. twinHardware: a board made from the same
    // simulation options; twinRegistry: the registry the watched program started from, so both start
    // alike; both run on clock, which drives the watched program.
    DefaultModeTwin(SolvaneCore& watched, platform::VirtualClockScheduler& clock,
                    std::unique_ptr<sim::SimulatedHardware> twinHardware,
                    std::unique_ptr<platform::Registry> twinRegistry);
    ~DefaultModeTwin();
    DefaultModeTwin(const DefaultModeTwin&) = delete;
    DefaultModeTwin& operator=(const DefaultModeTwin&) = delete;

    // As of the watched program's last refresh.
    const Figures& figures() const { return m_figures; }

private:
    void sample();

    SolvaneCore& m_watched;
    platform::VirtualClockScheduler& m_clock;
    std::unique_ptr<sim::SimulatedHardware> m_twinHardware;
    std::unique_ptr<platform::Registry> m_twinRegistry;
    std::ostringstream m_twinMessages; // what the twin's program would tell its user: nobody reads it
    platform::BatchPrompt m_twinPrompt{m_twinMessages};
    platform::LcgRandom m_twinRandom;
    std::unique_ptr<SolvaneCore> m_twin;
    Figures m_figures;
    // The watched saving mode the integral belongs to, and its last point (time in ms, watts).
    power::PowerMode m_integratedMode = power::PowerMode::None;
    std::optional<std::pair<std::uint64_t, double>> m_lastPoint;
};

} // namespace solvane::app
