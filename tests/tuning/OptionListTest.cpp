// The option list of the advanced page: its entries and colours per list kind, where it scrolls
// and where it is placed, and the shared open/close state.
#include "RecordingCommands.h"
#include "power/BoardOptionLists.h"
#include "tuning/OptionListGeometry.h"
#include "tuning/OptionListLines.h"
#include "tuning/OptionListState.h"

#include <gtest/gtest.h>

namespace solvane::tuning {
namespace {

namespace colour = list_colour;

power::PowerSavingState stateOn(int board) {
    power::PowerSavingState state;
    state.platform.BoardCode = board;
    state.options.lists[0] = power::buildOptionList(power::options::kIntelCpuOffset);
    state.modes.DefaultTargets[0] = 16;
    state.modes.CurrentValues[0] = 30;
    return state;
}

struct Colours {
    int text;
    int back;
    friend bool operator==(const Colours&, const Colours&) = default;
};
Colours coloursAt(const std::vector<OptionLine>& lines, int k) {
    return {lines[static_cast<std::size_t>(k)].textColour, lines[static_cast<std::size_t>(k)].backColour};
}

TEST(OptionListColours, AVoltageRowShowsAllFourBandsByIndexLimits) {
    // CPU voltage of 2917: lowest 13, stable limit 48, highest 68; default 16, current 30.
    const auto state = stateOn(2917);
    const auto lines = optionListLines(kAdvancedRows[0], state);
    ASSERT_EQ(lines.size(), 80U);
    const Colours whiteOnRed{1, 10}, purpleOnYellow{6, 12}, greenOnWhite{3, 1}, plain{0, 1},
        whiteOnBlue{1, 13};
    for (int k = 0; k < 80; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(lines[static_cast<std::size_t>(k)].option, k);
        EXPECT_EQ(lines[static_cast<std::size_t>(k)].text,
                  state.options.lists[0].texts[static_cast<std::size_t>(k)]);
        const Colours expected = k == 30             ? whiteOnBlue
                                 : k < 13 || k >= 68 ? whiteOnRed
                                 : k >= 48           ? purpleOnYellow
                                 : k == 16           ? greenOnWhite
                                                     : plain;
        EXPECT_EQ(coloursAt(lines, k), expected);
    }
    // The named indexes are the colour list box's white, blue, red, purple, yellow and green.
    EXPECT_EQ(colour::kWhite, 1);
    EXPECT_EQ(colour::kBlue, 13);
}

TEST(OptionListColours, TheCurrentValueWinsOverItsBandAndTheDefaultOverNothingElse) {
    auto state = stateOn(2917);
    state.modes.CurrentValues[0] = 5;   // below the lowest allowed index
    state.modes.DefaultTargets[0] = 50; // in the unstable band
    const auto lines = optionListLines(kAdvancedRows[0], state);
    EXPECT_EQ(coloursAt(lines, 5), (Colours{colour::kWhite, colour::kBlue}));
    EXPECT_EQ(coloursAt(lines, 50), (Colours{colour::kPurple, colour::kYellow}));
    // The same list on a board without limits: only current and default are marked.
    state.platform.BoardCode = 2913;
    const auto unlimited = optionListLines(kAdvancedRows[0], state);
    EXPECT_EQ(coloursAt(unlimited, 0), (Colours{colour::kBlack, colour::kWhite}));
    EXPECT_EQ(coloursAt(unlimited, 50), (Colours{colour::kGreen, colour::kWhite}));
    EXPECT_EQ(coloursAt(unlimited, 79), (Colours{colour::kBlack, colour::kWhite}));
}

TEST(OptionListColours, MemoryReferencesShareOneSetOfLimits) {
    auto state = stateOn(2917);
    state.options.lists[12] = power::buildOptionList(power::options::kIntelVrefDa);
    state.modes.CurrentValues[12] = 16;
    state.modes.DefaultTargets[12] = 16;
    const auto lines = optionListLines(kAdvancedRows[12], state);
    EXPECT_EQ(coloursAt(lines, 9), (Colours{colour::kWhite, colour::kRed}));
    EXPECT_EQ(coloursAt(lines, 10), (Colours{colour::kBlack, colour::kWhite}));
    EXPECT_EQ(coloursAt(lines, 39), (Colours{colour::kBlack, colour::kWhite}));
    EXPECT_EQ(coloursAt(lines, 40), (Colours{colour::kPurple, colour::kYellow}));
    EXPECT_EQ(coloursAt(lines, 68), (Colours{colour::kWhite, colour::kRed}));
}

TEST(OptionListEntries, PhaseCpuPhaseAndFanListsHaveTheirTexts) {
    auto state = stateOn(2917);
    state.routines.levelCounts[14] = 2;
    state.modes.CurrentValues[14] = 1;
    const auto memory = optionListLines(kAdvancedRows[14], state);
    ASSERT_EQ(memory.size(), 2U);
    EXPECT_EQ(memory[0].text, "Auto");
    EXPECT_EQ(memory[1].text, "2 phase");
    EXPECT_EQ(coloursAt(memory, 1), (Colours{colour::kWhite, colour::kBlue}));
    EXPECT_EQ(coloursAt(memory, 0), (Colours{colour::kBlack, colour::kWhite}));

    state.routines.levelCounts[6] = 6;
    state.modes.CurrentValues[6] = 0;
    const auto cpu = optionListLines(kAdvancedRows[6], state);
    ASSERT_EQ(cpu.size(), 6U);
    EXPECT_EQ(cpu[5].text, "6 phase");
    state.platform.BoardCode = 2904;
    state.routines.levelCounts[6] = 2;
    const auto cpuSwitch = optionListLines(kAdvancedRows[6], state);
    ASSERT_EQ(cpuSwitch.size(), 2U);
    EXPECT_EQ(cpuSwitch[1].text, "Disable");

    state.modes.CurrentValues[19] = 1;
    const auto fan = optionListLines(kAdvancedRows[19], state);
    ASSERT_EQ(fan.size(), 2U);
    EXPECT_EQ(fan[0].text, "Disable");
    EXPECT_EQ(fan[1].text, "Enable");
    EXPECT_EQ(coloursAt(fan, 1), (Colours{colour::kWhite, colour::kBlue}));
}

TEST(OptionListEntries, TheMemoryPhaseListOf2915LeavesOutTwoPhaseAndKeepsOptionIndexes) {
    auto state = stateOn(2915);
    state.routines.levelCounts[14] = 3;
    state.modes.CurrentValues[14] = 2;
    const auto lines = optionListLines(kAdvancedRows[14], state);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[1].text, "3 phase");
    EXPECT_EQ(lines[1].option, 2) << "the second position stands for option 2";
    EXPECT_EQ(coloursAt(lines, 1), (Colours{colour::kWhite, colour::kBlue}));
    EXPECT_EQ(positionOfOption(lines, 2), 1);
    EXPECT_EQ(positionOfOption(lines, 1), -1);
    state.platform.BoardCode = 2917;
    EXPECT_EQ(optionListLines(kAdvancedRows[14], state).size(), 3U) << "only 2915 has the gap";
}

TEST(OptionListPlacement, TheTopEntryIsFiveAboveTheCurrentValueFromSixOn) {
    EXPECT_EQ(optionListTop(0), 0);
    EXPECT_EQ(optionListTop(5), 0);
    EXPECT_EQ(optionListTop(6), 1);
    EXPECT_EQ(optionListTop(8), 3);
    EXPECT_EQ(optionListTop(79), 74);
}

TEST(OptionListPlacement, HeightByKindAndTheButtonsEdgeByDirection) {
    const QRect button(100, 200, 96, 20);
    const QSize popup(120, 300);
    EXPECT_EQ(optionListGeometry(ListKind::Voltage, ListOpens::Below, button, popup),
              QRect(100, 220, 120, 300));
    EXPECT_EQ(optionListGeometry(ListKind::Reference, ListOpens::Above, button, popup),
              QRect(100, -100, 120, 300));
    EXPECT_EQ(optionListGeometry(ListKind::CpuPhase, ListOpens::Above, button, popup),
              QRect(100, 50, 120, 150));
    EXPECT_EQ(optionListGeometry(ListKind::Phase, ListOpens::Below, button, popup), QRect(100, 220, 120, 60));
    EXPECT_EQ(optionListGeometry(ListKind::Fan, ListOpens::Above, button, popup), QRect(100, 140, 120, 60));
}

TEST(OptionListState, TheSamePressClosesAnotherMovesAndAChoiceIsCheckedThenCloses) {
    power::PowerModeState modes;
    hw::SettingRoutineState routines;
    test::RecordingCommands commands(modes, &routines.editIndex);
    OptionListState list(routines, modes, commands);
    modes.CurrentValues[0] = 20;
    modes.CurrentValues[7] = 31;
    EXPECT_FALSE(list.isOpen());
    EXPECT_EQ(list.toggle(0), OptionListState::Toggle::Open);
    list.opening(0);
    EXPECT_EQ(list.openIndex(), 0);
    EXPECT_EQ(list.toggle(7), OptionListState::Toggle::Open) << "another row's list moves";
    list.opening(7);
    EXPECT_EQ(list.openIndex(), 7);
    EXPECT_EQ(list.rememberedValue(), 31);
    EXPECT_EQ(list.toggle(7), OptionListState::Toggle::Close);
    EXPECT_EQ(list.openIndex(), -1);
    EXPECT_TRUE(commands.sent.empty());

    list.toggle(7);
    list.opening(7);
    list.choose(60);
    ASSERT_EQ(commands.sent.size(), 1U);
    EXPECT_EQ(commands.sent[0], (test::RecordingCommands::Sent{power::BoardCommand::CheckAndWrite, 7, 60}));
    EXPECT_EQ(routines.rememberedValue, 31) << "what a declined warning restores";
    EXPECT_EQ(list.openIndex(), -1);
    list.choose(3); // no list open: nothing happens
    EXPECT_EQ(commands.sent.size(), 1U);
}

} // namespace
} // namespace solvane::tuning
