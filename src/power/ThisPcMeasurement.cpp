#include "power/ThisPcMeasurement.h"

#include <algorithm>
#include <cmath>

namespace solvane::power {

namespace {

// The units of Measurements (see PowerMeasurement.h).
constexpr double kTotalPerWatt = 10000.0;
constexpr double kConsumptionPerWatt = 10.0;
constexpr double kSavingPerWatt = 100.0;
constexpr double kMillivoltsPerVolt = 1000.0;

int scaled(double value, double perUnit) {
    return static_cast<int>(std::lround(value * perUnit));
}

// What the saving is measured on, and the parts the estimate learns separately.
struct Draw {
    ThisPcDraw kind = ThisPcDraw::None;
    std::optional<double> watts;
    std::string source;
    std::string missing;
    std::array<double, SavingEstimate::kParts> parts{};
};

Draw drawOf(const hw::MachineReadings& readings) {
    Draw draw;
    if (readings.supply == hw::PowerSupplyState::Battery && readings.battery.value) {
        draw.kind = ThisPcDraw::Battery;
        draw.watts = readings.battery.value;
        draw.source = "battery draw (" + readings.battery.source + ")";
        draw.parts[0] = *draw.watts;
        return draw;
    }
    if (!readings.package.value) {
        draw.missing =
            "neither the battery's draw nor the CPU package power can be read: " + readings.package.missing;
        return draw;
    }
    draw.kind = ThisPcDraw::Package;
    draw.watts = readings.package.value;
    draw.source = "CPU package power (" + readings.package.source + ")";
    draw.parts[0] = *readings.package.value;
    if (readings.graphics.value) {
        *draw.watts += *readings.graphics.value;
        draw.source += " + graphics card (" + readings.graphics.source + ")";
        draw.parts[1] = *readings.graphics.value;
    }
    return draw;
}

} // namespace

void ThisPcMeasurement::refresh(hw::MachineMeter& meter, std::optional<double> cpuLoad, PowerMode mode,
                                double intervalSeconds, Measurements& values) {
    auto& figures = m_figures;
    figures = ThisPcFigures{};
    figures.readings = meter.read();
    figures.cpuLoad = cpuLoad;
    const auto& readings = figures.readings;
    auto draw = drawOf(readings);
    figures.drawnWatts = draw.watts;
    figures.drawSource = draw.source;
    figures.drawMissing = draw.missing;

    values.TotalConsumption = draw.watts ? scaled(*draw.watts, kTotalPerWatt) : 0;
    values.CpuConsumption = readings.package.value ? scaled(*readings.package.value, kConsumptionPerWatt) : 0;
    values.FanRpm = readings.fans.empty() ? 0 : static_cast<int>(std::lround(*readings.fans.front().value));
    values.CoreMilliVolts =
        readings.coreVoltage.value ? scaled(*readings.coreVoltage.value, kMillivoltsPerVolt) : 0;
    values.CurrentSaving = values.PowerWithoutSaving = values.SavedPercentage = 0;
    values.LastIntervalSaving = 0;

    if (!draw.watts) {
        figures.savingMissing = draw.missing;
        return;
    }
    // Default's draw learned on the battery says nothing of the package's, and the other way round.
    if (draw.kind != m_estimatedDraw)
        startEstimateOn(draw.kind, draw.source);
    const SavingEstimate::Sample sample{cpuLoad, draw.parts};
    // Outside the saving modes nothing is saved, as on a board; only Default's draw teaches the
    // estimate (before a mode is applied the PC runs as it was left).
    if (mode != PowerMode::Optimize && mode != PowerMode::Max) {
        if (mode == PowerMode::Default) {
            m_estimate.observeDefault(sample);
            m_defaultLearned = true;
        }
        figures.savingWatts = 0.0;
        return;
    }
    const auto estimated = m_estimate.saving(sample);
    if (!estimated) {
        figures.savingMissing = "not yet known: the saving is measured against Default mode at the same load";
        return;
    }
    const double saved = std::clamp(*estimated, 0.0, *draw.watts);
    figures.savingWatts = saved;
    figures.savingEstimated = true;
    values.CurrentSaving = scaled(saved, kSavingPerWatt);
    values.PowerWithoutSaving = scaled(*draw.watts + saved, kSavingPerWatt);
    values.SavedPercentage =
        values.PowerWithoutSaving > 0 ? values.CurrentSaving * 100 / values.PowerWithoutSaving : 0;
    values.LastIntervalSaving = std::llround(saved * kSavingPerWatt * intervalSeconds);
    values.TotalSavingRemainder += values.LastIntervalSaving;
}

void ThisPcMeasurement::handOverLearnedDefault() {
    if (m_defaultLearned)
        m_kept.learned(m_estimatedDraw, m_estimatedSource, m_estimate.defaultEntries());
    m_defaultLearned = false;
}

void ThisPcMeasurement::startEstimateOn(ThisPcDraw draw, const std::string& source) {
    handOverLearnedDefault();
    m_estimate = SavingEstimate{};
    if (const auto entries = m_kept.kept(draw, source))
        m_estimate.restoreDefault(*entries);
    m_estimatedDraw = draw;
    m_estimatedSource = source;
}

void ThisPcMeasurement::loadKeptDefaultDraw(const platform::Registry& registry, std::string machine) {
    m_kept.load(registry, std::move(machine));
}

void ThisPcMeasurement::keepDefaultDraw(platform::Registry& registry) {
    handOverLearnedDefault();
    m_kept.keep(registry);
}

void ThisPcMeasurement::restartForMode(PowerMode applied) {
    if (applied == PowerMode::Optimize || applied == PowerMode::Max)
        m_estimate.restartMode();
}

} // namespace solvane::power
