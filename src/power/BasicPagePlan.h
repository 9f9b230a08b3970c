#pragma once

#include <set>

namespace solvane::power {

// What of the basic-mode page a board shows: the read-out rows it hides, and whether the totals,
// the panels and the mode buttons appear at all.
struct BasicPagePlan {
    std::set<int> hiddenRows; // value ids of hidden read-out rows (their captions go with them)
    bool totals = true;       // the four totals along the top
    bool panels = true;       // the group boxes and their heading pictures
    bool modeButtons = true;
};

BasicPagePlan basicPagePlan(int boardCode);

} // namespace solvane::power
