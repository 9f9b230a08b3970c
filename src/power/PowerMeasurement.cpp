#include "power/PowerMeasurement.h"

#include "board/BoardTraits.h"
#include "power/CpuRegulatorModel.h"
#include "power/EfficiencyCurve.h"
#include "power/KeptDefaultDraw.h"

#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <optional>
#include <span>

namespace solvane::power {

namespace {

// int() of the formulas: truncation toward zero, held inside the int range so that a garbage
// reading cannot overflow.
int truncated(double value) {
    if (std::isnan(value))
        return 0;
    constexpr double kLow = std::numeric_limits<int>::min();
    constexpr double kHigh = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(value), kLow, kHigh));
}

int clampedInt(std::int64_t value) {
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string format(const char* pattern, ...) {
    char text[64];
    va_list arguments;
    va_start(arguments, pattern);
    std::vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}

// Which reading a board's CPU current comes from.
enum class CurrentSense {
    Cpu,  // the CPU sense v[6], in volts
    Core, // 2910: the core sense v[2], scaled by 8, in volts
    Amd,  // 2911: the sense v[4], scaled by 8, in millivolts
};

// How the current follows from the reading, the offset and the divisor.
enum class CurrentFormula {
    Hundredths,        // int(100·(x − offset) / divisor)
    HundredthsPlusOne, // int(100·((x − offset) / divisor + 1))
    Units,             // int((x − offset) / divisor)
};

// CPU current by board, the divisor chosen by the number of active phases. An empty divisor leaves
// the current as it was.
struct CurrentScale {
    int boardCode;
    double offsetHigh;                             // for 5 and 4 (and 6) active phases
    double offsetLow;                              // for 3, 2 and 1
    std::array<std::optional<double>, 6> divisors; // p = 1 .. 6
    CurrentSense sense;
    CurrentFormula formula;
};

constexpr std::array<CurrentScale, 6> kCurrentScales{{
    {2918,
     0.047,
     0.047,
     {std::nullopt, 0.03, 0.02, 0.015, 0.0122, std::nullopt},
     CurrentSense::Cpu,
     CurrentFormula::Hundredths},
    {2916,
     0.0347,
     0.0345,
     {std::nullopt, 0.026, 0.017, 0.0123, 0.01, std::nullopt},
     CurrentSense::Cpu,
     CurrentFormula::Hundredths},
    {2917,
     0.0363,
     0.0363,
     {0.027, 0.027, 0.0183, 0.0138, 0.0111, 0.0094},
     CurrentSense::Cpu,
     CurrentFormula::Hundredths},
    {2910,
     0.0153,
     0.0153,
     {0.027, 0.027, 0.0183, 0.0136, 0.01104, 0.00926},
     CurrentSense::Core,
     CurrentFormula::Hundredths},
    {2915,
     0.017,
     0.017,
     {0.028, 0.028, 0.0185, 0.0138, 0.011, 0.00935},
     CurrentSense::Cpu,
     CurrentFormula::HundredthsPlusOne},
    {2911,
     0.1448,
     0.1448,
     {0.017, 0.0175, 0.0178, 0.0178, std::nullopt, std::nullopt},
     CurrentSense::Amd,
     CurrentFormula::Units},
}};

// Rail powers are kept in 1/10000 W, savings and the CPU power in 1/100 W, the CPU consumption and
// saving figures in 1/10 W, the efficiency in 1/10 percent.
constexpr double kRailPerConsumption = 1000.0;
constexpr double kRailPerWatt = 10000.0;
constexpr double kConsumptionPerWatt = 10.0;
constexpr double kSavingPerWatt = 100.0;
constexpr double kCpuPowerPerConsumption = 10.0;
constexpr double kSavingPerConsumption = 10.0;
constexpr double kEfficiencyScale = 1000.0;
constexpr double kMillivoltsPerVolt = 1000.0;

std::string temperatureText(int celsius) {
    return format("%d'C / %d'F", celsius, truncated(celsius * 1.8 + 32));
}

std::string wattsOrZero(double tenThousandths) {
    return tenThousandths > 0 ? format("%.2f W", tenThousandths / 10000) : std::string("0 W");
}

} // namespace

