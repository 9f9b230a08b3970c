#include "app/Report.h"

#include "power/BasicPageReadouts.h"
#include "power/PhaseReadout.h"
#include "power/PlatformReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace solvane::app {

using power::Setting;
using power::SettingGroup;

namespace {

// The two LED switches of 2915 that have no catalogue key.
constexpr std::array<std::string_view, 2> kExtraLedKeys{"CPU_LOAD_LINE_LED", "HD_LED"};

struct SettingLine {
    std::string key;
    power::SettingValue value;
    std::string text;
};

std::string settingText(const power::PowerSavingState& state, std::size_t slot, power::SettingValue value) {
    if (value == power::kNotPresent)
        return "N/A.";
    const auto group = slot < power::kSettingCount ? power::SettingKeys[slot].group : SettingGroup::Led;
    switch (group) {
    case SettingGroup::Voltage:
    case SettingGroup::ReferenceVoltage: {
        const auto text = state.options.lists[slot].text(value);
        return text.empty() ? "option " + std::to_string(value) : std::string(text);
    }
    case SettingGroup::Phase:
        return power::phaseReadout(
            value, power::activePhaseCount(value, state.routines.levelCount(static_cast<Setting>(slot))));
    case SettingGroup::Fan:
        return value == 1 ? "Enable" : value == 0 ? "Disable" : std::to_string(value);
    case SettingGroup::Led:
        break;
    }
    return value == 0 ? "Off" : "On";
}

std::vector<SettingLine> settingLines(const power::PowerSavingState& state) {
    std::vector<SettingLine> lines;
    for (std::size_t slot = 0; slot < power::kSettingSlots; ++slot) {
        const auto value = state.modes.CurrentValues[slot];
        const auto key = slot < power::kSettingCount ? power::SettingKeys[slot].key
                                                     : kExtraLedKeys[slot - power::kSettingCount];
        lines.push_back({std::string(key), value, settingText(state, slot, value)});
    }
    return lines;
}

// Captions carry line breaks for the page; the report keeps one line per read-out.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n')
            c = ' ';
    return text;
}

// Firmware strings are outside bytes: a terminal must not take their control characters (escape
// sequences, line breaks) as its own, so they show as \n, \t, \r or \xHH.
std::string escapeControls(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7F) {
            out += c;
            continue;
        }
        char escaped[8];
        std::snprintf(escaped, sizeof escaped,
                      c == '\n'   ? "\\n"
                      : c == '\t' ? "\\t"
                      : c == '\r' ? "\\r"
                                  : "\\x%02x",
                      byte);
        out += escaped;
    }
    return out;
}

std::string_view modeName(power::PowerMode mode) {
    switch (mode) {
    case power::PowerMode::Default:
        return "Default Mode";
    case power::PowerMode::Optimize:
        return "Optimize Mode";
    case power::PowerMode::Max:
        return "Max Power Saving Mode";
    case power::PowerMode::None:
        break;
    }
    return "none";
}

QString q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

std::string buildReport(SolvaneCore& core, ReportFormat format) {
    const auto& state = core.state();
    const auto identification =
        power::makePlatformReport(state.platform, state.options, state.modes.DefaultTargets);
    const auto settings = settingLines(state);
    std::vector<power::BasicReadout> readouts;
    if (const auto* monitor = core.session().monitor())
        readouts = power::basicPageReadouts(state, *monitor);
    const auto refused = core.hardware().refusedWrites();

    if (format == ReportFormat::Json) {
        QJsonObject root;
        QJsonObject board;
        for (const auto& field : identification.identification)
            board.insert(q(field.name), q(field.value));
        root.insert(QStringLiteral("identification"), board);
        QJsonObject defaults;
        for (const auto& field : identification.defaultTargets)
            defaults.insert(q(field.name), q(field.value));
        root.insert(QStringLiteral("defaultTargets"), defaults);
        QJsonArray settingArray;
        for (const auto& line : settings)
            settingArray.append(QJsonObject{{QStringLiteral("key"), q(line.key)},
                                            {QStringLiteral("value"), line.value},
                                            {QStringLiteral("text"), q(line.text)}});
        root.insert(QStringLiteral("settings"), settingArray);
        root.insert(QStringLiteral("activeMode"), q(modeName(state.modes.ActiveMode)));
        QJsonObject readoutObject;
        for (const auto& readout : readouts)
            readoutObject.insert(q(oneLine(readout.caption)), q(readout.text));
        root.insert(QStringLiteral("readouts"), readoutObject);
        root.insert(QStringLiteral("refusedHardwareWrites"), static_cast<qint64>(refused));
        return QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString();
    }

    auto shown = identification;
    for (auto* fields : {&shown.identification, &shown.defaultTargets})
        for (auto& field : *fields)
            field.value = escapeControls(field.value);
    std::string text = power::formatPlatformReport(shown);
    text += "\nSettings:\n";
    for (const auto& line : settings)
        text += "  " + line.key + ": " + std::to_string(line.value) + " (" + line.text + ")\n";
    text += "\nActive mode: " + std::string(modeName(state.modes.ActiveMode)) + "\n";
    text += "\nRead-outs:\n";
    if (readouts.empty())
        text += "  (the power-saving monitor is not running on this machine)\n";
    else if (!state.platform.BoardSupported)
        text += "  (not a supported Tarvok board: the power-saving monitor shows nothing)\n";
    else
        for (const auto& readout : readouts)
            text += "  " + oneLine(readout.caption) + ": " + escapeControls(readout.text) + "\n";
    if (refused > 0)
        text += "\nHardware writes refused: " + std::to_string(refused) + "\n";
    return text;
}

} // namespace solvane::app
