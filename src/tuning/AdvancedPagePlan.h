#pragma once

#include "board/BoardSet.h"
#include "power/SettingCatalogue.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace solvane::tuning {

// How a row's option list is filled.
enum class ListKind {
    Voltage,   // option texts coloured by the index limits
    Reference, // option texts; current and default marked
    Phase,     // "Auto", "2 phase", … up to the domain's option count
    CpuPhase,  // phase texts, or "Auto"/"Disable" on the switch boards
    Fan,       // "Disable", "Enable"
    LedSwitch, // "AUTO", "OFF" (the LED page)
};
enum class ListOpens { Below, Above };

// The three group boxes of the page and their header pictures.
enum class RowGroup { Cpu, Ddr, MchIchFan };

// A setting row of the advanced motherboard page: the setting (catalogue index 0 to 19), its ">>"
// button, its label and the label's dialog text, how its list fills and where it opens, its group.
struct AdvancedRow {
    int setting;
    int buttonId;
    int labelId;
    std::string_view label;
    ListKind kind;
    ListOpens opens;
    RowGroup group;
};

inline constexpr std::size_t kAdvancedRowCount = 20;

inline constexpr std::array<AdvancedRow, kAdvancedRowCount> kAdvancedRows{{
    {0, 1067, 1089, "Core Voltage", ListKind::Voltage, ListOpens::Below, RowGroup::Cpu},
    {1, 1069, 1090, "QPI Voltage", ListKind::Voltage, ListOpens::Below, RowGroup::Cpu},
    {2, 1072, 1106, "PLL Voltage", ListKind::Voltage, ListOpens::Above, RowGroup::Cpu},
    {3, 1073, 1107, "QPI TRYPH", ListKind::Phase, ListOpens::Above, RowGroup::Cpu},
    {4, 1070, 1091, "GTL ref1", ListKind::Reference, ListOpens::Below, RowGroup::Cpu},
    {5, 1071, 1092, "GTL ref2", ListKind::Reference, ListOpens::Above, RowGroup::Cpu},
    {6, 1068, 1093, "PWM TRYPH", ListKind::CpuPhase, ListOpens::Above, RowGroup::Cpu},
    {7, 1045, 1094, "Voltage", ListKind::Voltage, ListOpens::Below, RowGroup::Ddr},
    {8, 1046, 1095, "Vref CA_A", ListKind::Voltage, ListOpens::Below, RowGroup::Ddr},
    {9, 1052, 1096, "Vref CA_B", ListKind::Voltage, ListOpens::Below, RowGroup::Ddr},
    {10, 1054, 1097, "Vref CA_C", ListKind::Voltage, ListOpens::Below, RowGroup::Ddr},
    {11, 1053, 1098, "Vref DQ_A", ListKind::Voltage, ListOpens::Above, RowGroup::Ddr},
    {12, 1055, 1099, "Vref DQ_B", ListKind::Voltage, ListOpens::Above, RowGroup::Ddr},
    {13, 1065, 1100, "Vref DQ_C", ListKind::Voltage, ListOpens::Above, RowGroup::Ddr},
    {14, 1058, 1101, "TRYPH", ListKind::Phase, ListOpens::Above, RowGroup::Ddr},
    {15, 1048, 1102, "IOH Voltage", ListKind::Voltage, ListOpens::Below, RowGroup::MchIchFan},
    {16, 1056, 1103, "IOH GTL ref", ListKind::Reference, ListOpens::Below, RowGroup::MchIchFan},
    {17, 1057, 1104, "IOH TRYPH", ListKind::Phase, ListOpens::Below, RowGroup::MchIchFan},
    {18, 1059, 1105, "ICH Voltage", ListKind::Voltage, ListOpens::Above, RowGroup::MchIchFan},
    {19, 1066, 1108, "Smart Fan", ListKind::Fan, ListOpens::Above, RowGroup::MchIchFan},
}};

constexpr bool rowsAreInSettingOrder() {
    for (std::size_t i = 0; i < kAdvancedRows.size(); ++i)
        if (kAdvancedRows[i].setting != static_cast<int>(i))
            return false;
    return true;
}
static_assert(rowsAreInSettingOrder(), "row i is setting i");

