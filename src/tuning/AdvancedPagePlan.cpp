#include "tuning/AdvancedPagePlan.h"

#include <algorithm>

namespace solvane::tuning {

namespace {

struct LabelChange {
    LabelSet set;
    int row;
    std::string_view text;
};
constexpr std::array<LabelChange, 8> kLabelChanges{{
    {LabelSet::AmdBridges, 1, "CPU-NB Voltage"},
    {LabelSet::AmdBridges, 7, "DRAM Voltage"},
    {LabelSet::AmdBridges, 8, "HT Voltage"},
    {LabelSet::AmdBridges, 15, "NB Voltage"},
    {LabelSet::AmdBridges, 18, "SB Voltage"},
    {LabelSet::Board2911, 0, "Voltage"},
    {LabelSet::Board2911, 15, "NB Voltage"},
    {LabelSet::Board2911, 18, "SB Voltage"},
}};

} // namespace

const AdvancedRow* rowOfButton(int buttonId) {
    const auto found = std::find_if(kAdvancedRows.begin(), kAdvancedRows.end(),
                                    [buttonId](const AdvancedRow& row) { return row.buttonId == buttonId; });
    return found == kAdvancedRows.end() ? nullptr : &*found;
}

AdvancedPagePlan advancedPagePlan(int boardCode) {
    static constexpr AdvancedBoardLayout kAnyOther{.boards = {}, .shown = RowSet::all()};
    const auto found =
        std::find_if(kAdvancedBoardLayouts.begin(), kAdvancedBoardLayouts.end(),
                     [boardCode](const auto& layout) { return layout.boards.contains(boardCode); });
    const auto& layout = found == kAdvancedBoardLayouts.end() ? kAnyOther : *found;

    AdvancedPagePlan plan;
    for (std::size_t i = 0; i < kAdvancedRows.size(); ++i) {
        const int row = static_cast<int>(i);
        auto& rowPlan = plan.rows[i];
        rowPlan.shown = layout.shown.contains(row);
        rowPlan.label = kAdvancedRows[i].label;
        for (const auto& change : kLabelChanges)
            if (change.set == layout.labels && change.row == row)
                rowPlan.label = change.text;
        rowPlan.notAvailable = layout.notAvailable.contains(row);
        rowPlan.enabled = !rowPlan.notAvailable && !layout.disabled.contains(row);
    }
    plan.firstLine = layout.firstLine;
    plan.radiosShown = !layout.radiosHidden;
    plan.ddrAndMchGroupsShown = !layout.onlyCpuGroup;
    plan.readoutsShown = !layout.onlyCpuGroup;
    return plan;
}

} // namespace solvane::tuning