double savedWattHours(std::int64_t hundredthKWh, std::int64_t remainder) {
    return static_cast<double>(hundredthKWh) * 10.0 +
           static_cast<double>(remainder) / static_cast<double>(kRemainderPerWattHour);
}

std::string savedEnergyText(std::int64_t hundredthKWh, std::int64_t remainder) {
    // From 1 kWh on the whole hundredths the registry keeps are shown; below, the watt-hours with the
    // remainder, which is energy (0.01 W·s) and not a power.
    if (hundredthKWh >= 100)
        return format("%.2f kw-hr", static_cast<double>(hundredthKWh) / 100);
    const double wattHours = savedWattHours(hundredthKWh, remainder);
    return wattHours > 0 ? format("%.2f Wh", wattHours) : std::string("0 Wh");
}

PowerMeasurement::PowerMeasurement(const PlatformInfo& platform, platform::RandomSource& random)
    : m_platform(platform), m_random(random) {}

double PowerMeasurement::fraction() {
    return static_cast<double>(m_random.next()) / platform::RandomSource::kMax;
}

void PowerMeasurement::loadTotals(const platform::Registry& registry) {
    m_values.TotalSavingHundredthKWh = registry.readDword(kSavingTotalsKey, kSavingTotalValue).value_or(0);
    m_values.TotalSavingRemainder = registry.readDword(kSavingTotalsKey, kSavingRemainderValue).value_or(0);
    m_savedHundredths = m_values.TotalSavingHundredthKWh;
    m_savedRemainder = m_values.TotalSavingRemainder;
    // The board is known by now: its regulator's loss counts in Default's draw, and what Default drew
    // on it before is taken back (a damaged value, or one of another board, is not).
    m_estimate = SavingEstimate(cpuRegulatorModelFor(m_platform.BoardCode));
    if (const auto kept = registry.readString(kSavingTotalsKey, kDefaultDrawValue))
        if (const auto entries = parseKeptDefaultDraw(*kept, m_platform.BoardCode))
            m_estimate.restoreDefault(*entries);
    m_defaultDrawLearned = false;
}

void PowerMeasurement::keepDefaultDraw(platform::Registry& registry) {
    if (!m_defaultDrawLearned)
        return;
    if (registry.writeString(kSavingTotalsKey, kDefaultDrawValue,
                             keptDefaultDrawText(m_platform.BoardCode, m_estimate.defaultEntries())))
        m_defaultDrawLearned = false;
}

void PowerMeasurement::takeVoltagesAndRails(const SensorSnapshot& s) {
    auto& m = m_values;
    if (m_platform.SensorKind == kRawCountSensorKind &&
        board::traitsOf(m_platform.BoardCode).amdRailMonitor) {
        m.CoreMilliVolts = clampedInt(std::int64_t{s.v(1)} * 8);
        m.Rail33 = s.v(0) * 16.0 / 100;
        // This board's rail monitor gives one byte per rail, too coarse for millivolts: the formulas
        // give volts, taken to millivolts like every other board's rails.
        m.Rail5 = s.amdRail5 * 1976.0 / 47 / 100 * kMillivoltsPerVolt;
        m.Rail12 = s.amdRail12 * 880.0 / 10 / 100 * kMillivoltsPerVolt;
    } else if (m_platform.SensorKind == kRawCountSensorKind) {
        m.CoreMilliVolts = clampedInt(std::int64_t{s.v(1)} * 8);
        // 2910 reads its CPU current sense in slot 2, so its 3.3 V rail sits in slot 0 as on 2911.
        m.Rail33 = s.v(board::traitsOf(m_platform.BoardCode).rail33InFirstSlot ? 0 : 2) * 16.0 / 100;
        m.Rail5 = s.v(4) * 1976.0 / 47 / 1000;
        m.Rail12 = s.v(5) * 1760.0 / 20 / 1000;
    } else {
        m.CoreMilliVolts = s.v(0);
        m.Rail33 = s.v(2);
        m.Rail5 = s.v(3);
        m.Rail12 = s.v(4);
    }
    m.FanRpm = s.v(kFanSpeedSensorIndex);

    m.PowerChipPresent = s.powerChipPresent;
    if (!s.powerChipPresent) {
        m.P33 = m.P5 = m.P12 = 0;
        return;
    }
    const double sense33 = s.railSense33;
    const double sense12 = s.railSense12;
    const double sense5 = s.railSense5;
    m.P33 = 100.0 * truncated(((sense33 * 8 / 1000 - 0.054) / 0.03 + 2) * m.Rail33 / 10);
    m.P5 = 100.0 * truncated(((sense5 * 8 / 1000 - 0.07) / 0.045 + 2) * m.Rail5 / 10);
    m.P12 = 100.0 * truncated(((sense12 * 8 / 1000 - 0.1) / 0.102 + 1) * m.Rail12 / 10);
}

