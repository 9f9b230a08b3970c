#include "power/ThisPcPage.h"

#include "power/BasicPageReadouts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace solvane::power {

namespace {

// What a row of the "This PC" page shows.
enum class Figure {
    SavedEnergy,
    CurrentSaving,
    SavingPercentage,
    MeasuredPower,
    PackagePower,
    CorePower,
    UncorePower,
    CoreVoltage,
    CpuTemperature,
    FanSpeed,
    CpuLoad,
    DramPower,
    BoardTemperature,
    GraphicsPower,
    BatteryDraw,
    PowerSource,
    SystemPower,
};

// The rows in page order: the value label they take over (0: the report alone), the page's
// caption, the report's key (a board's key where the figure means the same) and the figure.
struct RowEntry {
    int valueId;
    std::string_view caption;
    std::string_view reportKey;
    Figure figure;
};

constexpr std::array<RowEntry, 17> kRows{{
    {basic_ids::kTotalSaving, "Total Power Saving", "Total Power Saving", Figure::SavedEnergy},
    {basic_ids::kCurrentSaving, "Current Power Saving", "Current Power Saving", Figure::CurrentSaving},
    {basic_ids::kSavingPercentage, "Power Saving Percentage", "Power Saving Percentage",
     Figure::SavingPercentage},
    {basic_ids::kTotalConsumption, "Measured Power", "Measured Power", Figure::MeasuredPower},
    {basic_ids::kCpuConsumption, "Package Power", "Power Consumption", Figure::PackagePower},
    {basic_ids::kCpuSaving, "Core Power", "Core Power", Figure::CorePower},
    {basic_ids::kCpuEfficiency, "Uncore Power", "Uncore Power", Figure::UncorePower},
    {basic_ids::kCoreVoltage, "Core Voltage", "Core Voltage", Figure::CoreVoltage},
    {basic_ids::kCpuTemperature, "Temperature", "Temperature", Figure::CpuTemperature},
    {basic_ids::kFanSpeed, "Fan Speed", "Fan Speed", Figure::FanSpeed},
    {basic_ids::kCpuPhases, "CPU Load", "CPU Load", Figure::CpuLoad},
    {basic_ids::kMemoryVoltage, "DRAM Power", "DRAM Power", Figure::DramPower},
    {basic_ids::kIohTemperature, "Board Temp.", "Board Temperature", Figure::BoardTemperature},
    {basic_ids::kIchVoltage, "Graphics Power", "Graphics Power", Figure::GraphicsPower},
    {basic_ids::kRail33, "Battery Draw", "Battery Draw", Figure::BatteryDraw},
    {basic_ids::kRail5, "Power Source", "Power Source", Figure::PowerSource},
    // The whole system's draw is known only on battery; on mains nothing in a PC measures it.
    {0, "", "Total Power Consumption", Figure::SystemPower},
}};

// Board rows no PC figure takes over.
constexpr std::array<int, 4> kUnusedRows{basic_ids::kMemoryPhases, basic_ids::kIohVoltage,
                                         basic_ids::kIohPhases, basic_ids::kRail12};
// Rows of counters only some processors have: hidden on the page where the machine lacks them.
struct DomainRow {
    Figure figure;
    std::string_view domain; // the powercap zone's name
    std::string_view name;   // for people
};
constexpr std::array<DomainRow, 3> kDomainRows{{
    {Figure::CorePower, "core", "core"},
    {Figure::UncorePower, "uncore", "uncore"},
    {Figure::DramPower, "dram", "DRAM"},
}};

constexpr std::array<std::string_view, 3> kPanelTitles{"CPU", "Memory / Board", "Power / Graphics"};

// The short word shown in a read-out's place, by why it is missing.
constexpr std::array<std::pair<hw::MissingReason, std::string_view>, 7> kMissingWords{{
    {hw::MissingReason::None, "N/A."},
    {hw::MissingReason::NeedsRoot, "needs root"},
    {hw::MissingReason::NoCounter, "no counter"},
    {hw::MissingReason::NoSensor, "no sensor"},
    {hw::MissingReason::Measuring, "measuring"},
    {hw::MissingReason::NotNow, "on mains"},
    {hw::MissingReason::Unreadable, "unreadable"},
}};

std::string_view missingWord(hw::MissingReason reason) {
    return std::find_if(kMissingWords.begin(), kMissingWords.end(),
                        [reason](const auto& word) { return word.first == reason; })
        ->second;
}

template <class... Values> std::string printed(const char* pattern, Values... values) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), pattern, values...);
    return text.data();
}

