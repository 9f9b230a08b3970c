#pragma once

#include "history/AlertLimits.h"
#include "history/PowerSample.h"

#include <string>
#include <string_view>

namespace solvane::history {

// The live read-outs in the Prometheus text exposition format (version 0.0.4): every family with
// its # HELP and # TYPE lines, every sample labelled with the board ("KX-2917"), led by
// solvane_up 1. The saved energy is given in kWh, as the registry totals count it, and served in
// joules.
std::string metricsText(const PowerSample& sample, double savedKwh, std::string_view board);
// What a monitor with nothing to read serves: solvane_up 0 and solvane_down_info with the reason.
std::string notMonitoringText(std::string_view reason, std::string_view board);

// The limits the user set on this machine, so a fleet's alerts can use each machine's own; a
// limit that is off has no sample.
std::string limitMetricsText(const AlertLimits& limits, std::string_view board);

inline constexpr std::string_view kMetricsContentType = "text/plain; version=0.0.4; charset=utf-8";

} // namespace solvane::history
