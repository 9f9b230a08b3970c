#pragma once

#include "board/PlatformInfo.h"
#include "platform/Random.h"
#include "platform/Registry.h"
#include "power/PowerModeState.h"
#include "power/SavingEstimate.h"
#include "power/SensorSnapshot.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace solvane::power {

inline constexpr std::string_view kSavingTotalsKey = "Software\\Tarvok\\SolvaneCenter2\\Batch";
inline constexpr std::string_view kSavingTotalValue = "degree";
inline constexpr std::string_view kSavingRemainderValue = "totalPowerSaving";
// 0.01 kWh in the remainder's unit of 0.01 W·s.
inline constexpr std::int64_t kRemainderPerHundredthKWh = 3600000;
inline constexpr std::int64_t kRemainderPerWattHour = kRemainderPerHundredthKWh / 10;

// The energy saved across runs, from the registry's hundredths of a kWh and its remainder.
double savedWattHours(std::int64_t hundredthKWh, std::int64_t remainder);
// The energy saved as the page shows it: watt-hours below 1 kWh, kilowatt-hours from there on.
std::string savedEnergyText(std::int64_t hundredthKWh, std::int64_t remainder);

// The figures one refresh computes and the next one builds on. Powers of the rails, the total and the
// rail sum are in 1/10000 W (rail voltages in millivolts), the CPU current in 1/100 A (mA on 2911),
// the CPU power and the savings in 1/100 W, the CPU consumption and saving figures in 1/10 W, the
// efficiency in 1/10 percent.
struct Measurements {
    int CoreMilliVolts = 0;
    double Rail33 = 0;
    double Rail5 = 0;
    double Rail12 = 0;
    int FanRpm = 0;
    double P33 = 0;
    double P5 = 0;
    double P12 = 0;
    bool PowerChipPresent = false;
    int CpuCurrent = 0;
    int CpuPower = 0;
    double CpuConsumption = 0;  // E
    double CpuSavingFigure = 0; // S
    double AmdCpuPower = 0;
    double AmdCpuCurrent = 0;
    int TotalConsumption = 0;
    int Efficiency = 0;
    int CurrentSaving = 0;
    int PowerWithoutSaving = 0;
    int SavedPercentage = 0;
    std::int64_t TotalSavingHundredthKWh = 0; // registry "degree"
    std::int64_t TotalSavingRemainder = 0;    // registry "totalPowerSaving"
    // The saving of the last refresh, in the remainder's unit (0.01 W·s).
    std::int64_t LastIntervalSaving = 0;
};

// The read-out texts of the basic-mode page, exactly as shown.
struct Readouts {
    std::string coreVoltage;
    std::string efficiency;
    std::string cpuTemperature;
    std::string boardTemperature;
    std::string fanSpeed;
    std::string rail33;
    std::string rail5;
    std::string rail12;
    std::string cpuConsumption;
    std::string totalConsumption;
    std::string cpuSaving;
    std::string currentSaving;
    std::string savingPercentage;
    std::string energySaved;
};

// The board-specific formulas of the power-saving monitor: from raw sensor readings to rail
// powers, CPU current and power, efficiency, the current saving and the energy saved across runs.
// The refresh calls the stages in order; the phase read-outs, the load rule and the fan step run
// between them.
class PowerMeasurement {
public:
    PowerMeasurement(const PlatformInfo& platform, platform::RandomSource& random);

    Measurements& values() { return m_values; }
    const Measurements& values() const { return m_values; }

    // The energy totals kept across runs (missing values count as 0), and what Default was seen to
    // draw on this board in earlier runs.
    void loadTotals(const platform::Registry& registry);
    // Keeps what Default was seen to draw, when this run learned more of it; called when a mode is
    // applied and at exit, not at every refresh.
    void keepDefaultDraw(platform::Registry& registry);

    // Core and rail voltages, fan speed, and the rail powers from the power-monitor chip.
    void takeVoltagesAndRails(const SensorSnapshot& snapshot);
    // CPU consumption and saving figures, CPU current for the active phase count, CPU power.
    void computeCpu(const SensorSnapshot& snapshot, int activePhases);
    // Total consumption and the efficiency figure.
    void computeTotalsAndEfficiency(int activePhases);
    // The current saving against what Default would draw at this CPU load (0 to 1) and clock (a share
    // of the highest), each empty when not measured, in Optimize and Max mode only; Default's
    // refreshes teach the estimate.
    void accountSavings(PowerMode mode, std::optional<double> cpuLoad,
                        std::optional<double> cpuClock = std::nullopt);
    // Carries whole hundredths of a kWh out of the remainder and keeps both in the registry.
    void updateEnergyTotal(platform::Registry& registry);
    // The page's read-out texts; cpuPhaseSetting is the CPU_PHASE value (AMD efficiency text).
    Readouts formatReadouts(const SensorSnapshot& snapshot, int cpuPhaseSetting);

    // Applying a mode clears the rail powers; a saving mode learns its own share of Default's draw.
    void restartForMode(PowerMode applied);

private:
    // What the CPU regulator saves against an ordinary one at this load (1/100 W); nothing where
    // there is no curve to compare with.
    int ordinaryRegulatorSaving(int activePhases) const;
    double fraction(); // F
    std::string efficiencyText(int cpuPhaseSetting);

    const PlatformInfo& m_platform;
    platform::RandomSource& m_random;
    Measurements m_values;
    SavingEstimate m_estimate;
    int m_activePhases = 0;            // the CPU regulator's running phases at this refresh
    bool m_defaultDrawLearned = false; // Default refreshes since its draw was last kept
    std::string m_energyText = savedEnergyText(0, 0);
    std::int64_t m_savedHundredths = 0; // what the registry holds, as far as this run knows
    std::int64_t m_savedRemainder = 0;
};

} // namespace solvane::power
