#pragma once

#include "history/PowerSample.h"

#include <string>
#include <string_view>

namespace solvane::history {

// The live read-outs in the Prometheus text exposition format (version 0.0.4): every family with
// its # HELP and # TYPE lines, every sample labelled with the board ("KX-2917").
std::string metricsText(const PowerSample& sample, double savedKwh, std::string_view board);

inline constexpr std::string_view kMetricsContentType = "text/plain; version=0.0.4; charset=utf-8";

} // namespace solvane::history
