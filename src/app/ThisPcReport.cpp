#include "app/ThisPcReport.h"

#include "app/TextEscape.h"
#include "power/ThisPcPage.h"

namespace solvane::app {

namespace {

json::Array readingArray(const std::vector<hw::MachineReading>& readings, std::string_view unit) {
    json::Array array;
    for (const auto& reading : readings)
        array.append(json::Object{
            {"label", reading.label}, {std::string(unit), *reading.value}, {"source", reading.source}});
    return array;
}

} // namespace

void addThisPcReadouts(json::Object& root, const power::ThisPcFigures& figures,
                       const power::Measurements& values) {
    const auto page = power::thisPcPage(figures, values);
    json::Object readouts;
    json::Object sources;
    json::Object missing;
    for (const auto& row : page.rows) {
        readouts.insert(row.reportKey, row.text);
        if (!row.missing.empty())
            missing.insert(row.reportKey, row.missing);
        else
            sources.insert(row.reportKey, row.source);
    }
    for (const auto& absent : power::absentBoardReadouts()) {
        std::string key(absent.reportKey);
        for (char& c : key)
            if (c == '\n')
                c = ' ';
        readouts.insert(key, "N/A.");
        missing.insert(key, absent.why);
    }
    root.insert("readouts", readouts);
    root.insert("readoutSources", sources);
    root.insert("readoutsMissing", missing);
    const auto& readings = figures.readings;
    json::Object pc{{"powerSource", power::powerSupplyText(readings.supply)},
                    {"fans", readingArray(readings.fans, "rpm")},
                    {"voltages", readingArray(readings.voltages, "volts")},
                    {"savingEstimated", figures.savingEstimated}};
    pc.insert("cpuLoadPercent", figures.cpuLoad ? json::Value(*figures.cpuLoad * 100) : json::Value());
    pc.insert("measuredWatts", figures.drawnWatts ? json::Value(*figures.drawnWatts) : json::Value());
    pc.insert("measuredOn", figures.drawnWatts ? figures.drawSource : figures.drawMissing);
    root.insert("thisPc", pc);
}

std::string thisPcReadoutsText(const power::ThisPcFigures& figures, const power::Measurements& values) {
    const auto page = power::thisPcPage(figures, values);
    std::string text = "  " + page.message + "\n";
    for (const auto& row : page.rows) {
        text += "  " + row.reportKey + ": " + escapeControls(row.text);
        const auto& note = row.missing.empty() ? row.source : row.missing;
        std::string flat = note;
        for (char& c : flat)
            if (c == '\n')
                c = ';';
        text += " (" + escapeControls(flat) + ")\n";
    }
    return text;
}

} // namespace solvane::app