void PowerMeasurement::computeCpu(const SensorSnapshot& s, int p) {
    auto& m = m_values;
    const int board = m_platform.BoardCode;
    const double cpuSense = s.v(6) / 1000.0;
    m.CpuCurrent = 0;
    if (board::traitsOf(board).amdRailMonitor) {
        const double v6 = s.v(6);
        m.AmdCpuCurrent = (8.0 * s.v(5) / 1000 - 0.013) / 0.0091;
        m.AmdCpuPower = (8.0 * s.v(2) / 1000) * m.AmdCpuCurrent;
        m.CpuCurrent = truncated(0.1 * (8 * v6 - 0.0619) / (0.01 + 0.016 * v6) + 0.629);
    }

    for (const auto& scale : kCurrentScales) {
        if (scale.boardCode != board || p < 1 || p > 6)
            continue;
        const auto divisor = scale.divisors[static_cast<std::size_t>(p - 1)];
        if (!divisor)
            continue;
        const double reading = scale.sense == CurrentSense::Core  ? 8.0 * s.v(2) / 1000
                               : scale.sense == CurrentSense::Amd ? 8.0 * s.v(4)
                                                                  : cpuSense;
        const double offset = p >= 4 ? scale.offsetHigh : scale.offsetLow;
        switch (scale.formula) {
        case CurrentFormula::Hundredths:
            m.CpuCurrent = truncated(100 * (reading - offset) / *divisor);
            break;
        case CurrentFormula::HundredthsPlusOne:
            m.CpuCurrent = truncated(100 * ((reading - offset) / *divisor + 1));
            break;
        case CurrentFormula::Units:
            m.CpuCurrent = truncated((reading - offset) / *divisor);
            break;
        }
    }

    const std::int64_t product = std::int64_t{m.CoreMilliVolts} * m.CpuCurrent;
    if (board::foundWith(board, &board::BoardTraits::cpuPowerFromSense)) {
        m.CpuPower = clampedInt(std::int64_t{s.v(6)} * 8);
    } else if (board::foundWith(board, &board::BoardTraits::amdRailMonitor)) {
        m.CpuPower = clampedInt(product / 10000);
        m.AmdCpuPower = m.AmdCpuPower * 120 + static_cast<double>(product / 20000);
    } else {
        m.CpuPower = clampedInt(product / 1000);
    }
    // The CPU's consumption is its power: the current sense reads one phase, so a formula of the
    // sense alone, blind to the phase count, cannot give it at every count.
    m.CpuConsumption = std::max(0, m.CpuPower) / kCpuPowerPerConsumption;
}

void PowerMeasurement::computeTotalsAndEfficiency(int p) {
    auto& m = m_values;
    m_activePhases = p;
    const double cpuConsumption = m.CpuConsumption;
    // What the CPU regulator loses at the current it delivers with the phases that run: its supply
    // draws that beyond the CPU's power, and its efficiency follows from it.
    const auto* regulator = cpuRegulatorModelFor(m_platform.BoardCode);
    const double cpuWatts = cpuConsumption / kConsumptionPerWatt;
    const double lossWatts = regulator != nullptr && cpuWatts > 0
                                 ? regulator->lossWatts(std::max(0, m.CpuCurrent) / 100.0, p)
                                 : 0.0;
    // The CPU has its own supply beside the rails: the total is the rails and that supply, in the
    // rails' unit.
    m.TotalConsumption =
        truncated(m.P33 + cpuConsumption * kRailPerConsumption + lossWatts * kRailPerWatt + m.P5 + m.P12);
    if (lossWatts > 0)
        m.Efficiency = truncated(kEfficiencyScale * cpuWatts / (cpuWatts + lossWatts));
    // An AMD board reports its own efficiency: its power against the consumption figure. A zero
    // consumption would divide by zero, so the figure then stays as it was.
    if (m.CpuPower > cpuConsumption && m_platform.CpuVendor == "AMD" && cpuConsumption > 0)
        m.Efficiency = truncated(m.AmdCpuPower / cpuConsumption);
    m.CpuSavingFigure =
        std::clamp(ordinaryRegulatorSaving(p) / kSavingPerConsumption, 0.0, std::max(0.0, cpuConsumption));
}