std::string watts(double value) {
    return printed("%.2f W", value);
}
// As the boards show temperatures: whole degrees, Fahrenheit cut to whole degrees.
std::string celsius(double value) {
    const long whole = std::lround(value);
    return printed("%ld'C / %ld'F", whole, static_cast<long>(static_cast<double>(whole) * 1.8 + 32));
}

struct Shown {
    std::string text;
    std::string source;
    std::string missing;
};

Shown shownReading(const hw::MachineReading& reading, std::string (*format)(double)) {
    if (reading.value)
        return {format(*reading.value), reading.source, {}};
    return {std::string(missingWord(reading.reason)), {}, reading.missing};
}

Shown domainPower(const hw::MachineReadings& readings, Figure figure) {
    const auto& row = *std::find_if(kDomainRows.begin(), kDomainRows.end(),
                                    [figure](const DomainRow& domain) { return domain.figure == figure; });
    const auto found =
        std::find_if(readings.domains.begin(), readings.domains.end(),
                     [&row](const hw::MachineReading& reading) { return reading.label == row.domain; });
    if (found == readings.domains.end())
        return {std::string(missingWord(hw::MissingReason::NoCounter)),
                {},
                "no " + std::string(row.name) + " power counter on this machine"};
    return shownReading(*found, watts);
}

std::string listed(const std::vector<hw::MachineReading>& readings, const char* pattern) {
    std::string text;
    for (const auto& reading : readings)
        text += "\n" + reading.label + ": " + printed(pattern, *reading.value) + " (" + reading.source + ")";
    return text;
}

Shown savingShown(const ThisPcFigures& figures, const Measurements& values, Figure figure) {
    if (!figures.savingWatts) {
        const auto word = figures.drawnWatts ? std::string("not yet")
                                             : std::string(missingWord(figures.readings.package.reason));
        return {word, {}, figures.savingMissing};
    }
    const std::string on = "measured on the " + figures.drawSource;
    if (!figures.savingEstimated)
        return {figure == Figure::CurrentSaving ? "0 W" : "0 %",
                {},
                "Default mode: the saving is measured against it"};
    const std::string estimate =
        "Estimate: what this PC would draw in Default mode at this CPU load, less what it draws now; " + on;
    if (figure == Figure::CurrentSaving)
        return {"\u2248 " + watts(*figures.savingWatts), estimate, {}};
    return {printed("\u2248 %.1f %%", static_cast<double>(values.SavedPercentage)), estimate, {}};
}

