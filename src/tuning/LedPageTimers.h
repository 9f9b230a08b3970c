#pragma once

#include "platform/Scheduler.h"
#include "tuning/CountedTimer.h"

#include <functional>

namespace solvane::tuning {

// The LED page's timers. Timer 91 (every second from the page's creation, every two seconds after
// a blink) redraws the lamps and the captions from the state. Timer 90 (every 500 ms from a ">>"
// press) blinks the lamps of the switch whose list is open and, once no list is open, stops,
// redraws the lamps and hands back to timer 91. Timer 92 (every second, six ticks) refreshes the
// captions after a change.
class LedPageTimers {
public:
    static constexpr int kLampTimer = 91;
    static constexpr unsigned kLampPeriodMs = 1000;
    static constexpr unsigned kLampPeriodAfterBlinkMs = 2000;
    static constexpr int kBlinkTimer = 90;
    static constexpr unsigned kBlinkPeriodMs = 500;
    static constexpr int kCaptionTimer = 92;
    static constexpr unsigned kCaptionPeriodMs = 1000;
    static constexpr int kCaptionTicks = 6;

    struct Work {
        std::function<void()> refreshLamps;
        std::function<void()> refreshCaptions;
        // Draws the open list's lamps with the blink phase.
        std::function<void(bool phaseOn)> blink;
        std::function<bool()> listOpen;
    };

    LedPageTimers(platform::Scheduler& scheduler, platform::Scheduler::Owner owner, Work work);
    ~LedPageTimers();
    LedPageTimers(const LedPageTimers&) = delete;
    LedPageTimers& operator=(const LedPageTimers&) = delete;

    // Starts timer 91 at its first period (the page's creation).
    void start() { startLamps(kLampPeriodMs); }
    // A ">>" press: the blinking starts (again) from now.
    void startBlinking();
    // A change: the captions follow for the next six seconds.
    void startCaptionRefresh() { m_captions.start(); }

    bool blinkPhase() const { return m_blinkOn; }
    const CountedTimer& captionTimer() const { return m_captions; }

private:
    void startLamps(unsigned periodMs);
    void blinkTick();

    platform::Scheduler& m_scheduler;
    platform::Scheduler::Owner m_owner;
    Work m_work;
    CountedTimer m_captions;
    bool m_blinkOn = false;
};

} // namespace solvane::tuning
