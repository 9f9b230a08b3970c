#include "power/SavingEstimate.h"

#include "power/CpuRegulatorModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace solvane::power {

namespace {

// The share of a new reading in a learned figure: a quarter follows a fan or temperature that
// settles over a minute (20 refreshes) and smooths a rail reading's one-count noise.
constexpr double kNewReadingShare = 0.25;
// Clocks closer than this at a pair cannot tell switching power from leakage: both are then
// carried over by the voltage alone, where the split does not matter.
constexpr double kClockDifferenceNeeded = 0.05;

constexpr double kNotMeasured = std::numeric_limits<double>::quiet_NaN();

// An unknown load counts as an idle one; the value is read only through value_or, so nothing reads
// an absent load.
std::size_t binOf(const std::optional<double>& load) {
    const double known = load.value_or(kNotMeasured);
    if (!std::isfinite(known))
        return 0;
    const double scaled = std::clamp(known, 0.0, 1.0) * static_cast<double>(SavingEstimate::kLoadBins - 1);
    return static_cast<std::size_t>(std::lround(scaled));
}

// The core voltage at the socket where the regulator holds `setpoint` and the CPU draws `watts`:
// lower by the load line's droop at the current, V = setpoint − R·P/V.
double droopedVolts(double setpoint, double watts, double loadLineOhms) {
    return (setpoint + std::sqrt(std::max(0.0, setpoint * setpoint - 4 * loadLineOhms * watts))) / 2;
}

std::size_t distance(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

} // namespace

void SavingEstimate::Learned::learn(double reading) {
    value = seen ? value + kNewReadingShare * (reading - value) : reading;
    seen = true;
}

void SavingEstimate::LoadFigures::learn(const Sample& sample) {
    for (std::size_t part = 0; part < kParts; ++part)
        if (std::isfinite(sample.watts[part]))
            parts[part].learn(sample.watts[part]);
    if (!sample.cpu)
        return;
    const auto& cpu = *sample.cpu;
    if (cpu.watts && std::isfinite(*cpu.watts))
        cpuWatts.learn(*cpu.watts);
    if (cpu.volts > 0 && std::isfinite(cpu.volts))
        volts.learn(cpu.volts);
    if (cpu.clock && *cpu.clock > 0 && std::isfinite(*cpu.clock))
        clock.learn(*cpu.clock);
    if (cpu.phases > 0)
        phases.learn(cpu.phases);
}

void SavingEstimate::observeDefault(const Sample& sample) {
    m_default[binOf(sample.cpuLoad)].learn(sample);
}

std::optional<std::size_t> SavingEstimate::nearestPair(std::size_t bin, std::size_t part) const {
    std::optional<std::size_t> nearest;
    for (std::size_t other = 0; other < kLoadBins; ++other) {
        const auto& inDefault = m_default[other].parts[part];
        const auto& inMode = m_mode[other].parts[part];
        const bool paired = inDefault.seen && inMode.seen && inDefault.value > 0 && inMode.value > 0;
        if (paired && (!nearest || distance(other, bin) < distance(*nearest, bin)))
            nearest = other;
    }
    return nearest;
}

double SavingEstimate::regulatorLoss(double cpuWatts, double volts, double phases) const {
    if (m_regulator == nullptr || volts <= 0 || phases < 1 || cpuWatts <= 0)
        return 0.0;
    return m_regulator->lossWatts(cpuWatts / volts, static_cast<int>(std::lround(phases)));
}

double SavingEstimate::loadLineOhms() const {
    return m_regulator != nullptr ? m_regulator->loadLineOhms : 0.0;
}

double SavingEstimate::setpointVolts(double volts, std::optional<double> cpuWatts) const {
    if (!cpuWatts || !(volts > 0))
        return volts;
    return volts + loadLineOhms() * *cpuWatts / volts;
}

SavingEstimate::Scales SavingEstimate::againstDefault(const CpuPoint& point, std::size_t pair) const {
    const auto& inDefault = m_default[pair];
    Scales scales;
    if (point.volts > 0 && inDefault.volts.seen) {
        scales.voltage = std::pow(setpointVolts(point.volts, point.watts) /
                                      setpointVolts(inDefault.volts.value, inDefault.cpuWatts.figure()),
                                  2);
    }
    if (point.clock && *point.clock > 0 && inDefault.clock.seen)
        scales.clock = *point.clock / inDefault.clock.value;
    return scales;
}

SavingEstimate::CpuPoint SavingEstimate::modeAt(std::size_t pair) const {
    const auto& inMode = m_mode[pair];
    CpuPoint point;
    if (inMode.volts.seen)
        point.volts = inMode.volts.value;
    if (inMode.clock.seen)
        point.clock = inMode.clock.value;
    if (inMode.cpuWatts.seen)
        point.watts = inMode.cpuWatts.value;
    if (inMode.phases.seen)
        point.phases = static_cast<int>(std::lround(inMode.phases.value));
    return point;
}

double SavingEstimate::defaultCpuWatts(double watts, const CpuPoint& now, std::size_t pair) const {
    // At the pair the mode drew Pm = (L + (Pd - L)·g)·s with Default's leakage L and power Pd, which
    // gives L where the clocks differ enough to tell.
    const double defaultPower = m_default[pair].cpuWatts.value;
    const auto atPair = againstDefault(modeAt(pair), pair);
    double leakage = 0.0;
    if (std::abs(1.0 - atPair.clock) >= kClockDifferenceNeeded)
        leakage = std::clamp((m_mode[pair].cpuWatts.value / atPair.voltage - defaultPower * atPair.clock) /
                                 (1.0 - atPair.clock),
                             0.0, defaultPower);
    const auto atNow = againstDefault(now, pair);
    return leakage + (watts / atNow.voltage - leakage) / atNow.clock;
}

double SavingEstimate::defaultCpuPartWatts(const Sample& sample, std::size_t pair, double partNow) const {
    const auto& inDefault = m_default[pair];
    const auto& inMode = m_mode[pair];
    const auto& now = *sample.cpu;
    const auto pairPoint = modeAt(pair);
    const double defaultVolts = inDefault.volts.seen ? inDefault.volts.value : now.volts;
    const double defaultPhases = inDefault.phases.seen ? inDefault.phases.value : now.phases;
    const double defaultSetpoint = setpointVolts(defaultVolts, inDefault.cpuWatts.figure());

    if (now.watts && pairPoint.watts && inDefault.cpuWatts.seen) {
        // The CPU's power is measured: carry it over, add the regulator's loss with Default's phases,
        // and keep what the part draws beside them. What carrying the pair's own figures over misses
        // of Default's draw there is added too.
        const auto inDefaultMode = [&](const CpuPoint& point, double part) {
            const double converted = defaultCpuWatts(*point.watts, point, pair);
            const double beside =
                part - *point.watts - regulatorLoss(*point.watts, point.volts, point.phases);
            // Default holds its setpoint at every load; its core droops by the current it delivers.
            const double volts = droopedVolts(defaultSetpoint, converted, loadLineOhms());
            return converted + regulatorLoss(converted, volts, defaultPhases) + beside;
        };
        const double missed =
            inDefault.parts[kCpuPart].value - inDefaultMode(pairPoint, inMode.parts[kCpuPart].value);
        return inDefaultMode(now, partNow) + missed;
    }

    // The part feeds the CPU and more (a rail): what follows voltage and clock is told from the rest
    // by the pair, the rest taken to draw alike in both modes.
    const double defaultPart = inDefault.parts[kCpuPart].value;
    const double pairPart = inMode.parts[kCpuPart].value;
    const auto atPair = againstDefault(pairPoint, pair);
    const auto atNow = againstDefault(now, pair);
    const double pairScale = atPair.voltage * atPair.clock;
    const double nowScale = atNow.voltage * atNow.clock;
    if (std::abs(1.0 - pairScale) < kClockDifferenceNeeded || !(nowScale > 0))
        return partNow * defaultPart / pairPart;
    const double following = std::clamp((defaultPart - pairPart) / (1.0 - pairScale), 0.0, defaultPart);
    const double rest = defaultPart - following;
    return rest + (partNow - rest) / nowScale;
}

std::optional<double> SavingEstimate::saving(const Sample& sample) {
    const std::size_t bin = binOf(sample.cpuLoad);
    m_mode[bin].learn(sample);
    std::optional<double> saved;
    for (std::size_t part = 0; part < kParts; ++part) {
        const double measured = sample.watts[part];
        if (!std::isfinite(measured))
            continue;
        m_recent[part].learn(measured);
        // The CPU's own power moves with the load at once and reads finely; a rail reads in steps.
        const bool cpuPower = part == kCpuPart && (!sample.cpu || sample.cpu->watts);
        const double now = cpuPower ? measured : m_recent[part].value;
        std::optional<double> inDefault;
        if (m_default[bin].parts[part].seen) {
            inDefault = m_default[bin].parts[part].value;
        } else if (const auto pair = nearestPair(bin, part)) {
            const bool operatingPointKnown = sample.cpu && (sample.cpu->volts > 0 || sample.cpu->clock);
            if (part == kCpuPart && operatingPointKnown)
                inDefault = defaultCpuPartWatts(sample, *pair, now);
            else
                inDefault = now * m_default[*pair].parts[part].value / m_mode[*pair].parts[part].value;
        }
        if (inDefault)
            saved = saved.value_or(0.0) + *inDefault - now;
    }
    // A part may draw more in a saving mode than in Default (a fan that turns faster); the mode as a
    // whole is said to save nothing rather than a negative saving.
    if (saved)
        *saved = std::max(0.0, *saved);
    return saved;
}

void SavingEstimate::restartMode() {
    m_mode = {};
    m_recent = {};
}

std::vector<SavingEstimate::DefaultEntry> SavingEstimate::defaultEntries() const {
    const auto valueOf = [](const Learned& figure) { return figure.seen ? figure.value : kNotMeasured; };
    std::vector<DefaultEntry> entries;
    for (std::size_t bin = 0; bin < kLoadBins; ++bin) {
        const auto& figures = m_default[bin];
        if (std::none_of(figures.parts.begin(), figures.parts.end(), [](const Learned& p) { return p.seen; }))
            continue;
        DefaultEntry entry{bin,
                           {},
                           valueOf(figures.cpuWatts),
                           valueOf(figures.volts),
                           valueOf(figures.clock),
                           valueOf(figures.phases)};
        for (std::size_t part = 0; part < kParts; ++part)
            entry.watts[part] = valueOf(figures.parts[part]);
        entries.push_back(entry);
    }
    return entries;
}

void SavingEstimate::restoreDefault(const std::vector<DefaultEntry>& entries) {
    const auto figure = [](double value) {
        return Learned{std::isfinite(value) ? value : 0.0, std::isfinite(value)};
    };
    for (const auto& entry : entries) {
        if (entry.bin >= kLoadBins)
            continue;
        auto& figures = m_default[entry.bin];
        for (std::size_t part = 0; part < kParts; ++part)
            figures.parts[part] = figure(entry.watts[part]);
        figures.cpuWatts = figure(entry.cpuWatts);
        figures.volts = figure(entry.volts);
        figures.clock = figure(entry.clock);
        figures.phases = figure(entry.phases);
    }
}

} // namespace solvane::power
