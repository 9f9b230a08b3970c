#pragma once

#include <array>
#include <cstddef>
#include <optional>

namespace solvane::power {

// What the running power mode saves: what the machine would draw in Default mode at the load it has
// now, minus what it draws now. The second is measured; the first is estimated from what the
// program itself measures, a few powers and the CPU load, so the same estimate serves a Tarvok board
// (the CPU's supply and the board rails) and an ordinary PC (package power and the rest).
//
// The method:
// 1. Every refresh in Default mode teaches a table of Default's draw by CPU load (5 % bins), part by
//    part. An entry follows its readings smoothed, so that fans and temperatures settle into it
//    rather than one early reading standing for Default.
// 2. In a saving mode, at a load Default was seen at, Default's draw is that table's; there the
//    ratio of Default's draw to the mode's is learned, again part by part and by load.
// 3. At a load Default was never seen at, each part's draw now is scaled by its ratio learned at the
//    nearest load. Lower voltages, clocks, fans and fewer phases take a share of a part's draw
//    that moves slowly with the load, while the draw itself follows the load at once; so the
//    estimate follows a load that changed after the mode was chosen.
// A part is claimed to save only where Default and the mode were both measured; before the first
// Default refresh there is no estimate at all, and the caller says what it can without Default.
class SavingEstimate {
public:
    // Parts of the draw the caller measures separately (unused parts stay 0): one ratio each, since
    // a mode takes different shares of, say, the CPU's supply and the disks' rail.
    static constexpr std::size_t kParts = 4;
    // Default's draw is learned at loads 0 %, 5 %, ... 100 %.
    static constexpr std::size_t kLoadBins = 21;

    struct Sample {
        std::optional<double> cpuLoad;      // 0 to 1; empty when not measured (then one load for all)
        std::array<double, kParts> watts{}; // each measured part's draw
    };

    // A refresh in Default mode.
    void observeDefault(const Sample& sample);
    // A refresh in a saving mode: the estimated saving in watts, never negative; empty when no part
    // of the draw has a Default figure to compare with yet.
    std::optional<double> saving(const Sample& sample);
    // Another saving mode starts: its ratios are learned anew; what Default draws is kept.
    void restartMode();

private:
    // A smoothed figure; `seen` once the first reading started it.
    struct Learned {
        double value = 0.0;
        bool seen = false;
        void learn(double reading);
    };
    using PartTable = std::array<std::array<Learned, kParts>, kLoadBins>;

    // The Default draw of one part at a bin: the table's, else the part's draw now scaled by the
    // ratio of the nearest bin (empty when neither is known).
    std::optional<double> defaultPartWatts(std::size_t bin, std::size_t part, double now) const;

    PartTable m_default{};
    PartTable m_ratio{}; // Default's draw over the running mode's, by load
};

} // namespace solvane::power