int PowerMeasurement::ordinaryRegulatorSaving(int p) const {
    const auto& m = m_values;
    const long long step = std::max<long long>((static_cast<long long>(m.CpuCurrent) - 50) / 100, 1);
    const EfficiencyCurve* curve = efficiencyCurveFor(m_platform.BoardCode);
    // Without a curve there is nothing to compare the CPU with: only the rails count.
    if (p == 6 || (m.CpuPower < 6500 && step > 5000) || curve == nullptr || m.Efficiency <= 0)
        return 0;
    const double reference = (*curve)[boundedLoadStep(step)];
    if (reference <= 0)
        return 0;
    // What an ordinary regulator would draw for this CPU power, and what this board's draws at the
    // efficiency the page shows (both in the saving's 1/100 W).
    const int ordinary = truncated(m.CpuPower * 100.0 / reference);
    const double own = m.CpuPower * kEfficiencyScale / m.Efficiency;
    return std::max(0, truncated(ordinary - own));
}

void PowerMeasurement::accountSavings(PowerMode mode, std::optional<double> cpuLoad,
                                      std::optional<double> cpuClock) {
    auto& m = m_values;
    m.LastIntervalSaving = 0;
    // The parts the estimate learns separately: the one that feeds the CPU first (its own supply where
    // the board measures the CPU's power, else the 12 V rail it hangs on), then the other rails.
    const double cpuSupplyWatts = (m.TotalConsumption - m.P33 - m.P5 - m.P12) / kRailPerWatt;
    const double cpuWatts = m.CpuConsumption / kConsumptionPerWatt;
    const bool cpuMeasured = cpuWatts > 0;
    const double rail12Watts = m.P12 / kRailPerWatt;
    SavingEstimate::Sample sample{
        cpuLoad,
        {cpuMeasured ? cpuSupplyWatts : rail12Watts, cpuMeasured ? rail12Watts : cpuSupplyWatts,
         m.P5 / kRailPerWatt, m.P33 / kRailPerWatt},
        SavingEstimate::CpuPoint{m.CoreMilliVolts / kMillivoltsPerVolt, cpuClock,
                                 cpuMeasured ? std::optional(cpuWatts) : std::nullopt, m_activePhases}};
    if (mode != PowerMode::Optimize && mode != PowerMode::Max) {
        m.SavedPercentage = 0;
        m.CurrentSaving = 0;
        m.PowerWithoutSaving = 0;
        // Before any mode is applied the board runs whatever it was left at: no measure of Default.
        if (mode == PowerMode::Default) {
            m_estimate.observeDefault(sample);
            m_defaultDrawLearned = true;
        }
        return;
    }
    // Without a Default figure yet (a run that started in a saving mode), what running fewer CPU
    // phases saves is still known: the CPU panel's regulator saving. A saving is never more than what
    // is drawn now.
    const double drawn = std::max(0, m.TotalConsumption) / kRailPerWatt;
    const double estimated = m_estimate.saving(sample).value_or(m.CpuSavingFigure / kConsumptionPerWatt);
    const double saved = std::clamp(estimated, 0.0, drawn);
    m.CurrentSaving = truncated(saved * kSavingPerWatt);
    m.PowerWithoutSaving = truncated((drawn + saved) * kSavingPerWatt);
    m.LastIntervalSaving = 3 * std::int64_t{m.CurrentSaving};
    m.TotalSavingRemainder += m.LastIntervalSaving;
    m.SavedPercentage = m.CurrentSaving > 0 && m.PowerWithoutSaving > 0
                            ? clampedInt(std::int64_t{m.CurrentSaving} * 100 / m.PowerWithoutSaving)
                            : 0;
}

