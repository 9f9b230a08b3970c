// The advanced motherboard page's layout per board, held against the board table as the product
// documents it, written out here row by row.
#include "tuning/AdvancedPagePlan.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace solvane::tuning {
namespace {

struct ExpectedLayout {
    int board;
    std::set<int> shown;
    std::map<int, std::string> labels; // changed label texts
    std::set<int> notAvailable;        // "N/A." and disabled
    std::set<int> disabled;            // disabled only
    bool firstLine = false;
    bool radios = true;
    bool groupsAndReadouts = true;
};

const std::set<int> kAll{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
std::set<int> allBut(std::set<int> gone) {
    std::set<int> rows;
    for (const int row : kAll)
        if (gone.count(row) == 0)
            rows.insert(row);
    return rows;
}
const std::map<int, std::string> kAmdLabels{
    {1, "CPU-NB Voltage"}, {7, "DRAM Voltage"}, {8, "HT Voltage"}, {15, "NB Voltage"}, {18, "SB Voltage"}};
const std::set<int> k2902Rows{0, 1, 6, 7, 8, 15, 18, 19};

const std::vector<ExpectedLayout>& expectedLayouts() {
    static const std::vector<ExpectedLayout> layouts{
        {2918, {0, 6, 7, 14, 17, 19}, {}, {}, {}},
        {2917, allBut({4, 5, 16}), {}, {}, {}},
        {2915, allBut({4, 5, 16}), {}, {}, {}},
        {2916, allBut({3, 4, 5, 16}), {}, {}, {}},
        {2903, kAll, kAmdLabels, allBut({6, 19}), {}},
        {2906, kAll, kAmdLabels, allBut({6, 19}), {}},
        {2904, {6, 19}, kAmdLabels, {}, {}, true, false},
        {2911,
         {0, 6, 7, 14, 15, 17, 18, 19},
         {{0, "Voltage"}, {15, "NB Voltage"}, {18, "SB Voltage"}},
         {},
         {}},
        {2912, {6}, {}, {}, {}, false, true, false},
        {2907, {6}, {}, {}, {}, false, true, false},
        {2909, {6}, {}, {}, {}, false, false, false},
        {2908, {6}, {}, {}, {}, false, false, false},
        {2910, {0, 1, 2, 7, 8, 9, 10, 11, 12, 13, 15, 18, 19}, {}, {}, {}},
        {2902, k2902Rows, kAmdLabels, {}, {}},
        {2905, k2902Rows, kAmdLabels, {}, {}},
        {2901, k2902Rows, kAmdLabels, {}, {8, 15, 18}},
        {2913, kAll, {}, {}, {}},
        {0, kAll, {}, {}, {}},
    };
    return layouts;
}

const std::array<std::string, 20> kDialogLabels{
    "Core Voltage", "QPI Voltage", "PLL Voltage", "QPI TRYPH", "GTL ref1",    "GTL ref2",  "PWM TRYPH",
    "Voltage",      "Vref CA_A",   "Vref CA_B",   "Vref CA_C", "Vref DQ_A",   "Vref DQ_B", "Vref DQ_C",
    "TRYPH",        "IOH Voltage", "IOH GTL ref", "IOH TRYPH", "ICH Voltage", "Smart Fan"};

void PrintTo(const ExpectedLayout& layout, std::ostream* out) {
    *out << "KX-" << layout.board;
}

class BoardLayout : public testing::TestWithParam<ExpectedLayout> {};

TEST_P(BoardLayout, RowsLabelsButtonsAndGroupsFollowTheBoardTable) {
    const auto& expected = GetParam();
    const auto plan = advancedPagePlan(expected.board);
    for (int row = 0; row < 20; ++row) {
        const auto& rowPlan = plan.rows[static_cast<std::size_t>(row)];
        SCOPED_TRACE("row " + std::to_string(row));
        EXPECT_EQ(rowPlan.shown, expected.shown.count(row) == 1);
        const auto renamed = expected.labels.find(row);
        EXPECT_EQ(std::string(rowPlan.label), renamed != expected.labels.end()
                                                  ? renamed->second
                                                  : kDialogLabels[static_cast<std::size_t>(row)]);
        EXPECT_EQ(rowPlan.notAvailable, expected.notAvailable.count(row) == 1);
        EXPECT_EQ(rowPlan.enabled,
                  expected.notAvailable.count(row) == 0 && expected.disabled.count(row) == 0);
    }
    EXPECT_EQ(plan.firstLine, expected.firstLine);
    EXPECT_EQ(plan.radiosShown, expected.radios);
    EXPECT_EQ(plan.ddrAndMchGroupsShown, expected.groupsAndReadouts);
    EXPECT_EQ(plan.readoutsShown, expected.groupsAndReadouts);
}

INSTANTIATE_TEST_SUITE_P(EveryBoard, BoardLayout, testing::ValuesIn(expectedLayouts()),
                         [](const auto& test) { return "KX" + std::to_string(test.param.board); });

TEST(AdvancedRows, ButtonsLabelsAndListDirectionsAreTheDialogs) {
    struct Row {
        int button;
        int label;
        ListOpens opens;
    };
    const std::array<Row, 20> rows{
        {{1067, 1089, ListOpens::Below}, {1069, 1090, ListOpens::Below}, {1072, 1106, ListOpens::Above},
         {1073, 1107, ListOpens::Above}, {1070, 1091, ListOpens::Below}, {1071, 1092, ListOpens::Above},
         {1068, 1093, ListOpens::Above}, {1045, 1094, ListOpens::Below}, {1046, 1095, ListOpens::Below},
         {1052, 1096, ListOpens::Below}, {1054, 1097, ListOpens::Below}, {1053, 1098, ListOpens::Above},
         {1055, 1099, ListOpens::Above}, {1065, 1100, ListOpens::Above}, {1058, 1101, ListOpens::Above},
         {1048, 1102, ListOpens::Below}, {1056, 1103, ListOpens::Below}, {1057, 1104, ListOpens::Below},
         {1059, 1105, ListOpens::Above}, {1066, 1108, ListOpens::Above}}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(kAdvancedRows[i].buttonId, rows[i].button) << i;
        EXPECT_EQ(kAdvancedRows[i].labelId, rows[i].label) << i;
        EXPECT_EQ(kAdvancedRows[i].opens, rows[i].opens) << i;
        EXPECT_EQ(rowOfButton(rows[i].button), &kAdvancedRows[i]);
    }
    EXPECT_EQ(rowOfButton(1081), nullptr);
}

} // namespace
} // namespace solvane::tuning