// The row whose ">>" button has this id, or none.
const AdvancedRow* rowOfButton(int buttonId);

// A set of rows as a bit mask over the row index.
class RowSet {
public:
    constexpr RowSet() = default;
    constexpr RowSet(std::initializer_list<int> rows) {
        for (const int row : rows)
            m_bits |= std::uint32_t{1} << row;
    }
    static constexpr RowSet all() { return RowSet(0xFFFFFU); }
    constexpr RowSet without(RowSet other) const { return RowSet(m_bits & ~other.m_bits); }
    constexpr bool contains(int row) const { return row >= 0 && row < 20 && (m_bits >> row & 1U) != 0; }

private:
    constexpr explicit RowSet(std::uint32_t bits) : m_bits(bits) {}
    std::uint32_t m_bits = 0;
};

// Label texts a board gives some rows instead of the dialog's.
enum class LabelSet {
    Dialog,
    AmdBridges, // 1 "CPU-NB Voltage", 7 "DRAM Voltage", 8 "HT Voltage", 15 "NB Voltage", 18 "SB Voltage"
    Board2911,  // 0 "Voltage", 15 "NB Voltage", 18 "SB Voltage"
};

// The page's layout per board group: the rows shown (the others are hidden, label and button), the
// label texts, the buttons that show "N/A." and are disabled, further disabled buttons, and what
// else the board hides. A board not listed shows every row as the dialog has it.
struct AdvancedBoardLayout {
    hw::BoardSet boards;
    RowSet shown;
    LabelSet labels = LabelSet::Dialog;
    RowSet notAvailable = {};
    RowSet disabled = {};
    bool firstLine = false;    // the shown rows move to the page's first line
    bool radiosHidden = false; // the three mode radios
    bool onlyCpuGroup = false; // the DDR and MCH/ICH/Fan groups, their pictures and the read-outs go
};

inline constexpr RowSet kRows2902{0, 1, 6, 7, 8, 15, 18, 19};

inline constexpr std::array<AdvancedBoardLayout, 11> kAdvancedBoardLayouts{{
    {.boards = {2918}, .shown = {0, 6, 7, 14, 17, 19}},
    {.boards = {2917, 2915}, .shown = RowSet::all().without({4, 5, 16})},
    {.boards = {2916}, .shown = RowSet::all().without({3, 4, 5, 16})},
    {.boards = {2903, 2906},
     .shown = RowSet::all(),
     .labels = LabelSet::AmdBridges,
     .notAvailable = RowSet::all().without({6, 19})},
    {.boards = {2904},
     .shown = {6, 19},
     .labels = LabelSet::AmdBridges,
     .firstLine = true,
     .radiosHidden = true},
    {.boards = {2911}, .shown = {0, 6, 7, 14, 15, 17, 18, 19}, .labels = LabelSet::Board2911},
    {.boards = {2912, 2907}, .shown = {6}, .onlyCpuGroup = true},
    {.boards = {2909, 2908}, .shown = {6}, .radiosHidden = true, .onlyCpuGroup = true},
    {.boards = {2910}, .shown = {0, 1, 2, 7, 8, 9, 10, 11, 12, 13, 15, 18, 19}},
    {.boards = {2902, 2905}, .shown = kRows2902, .labels = LabelSet::AmdBridges},
    {.boards = {2901}, .shown = kRows2902, .labels = LabelSet::AmdBridges, .disabled = {8, 15, 18}},
}};

// What the page shows of one row on the identified board.
struct RowPlan {
    bool shown = true;
    std::string_view label;
    bool notAvailable = false; // the button shows "N/A."
    bool enabled = true;
};

struct AdvancedPagePlan {
    std::array<RowPlan, kAdvancedRowCount> rows;
    bool firstLine = false;
    bool radiosShown = true;
    bool ddrAndMchGroupsShown = true;
    bool readoutsShown = true;
};

AdvancedPagePlan advancedPagePlan(int boardCode);

} // namespace solvane::tuning
