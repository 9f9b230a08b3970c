#include "power/KeptDefaultDraw.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace solvane::power {

namespace {

constexpr char kEntryEnd = ';';
constexpr char kBinEnd = ':';
constexpr char kFigureEnd = ',';
constexpr std::string_view kNotMeasured = "-";
// A figure beyond this is no reading of a desktop board's draw, voltage or phases: the text was
// damaged.
constexpr double kLargestFigure = 10000.0;

void appendFigure(std::string& text, double value) {
    if (!std::isfinite(value)) {
        text += kNotMeasured;
        return;
    }
    char figure[32];
    std::snprintf(figure, sizeof figure, "%.6g", value);
    text += figure;
}

// One figure: a number from 0 to kLargestFigure, or "-" (NaN); empty when it is neither.
std::optional<double> parseFigure(std::string_view text) {
    if (text == kNotMeasured)
        return std::numeric_limits<double>::quiet_NaN();
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(value) || value < 0 ||
        value > kLargestFigure)
        return std::nullopt;
    return value;
}

std::optional<SavingEstimate::DefaultEntry> parseEntry(std::string_view text) {
    const auto binEnd = text.find(kBinEnd);
    if (binEnd == std::string_view::npos)
        return std::nullopt;
    SavingEstimate::DefaultEntry entry;
    const auto [end, error] = std::from_chars(text.data(), text.data() + binEnd, entry.bin);
    if (error != std::errc{} || end != text.data() + binEnd || entry.bin >= SavingEstimate::kLoadBins)
        return std::nullopt;
    std::array<double*, SavingEstimate::kParts + 4> figures{};
    for (std::size_t part = 0; part < SavingEstimate::kParts; ++part)
        figures[part] = &entry.watts[part];
    figures[SavingEstimate::kParts] = &entry.cpuWatts;
    figures[SavingEstimate::kParts + 1] = &entry.volts;
    figures[SavingEstimate::kParts + 2] = &entry.clock;
    figures[SavingEstimate::kParts + 3] = &entry.phases;
    std::string_view rest = text.substr(binEnd + 1);
    for (std::size_t i = 0; i < figures.size(); ++i) {
        const bool last = i + 1 == figures.size();
        const auto figureEnd = last ? rest.size() : rest.find(kFigureEnd);
        if (figureEnd == std::string_view::npos)
            return std::nullopt;
        const auto value = parseFigure(rest.substr(0, figureEnd));
        if (!value)
            return std::nullopt;
        *figures[i] = *value;
        rest = last ? std::string_view{} : rest.substr(figureEnd + 1);
    }
    return entry;
}

} // namespace

std::string keptDefaultDrawText(std::string_view owner,
                                const std::vector<SavingEstimate::DefaultEntry>& entries) {
    std::string text(owner);
    text += kEntryEnd;
    for (const auto& entry : entries) {
        text += std::to_string(entry.bin);
        text += kBinEnd;
        for (const double watts : entry.watts) {
            appendFigure(text, watts);
            text += kFigureEnd;
        }
        for (const double figure : {entry.cpuWatts, entry.volts, entry.clock}) {
            appendFigure(text, figure);
            text += kFigureEnd;
        }
        appendFigure(text, entry.phases);
        text += kEntryEnd;
    }
    return text;
}

std::optional<std::vector<SavingEstimate::DefaultEntry>> parseKeptDefaultDraw(std::string_view text,
                                                                              std::string_view owner) {
    const auto ownerEnd = text.find(kEntryEnd);
    if (ownerEnd == std::string_view::npos || text.substr(0, ownerEnd) != owner)
        return std::nullopt;
    std::vector<SavingEstimate::DefaultEntry> entries;
    std::string_view rest = text.substr(ownerEnd + 1);
    while (!rest.empty()) {
        const auto entryEnd = rest.find(kEntryEnd);
        if (entryEnd == std::string_view::npos)
            return std::nullopt;
        const auto entry = parseEntry(rest.substr(0, entryEnd));
        if (!entry)
            return std::nullopt;
        entries.push_back(*entry);
        rest = rest.substr(entryEnd + 1);
    }
    return entries;
}

std::string keptDefaultDrawText(int boardCode, const std::vector<SavingEstimate::DefaultEntry>& entries) {
    return keptDefaultDrawText(std::to_string(boardCode), entries);
}

std::optional<std::vector<SavingEstimate::DefaultEntry>> parseKeptDefaultDraw(std::string_view text,
                                                                              int boardCode) {
    return parseKeptDefaultDraw(text, std::to_string(boardCode));
}

} // namespace solvane::power
