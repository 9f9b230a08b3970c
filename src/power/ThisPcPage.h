#pragma once

#include "power/BasicPageIds.h"
#include "power/BasicPagePlan.h"
#include "power/PowerMeasurement.h"
#include "power/ThisPcMeasurement.h"

#include <array>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::power {

// One read-out of the "This PC" basic page and of the report on a PC.
struct ThisPcRow {
    int valueId;           // the page's value label it is shown in; 0 for the report alone
    std::string caption;   // the page's caption
    std::string reportKey; // the report's key: a board's read-out key where it means the same
    std::string text;      // the figure, or in its place a short word on why there is none
    std::string source;    // where the figure comes from (the tool tip); empty when missing
    std::string missing;   // why there is no figure, in full (the tool tip); empty when shown
};

// What the basic page shows on an ordinary PC: its rows in page order, the board rows it hides,
// the panels' titles and the message line.
struct ThisPcPage {
    std::vector<ThisPcRow> rows;
    BasicPagePlan layout; // the board rows no PC figure takes over and the domains the PC lacks are hidden
    std::array<std::string_view, 3> panelTitles;
    std::string message;
};

inline constexpr std::string_view kThisPcTitle = "This PC";

ThisPcPage thisPcPage(const ThisPcFigures& figures, const Measurements& values);

// "Mains", "Battery" or "Unknown".
std::string_view powerSupplyText(hw::PowerSupplyState state);

// The boards' read-outs a PC does not have, for the report: key and why.
struct AbsentBoardReadout {
    std::string_view reportKey;
    std::string_view why;
};
std::vector<AbsentBoardReadout> absentBoardReadouts();

} // namespace solvane::power
