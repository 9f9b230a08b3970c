#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

namespace solvane::power {

struct CpuRegulatorModel;

// What the running power mode saves: what the machine would draw in Default mode at the load it has
// now, minus what it draws now. The second is measured; the first is estimated from what the
// program itself measures, a few powers, the CPU load and, where known, what the CPU runs at, so the
// same estimate serves a Tarvok board (the CPU's supply and the board rails) and an ordinary PC
// (package power and the rest).
//
// The method:
// 1. Every refresh in Default mode teaches a table of Default's draw by CPU load (5 % bins), part by
//    part, with the CPU's power, core voltage, clock and running phases. An entry follows its
//    readings smoothed, so that fans and temperatures settle into it rather than one early reading
//    standing for Default.
// 2. In a saving mode, at a load Default was seen at, Default's draw is that table's. The mode's own
//    figures are kept by load too, so that each load both ran at is a pair to learn from.
// 3. At a load Default was never seen at, the CPU's part is carried over from the nearest pair by the
//    CPU's physics: its switching power goes with the square of the core voltage times the clock,
//    its leakage with the square of the voltage alone, the voltage being the regulator's setpoint
//    (the reading plus the load line's droop at the CPU's current, where the board's record gives
//    the load line). The pair tells the two apart (the mode ran a
//    lower clock at the same load); Default's voltage, clock and phases are the pair's; the CPU
//    regulator's loss follows at Default's current with Default's phases. Without the CPU's own
//    power (a board that feeds the CPU from a rail) the part's share that does not follow voltage
//    and clock is taken to be the same in both modes. Every other part is scaled by its share
//    learned at the nearest pair: the rails carry chips and fans whose draw differs by mode far more
//    than by load.
// The mode's rails are smoothed like the table (a rail monitor reads in steps of about a watt); the
// CPU's own power is taken as measured, so the estimate follows a load step at once. A part is claimed to
// save only where Default and the mode were both measured; before the first Default refresh there
// is no estimate at all, and the caller says what it can without Default.
class SavingEstimate {
public:
    // Parts of the draw the caller measures separately (unused parts stay 0): the first is the one
    // that feeds the CPU.
    static constexpr std::size_t kParts = 4;
    static constexpr std::size_t kCpuPart = 0;
    // Default's draw is learned at loads 0 %, 5 %, ... 100 %.
    static constexpr std::size_t kLoadBins = 21;

    // What the CPU runs at, as measured; it describes the draw of part kCpuPart.
    struct CpuPoint {
        double volts = 0.0;          // core voltage; 0 when not measured
        std::optional<double> clock; // share of the highest clock
        std::optional<double> watts; // the CPU's own power, where measured apart from its supply
        int phases = 0;              // CPU regulator phases that run; 0 when not known
    };

    struct Sample {
        // A caller that knows nothing of the CPU's operating point gives the load and the parts alone.
        Sample(std::optional<double> load = std::nullopt, const std::array<double, kParts>& parts = {},
               std::optional<CpuPoint> point = std::nullopt)
            : cpuLoad(load), watts(parts), cpu(point) {}

        std::optional<double> cpuLoad;      // 0 to 1; empty when not measured (then one load for all)
        std::array<double, kParts> watts{}; // each measured part's draw
        std::optional<CpuPoint> cpu;
    };

    // Default's learned draw at one load, as kept across runs. Figures never measured are NaN.
    struct DefaultEntry {
        std::size_t bin = 0;
        std::array<double, kParts> watts{};
        double cpuWatts = 0.0;
        double volts = 0.0;
        double clock = 0.0;
        double phases = 0.0;
    };

    // regulator: the board's CPU regulator, whose loss at Default's phases counts in the CPU's part;
    // null where the CPU's part is its own power alone.
    explicit SavingEstimate(const CpuRegulatorModel* regulator = nullptr) : m_regulator(regulator) {}

    // A refresh in Default mode.
    void observeDefault(const Sample& sample);
    // A refresh in a saving mode: the estimated saving in watts, never negative; empty when no part
    // of the draw has a Default figure to compare with yet.
    std::optional<double> saving(const Sample& sample);
    // Another saving mode starts: its own figures are learned anew; what Default draws is kept.
    void restartMode();

    // What Default was seen to draw, to keep across runs, and taking it back (entries out of range
    // are skipped).
    std::vector<DefaultEntry> defaultEntries() const;
    void restoreDefault(const std::vector<DefaultEntry>& entries);

private:
    // A smoothed figure; `seen` once the first reading started it.
    struct Learned {
        double value = 0.0;
        bool seen = false;
        void learn(double reading);
        std::optional<double> figure() const { return seen ? std::optional(value) : std::nullopt; }
    };
    // What one run kind (Default or the mode) was seen to draw at one load.
    struct LoadFigures {
        std::array<Learned, kParts> parts;
        Learned cpuWatts;
        Learned volts;
        Learned clock;
        Learned phases;
        void learn(const Sample& sample);
    };
    using LoadTable = std::array<LoadFigures, kLoadBins>;

    // The nearest load both Default and the mode ran at, for one part; empty when none.
    std::optional<std::size_t> nearestPair(std::size_t bin, std::size_t part) const;
    // Default's draw of the CPU's part at a load Default never ran at, from the pair at `pair`;
    // partNow is the part's draw now as the saving counts it.
    double defaultCpuPartWatts(const Sample& sample, std::size_t pair, double partNow) const;
    // How a CPU point's switching power compares with Default's at the pair: the square of the
    // voltage and the clock, each 1 where either side did not measure it.
    struct Scales {
        double voltage = 1.0;
        double clock = 1.0;
    };
    Scales againstDefault(const CpuPoint& point, std::size_t pair) const;
    // The voltage the regulator holds the CPU at, which the CPU's power follows: the core voltage as
    // measured plus the load line's droop at the CPU's current (as measured without the CPU's power or
    // the board's regulator record).
    double setpointVolts(double volts, std::optional<double> cpuWatts) const;
    double loadLineOhms() const;
    // What the mode was seen to run at, at the pair.
    CpuPoint modeAt(std::size_t pair) const;
    // The CPU's power in Default at the operating point `now`, from the pair's figures.
    double defaultCpuWatts(double watts, const CpuPoint& now, std::size_t pair) const;
    // The CPU regulator's loss at a power, voltage and phase count (0 without a regulator model).
    double regulatorLoss(double cpuWatts, double volts, double phases) const;

    const CpuRegulatorModel* m_regulator;
    LoadTable m_default{};
    LoadTable m_mode{};
    std::array<Learned, kParts> m_recent{}; // the mode's parts, smoothed across loads
};

} // namespace solvane::power
