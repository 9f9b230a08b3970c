#pragma once

#include "platform/Scheduler.h"
#include "power/PowerModeState.h"
#include "tuning/CountedTimer.h"

#include <functional>

namespace solvane::tuning {

// The advanced motherboard page's timers. Timer 98 (every 2 s, for the page's life) refreshes the
// read-outs and the mode radios and, when the mode changed since its last tick, starts the caption
// refresh; timer 92 (every second, eleven counted ticks) refreshes the captions while no option
// list is open.
class AdvancedPageTimers {
public:
    static constexpr int kReadoutTimer = 98;
    static constexpr unsigned kReadoutPeriodMs = 2000;
    static constexpr int kCaptionTimer = 92;
    static constexpr unsigned kCaptionPeriodMs = 1000;
    static constexpr int kCaptionTicks = 11;

    struct Work {
        std::function<void()> refreshReadouts;
        std::function<void()> refreshRadios;
        std::function<void()> refreshCaptions;
        std::function<bool()> listOpen;
    };

    AdvancedPageTimers(platform::Scheduler& scheduler, platform::Scheduler::Owner owner,
                       const power::PowerModeState& modes, Work work);
    ~AdvancedPageTimers();
    AdvancedPageTimers(const AdvancedPageTimers&) = delete;
    AdvancedPageTimers& operator=(const AdvancedPageTimers&) = delete;

    // Starts timer 98 (at the page's creation).
    void start();
    // Starts timer 92: a ">>" press, a mode change, a profile or defaults load.
    void startCaptionRefresh() { m_captions.start(); }
    // The mode the page has seen last; -1 until the first tick or radio.
    void recordMode(power::PowerMode mode) { m_recordedMode = mode; }
    power::PowerMode recordedMode() const { return m_recordedMode; }
    const CountedTimer& captionTimer() const { return m_captions; }

private:
    void readoutTick();

    platform::Scheduler& m_scheduler;
    platform::Scheduler::Owner m_owner;
    const power::PowerModeState& m_modes;
    Work m_work;
    CountedTimer m_captions;
    power::PowerMode m_recordedMode = power::PowerMode::None;
};

} // namespace solvane::tuning
