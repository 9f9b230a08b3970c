#pragma once

#include "power/PowerMeasurement.h"
#include "power/PowerSavingSession.h"
#include "tuning/AdvancedPagePlan.h"

#include <optional>
#include <string>

namespace solvane::tuning {

// The caption a row's ">>" button shows for the current value, or none where the caption stays as
// it is: a setting the board lacks keeps the caption the layout gave it, and the Smart Fan button
// shows the fan speed instead.
std::optional<std::string> rowCaption(const AdvancedRow& row, const power::PowerSavingState& state);

// Whether the board has a row's setting: it has a value and its list would offer something. A row
// without it shows "N/A." on a disabled button instead of opening an empty list.
bool rowHasSetting(const AdvancedRow& row, const power::PowerSavingState& state);

// The page's four power-saving read-outs and the Smart Fan button's caption.
struct AdvancedReadouts {
    std::string totalSaving;      // 1061
    std::string totalConsumption; // 1079
    std::string currentSaving;    // 1060
    std::string savingPercentage; // 1078
    std::string fanCaption;
};

AdvancedReadouts advancedReadouts(int boardCode, const power::Readouts& texts, int fanRpm);

} // namespace solvane::tuning
