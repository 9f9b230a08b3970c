#pragma once

#include "app/JsonValue.h"
#include "power/PowerMeasurement.h"
#include "power/ThisPcMeasurement.h"

#include <string>

namespace solvane::app {

// The report's read-outs on an ordinary PC. JSON: "readouts" under the boards' keys where a
// figure means the same and the PC's own keys beside them, every board read-out the PC lacks as
// "N/A."; "readoutSources" (where each figure was read), "readoutsMissing" (why each read-out that
// has no figure has none) and "thisPc" (the power source, every fan and labelled voltage, the CPU
// load and whether the saving is an estimate). Text: one line per read-out with its source or why.
void addThisPcReadouts(json::Object& root, const power::ThisPcFigures& figures,
                       const power::Measurements& values);
std::string thisPcReadoutsText(const power::ThisPcFigures& figures, const power::Measurements& values);

} // namespace solvane::app
