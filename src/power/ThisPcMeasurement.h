#pragma once

#include "hw/MachineMeter.h"
#include "platform/Registry.h"
#include "power/PowerMeasurement.h"
#include "power/PowerModeState.h"
#include "power/SavingEstimate.h"
#include "power/ThisPcDefaultDraw.h"

#include <optional>
#include <string>

namespace solvane::power {

// One refresh on an ordinary PC: its read-outs, the draw the saving is measured on, and the saving.
struct ThisPcFigures {
    hw::MachineReadings readings;
    std::optional<double> cpuLoad;     // 0 to 1
    std::optional<double> drawnWatts;  // the battery's draw on battery, else the CPU package's power
    std::string drawSource;            // which of the two, and where it was read
    std::string drawMissing;           // why there is no draw to measure the saving on
    std::optional<double> savingWatts; // empty where there is no saving figure
    bool savingEstimated = false;      // the saving is an estimate of what Default would draw
    std::string savingMissing;         // why there is no saving figure
};

// The power-saving accounting of an ordinary PC. The saving is what the PC would draw in Default
// at the load it has now, estimated from the draws measured in Default mode, less what it draws
// now. The draw is the whole system's where the battery tells it, else the CPU package's (with the
// graphics card's as a second part, where measured): a PC's mains draw is not measured anywhere.
class ThisPcMeasurement {
public:
    // Reads the meter and accounts the refresh; `values` takes the figures the history, the alerts
    // and the metrics read (and the saved-energy totals grow by the saving over `intervalSeconds`).
    void refresh(hw::MachineMeter& meter, std::optional<double> cpuLoad, PowerMode mode,
                 double intervalSeconds, Measurements& values);
    // A saving mode starts: its share of Default's draw is learned anew.
    void restartForMode(PowerMode applied);

    // What Default drew on this PC in earlier runs (`machine`: its identity), taken back when the
    // draw it was measured on is measured again, so that a run started in a saving mode counts
    // its saving at once.
    void loadKeptDefaultDraw(const platform::Registry& registry, std::string machine);
    // Keeps what Default was seen to draw, when this run learned more of it; called when a saving
    // mode is applied and at exit, not at every refresh.
    void keepDefaultDraw(platform::Registry& registry);

    const ThisPcFigures& figures() const { return m_figures; }

private:
    // The draw measured now is not the one the estimate learned: it starts afresh from what was
    // kept of this one, and what it learned of the other waits to be kept.
    void startEstimateOn(ThisPcDraw draw, const std::string& source);
    // Default's table as this run learned it, handed to the kept tables.
    void handOverLearnedDefault();

    ThisPcFigures m_figures;
    SavingEstimate m_estimate;
    ThisPcDraw m_estimatedDraw = ThisPcDraw::None; // what the estimate learned; another draw starts it afresh
    std::string m_estimatedSource;                 // where that draw was read when the estimate started
    bool m_defaultLearned = false; // Default refreshes since the estimate's table was handed over
    ThisPcDefaultDraw m_kept;
};

} // namespace solvane::power