Shown figureShown(const ThisPcFigures& figures, const Measurements& values, Figure figure) {
    const auto& readings = figures.readings;
    switch (figure) {
    case Figure::SavedEnergy:
        return {savedEnergyText(values.TotalSavingHundredthKWh, values.TotalSavingRemainder),
                "Energy saved across runs; on this PC estimated, " +
                    (figures.drawnWatts ? "measured on the " + figures.drawSource : figures.drawMissing),
                {}};
    case Figure::CurrentSaving:
    case Figure::SavingPercentage:
        return savingShown(figures, values, figure);
    case Figure::MeasuredPower:
        if (figures.drawnWatts)
            return {watts(*figures.drawnWatts), figures.drawSource, {}};
        return {std::string(missingWord(readings.package.reason)), {}, figures.drawMissing};
    case Figure::PackagePower:
        return shownReading(readings.package, watts);
    case Figure::CorePower:
    case Figure::UncorePower:
    case Figure::DramPower:
        return domainPower(readings, figure);
    case Figure::CoreVoltage: {
        auto shown =
            shownReading(readings.coreVoltage, [](double volts) { return printed("%.3f V", volts); });
        if (!readings.voltages.empty())
            (shown.missing.empty() ? shown.source : shown.missing) +=
                "\nVoltages:" + listed(readings.voltages, "%.3f V");
        return shown;
    }
    case Figure::CpuTemperature:
        return shownReading(readings.cpuTemperature, celsius);
    case Figure::BoardTemperature:
        return shownReading(readings.boardTemperature, celsius);
    case Figure::FanSpeed:
        if (readings.fans.empty())
            return {std::string(missingWord(hw::MissingReason::NoSensor)),
                    {},
                    "no fan that turns reports its speed"};
        return {printed("%.0f rpm", *readings.fans.front().value),
                "Fans:" + listed(readings.fans, "%.0f rpm"),
                {}};
    case Figure::CpuLoad:
        if (figures.cpuLoad)
            return {printed("%.0f %%", *figures.cpuLoad * 100),
                    "/proc/stat: busy share of the processors' time",
                    {}};
        return {std::string(missingWord(hw::MissingReason::Unreadable)), {}, "/proc/stat cannot be read"};
    case Figure::GraphicsPower:
        return shownReading(readings.graphics, watts);
    case Figure::BatteryDraw:
        return shownReading(readings.battery, watts);
    case Figure::PowerSource:
        if (readings.supply == hw::PowerSupplyState::Unknown)
            return {"Unknown", {}, "no power_supply entry tells whether the PC runs on mains or battery"};
        return {std::string(powerSupplyText(readings.supply)), readings.supplySource, {}};
    case Figure::SystemPower:
        if (readings.supply == hw::PowerSupplyState::Battery && readings.battery.value)
            return {watts(*readings.battery.value), readings.battery.source, {}};
        return {"N/A.", {}, "the whole PC's draw is measured only while it runs on its battery"};
    }
    return {};
}

std::string messageOf(const hw::MachineReadings& readings) {
    std::string message(kThisPcTitle);
    if (readings.supply != hw::PowerSupplyState::Unknown)
        message += ": on " +
                   std::string(readings.supply == hw::PowerSupplyState::Battery ? "battery" : "mains power");
    if (readings.package.reason == hw::MissingReason::NeedsRoot)
        message += " (the CPU power counters need root)";
    return message;
}

} // namespace

std::string_view powerSupplyText(hw::PowerSupplyState state) {
    switch (state) {
    case hw::PowerSupplyState::Mains:
        return "Mains";
    case hw::PowerSupplyState::Battery:
        return "Battery";
    case hw::PowerSupplyState::Unknown:
        break;
    }
    return "Unknown";
}

ThisPcPage thisPcPage(const ThisPcFigures& figures, const Measurements& values) {
    ThisPcPage page;
    page.panelTitles = kPanelTitles;
    page.layout.hiddenRows.insert(kUnusedRows.begin(), kUnusedRows.end());
    for (const auto& entry : kRows) {
        auto shown = figureShown(figures, values, entry.figure);
        page.rows.push_back({entry.valueId, std::string(entry.caption), std::string(entry.reportKey),
                             std::move(shown.text), std::move(shown.source), std::move(shown.missing)});
    }
    for (const auto& row : kDomainRows) {
        const auto& domains = figures.readings.domains;
        const bool present =
            std::any_of(domains.begin(), domains.end(),
                        [&](const hw::MachineReading& reading) { return reading.label == row.domain; });
        if (!present)
            page.layout.hiddenRows.insert(
                std::find_if(kRows.begin(), kRows.end(), [&](const RowEntry& entry) {
                    return entry.figure == row.figure;
                })->valueId);
    }
    page.message = messageOf(figures.readings);
    return page;
}

std::vector<AbsentBoardReadout> absentBoardReadouts() {
    std::vector<AbsentBoardReadout> absent;
    for (const auto& control : kBasicReadouts) {
        const bool taken = std::any_of(kRows.begin(), kRows.end(), [&](const RowEntry& entry) {
            return entry.reportKey == control.caption;
        });
        if (!taken)
            absent.push_back({control.caption,
                              "a read-out of a Tarvok board's own regulators and power-monitor "
                              "chip, which an ordinary PC does not have"});
    }
    return absent;
}

} // namespace solvane::power