void PowerMeasurement::updateEnergyTotal(platform::Registry& registry) {
    auto& m = m_values;
    if (m.TotalSavingRemainder > kRemainderPerHundredthKWh) {
        ++m.TotalSavingHundredthKWh;
        m.TotalSavingRemainder -= kRemainderPerHundredthKWh;
    }
    m_energyText = savedEnergyText(m.TotalSavingHundredthKWh, m.TotalSavingRemainder);

    // Both totals are kept together, as one change, so a crash between them cannot count the
    // carried hundredth twice; a remainder that went back to 0 is kept too.
    if (m.TotalSavingHundredthKWh == m_savedHundredths && m.TotalSavingRemainder == m_savedRemainder)
        return;
    const auto asDword = [](std::int64_t value) {
        return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, UINT32_MAX));
    };
    if (registry.writeDwords(kSavingTotalsKey, {{kSavingTotalValue, asDword(m.TotalSavingHundredthKWh)},
                                                {kSavingRemainderValue, asDword(m.TotalSavingRemainder)}})) {
        m_savedHundredths = m.TotalSavingHundredthKWh;
        m_savedRemainder = m.TotalSavingRemainder;
    }
}

void PowerMeasurement::restartForMode(PowerMode applied) {
    auto& m = m_values;
    if (applied == PowerMode::Optimize || applied == PowerMode::Max)
        m_estimate.restartMode();
    m.P33 = m.P5 = m.P12 = 0;
}

std::string PowerMeasurement::efficiencyText(int cpuPhaseSetting) {
    auto& m = m_values;
    if (m_platform.CpuVendor == "AMD") {
        const int shown = m.Efficiency;
        m.Efficiency /= 10;
        static constexpr std::array<double, 4> kAmdBySetting{88.5, 88.0, 89.0, 91.5}; // CPU_PHASE 0 to 3
        if (cpuPhaseSetting >= 0 && cpuPhaseSetting <= 3)
            return format("%.1f %%",
                          kAmdBySetting[static_cast<std::size_t>(cpuPhaseSetting)] + 0.55 * fraction());
        return format("%.1f %%", shown / 10.0);
    }
    return format("%.1f %%", m.Efficiency / 10.0);
}

Readouts PowerMeasurement::formatReadouts(const SensorSnapshot& s, int cpuPhaseSetting) {
    auto& m = m_values;
    const int board = m_platform.BoardCode;
    Readouts texts;
    if (board::foundWith(board, &board::BoardTraits::revisionSixVariant) &&
        m_platform.baseboardVersion.find("6.") != std::string::npos)
        m.CoreMilliVolts = truncated(m.CoreMilliVolts * 1.09);
    texts.coreVoltage = format("%.3f V", m.CoreMilliVolts / 1000.0);
    texts.efficiency = efficiencyText(cpuPhaseSetting);
    texts.cpuTemperature = temperatureText(s.cpuTemperature());
    texts.boardTemperature =
        temperatureText(board::traitsOf(board).temperatureBufferMonitor ? s.boardTemperature() : s.v(7));
    texts.fanSpeed = format("%d rpm", m.FanRpm);
    texts.rail33 = wattsOrZero(m.P33);
    texts.rail5 = wattsOrZero(m.P5);
    texts.rail12 = wattsOrZero(m.P12);

    texts.cpuConsumption = format("%.2f W\n", m.CpuConsumption / 10);
    texts.totalConsumption = format("%.2f W", m.TotalConsumption / 10000.0);
    texts.cpuSaving = format(m_platform.CpuVendor == "AMD" ? "%.2f W" : "%.2f W\n", m.CpuSavingFigure / 10);
    texts.currentSaving =
        m.CurrentSaving > 0 ? format("%.2f W", m.CurrentSaving / 100.0) : std::string("0 W");
    texts.savingPercentage = m.SavedPercentage > 0 ? format("%.1f %%", static_cast<double>(m.SavedPercentage))
                                                   : std::string("0 %");
    texts.energySaved = m_energyText;
    return texts;
}

} // namespace solvane::power
