#pragma once

#include "board/PlatformInfo.h"
#include "power/BoardCapabilities.h"
#include "power/SettingCatalogue.h"

#include <string>
#include <vector>

namespace solvane::power {

// One line of the identification report: a name and its value as text.
struct ReportField {
    std::string name;
    std::string value;
};

// The identification for the program's report, as name/value pairs in report order.
struct PlatformReport {
    // Board, firmware strings and capabilities.
    std::vector<ReportField> identification;
    // Every default target the board has, with the option text where the setting has a list
    // (CPU_VOLTAGE: "16 (+0.000 V)").
    std::vector<ReportField> defaultTargets;
};

PlatformReport makePlatformReport(const PlatformInfo& platform, const BoardOptions& options,
                                  const SettingVector& defaultTargets);

// One "name: value" line per field; the default targets indented under a heading of their own.
std::string formatPlatformReport(const PlatformReport& report);

} // namespace solvane::power
