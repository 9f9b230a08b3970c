#include "power/SavingEstimate.h"

#include <algorithm>
#include <cmath>

namespace solvane::power {

namespace {

// The share of a new reading in a learned figure: a quarter follows a fan or temperature that
// settles over a minute (20 refreshes) and smooths a rail reading's one-count noise.
constexpr double kNewReadingShare = 0.25;

std::size_t binOf(const std::optional<double>& load) {
    if (!load || !std::isfinite(*load))
        return 0;
    const double scaled = std::clamp(*load, 0.0, 1.0) * static_cast<double>(SavingEstimate::kLoadBins - 1);
    return static_cast<std::size_t>(std::lround(scaled));
}

std::size_t distance(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

} // namespace

void SavingEstimate::Learned::learn(double reading) {
    value = seen ? value + kNewReadingShare * (reading - value) : reading;
    seen = true;
}

void SavingEstimate::observeDefault(const Sample& sample) {
    auto& entries = m_default[binOf(sample.cpuLoad)];
    for (std::size_t part = 0; part < kParts; ++part)
        if (std::isfinite(sample.watts[part]))
            entries[part].learn(sample.watts[part]);
}

std::optional<double> SavingEstimate::defaultPartWatts(std::size_t bin, std::size_t part, double now) const {
    if (m_default[bin][part].seen)
        return m_default[bin][part].value;
    const Learned* nearest = nullptr;
    std::size_t nearestDistance = kLoadBins;
    for (std::size_t other = 0; other < kLoadBins; ++other) {
        const auto& ratio = m_ratio[other][part];
        if (ratio.seen && distance(other, bin) < nearestDistance) {
            nearest = &ratio;
            nearestDistance = distance(other, bin);
        }
    }
    if (nearest == nullptr)
        return std::nullopt;
    return now * nearest->value;
}

std::optional<double> SavingEstimate::saving(const Sample& sample) {
    const std::size_t bin = binOf(sample.cpuLoad);
    std::optional<double> saved;
    for (std::size_t part = 0; part < kParts; ++part) {
        const double now = sample.watts[part];
        if (!std::isfinite(now))
            continue;
        const auto& known = m_default[bin][part];
        if (known.seen && known.value > 0.0 && now > 0.0)
            m_ratio[bin][part].learn(known.value / now);
        if (const auto inDefault = defaultPartWatts(bin, part, now))
            saved = saved.value_or(0.0) + *inDefault - now;
    }
    // A part may draw more in a saving mode than in Default (a fan that turns faster); the mode as a
    // whole is said to save nothing rather than a negative saving.
    if (saved)
        *saved = std::max(0.0, *saved);
    return saved;
}

void SavingEstimate::restartMode() {
    m_ratio = {};
}

} // namespace solvane::power
