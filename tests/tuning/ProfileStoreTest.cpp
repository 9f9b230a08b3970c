// The profile stores against a registry file on disk: every change is read back from the file by a
// second registry opened on it, as the next run of the program would see it.
#include "tuning/ProfileStore.h"

#include "RecordingCommands.h"
#include "platform/FileRegistry.h"
#include "support/TempFolder.h"
#include "tuning/ProfileMenu.h"
#include "tuning/ProfileText.h"

#include <gtest/gtest.h>

namespace solvane::tuning {
namespace {

using power::PowerMode;
using test::RecordingCommands;

constexpr std::string_view kDefaultKey = "Software\\Tarvok\\SolvaneCenter\\Default";
constexpr std::string_view kOptimizeKey = "Software\\Tarvok\\SolvaneCenter\\Optimize";
constexpr std::string_view kLedKey = "Software\\Tarvok\\SolvaneCenter\\LED";

class ProfileFile : public testing::Test {
protected:
    ProfileFile() {
        // A board with every mode setting but 4, 5 and 16 (as 2917), values 10, 11, 12, …
        for (int i = 0; i < 29; ++i) {
            const bool lacks = i == 4 || i == 5 || i == 16;
            modes.DefaultTargets[static_cast<std::size_t>(i)] = lacks ? -1 : 1;
            modes.CurrentValues[static_cast<std::size_t>(i)] = lacks ? -1 : (i < 20 ? 10 + i : i % 2);
        }
        modes.selectMode(PowerMode::Default);
        reopen();
    }

    void reopen() {
        auto opened = platform::FileRegistry::open(folder / "registry.reg");
        ASSERT_TRUE(opened.notice.empty()) << opened.notice;
        registry = std::move(opened.registry);
        motherboard = std::make_unique<ProfileStore>(*registry, kMotherboardProfiles, modes, commands);
        leds = std::make_unique<ProfileStore>(*registry, kLedProfiles, modes, commands);
    }
    // What the next run reads from the file.
    std::optional<std::string> onDisk(std::string_view key, std::string_view name) {
        auto opened = platform::FileRegistry::open(folder / "registry.reg");
        return opened.registry->readString(key, name);
    }
    void setValue(int index, int value) { modes.CurrentValues[static_cast<std::size_t>(index)] = value; }

    solvane::test::TempFolder folder;
    power::PowerModeState modes;
    RecordingCommands commands{modes};
    std::unique_ptr<platform::FileRegistry> registry;
    std::unique_ptr<ProfileStore> motherboard;
    std::unique_ptr<ProfileStore> leds;
};

TEST_F(ProfileFile, ASavedProfileIsItsListEntryAndItsSettingsStringWithMinusOneForWhatTheBoardLacks) {
    EXPECT_FALSE(motherboard->save("Quiet"));
    setValue(0, 40);
    EXPECT_FALSE(motherboard->save("Game"));
    EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), "Quiet;Game;");
    EXPECT_EQ(onDisk(kDefaultKey, "Quiet"), "10;11;12;13;-1;-1;16;17;18;19;20;21;22;23;24;25;-1;27;28;29;");
    EXPECT_EQ(onDisk(kDefaultKey, "Game"), "40;11;12;13;-1;-1;16;17;18;19;20;21;22;23;24;25;-1;27;28;29;");
    EXPECT_FALSE(onDisk(kLedKey, "SavedSettings")) << "the LED store is another key";
    EXPECT_TRUE(commands.sent.empty()) << "saving writes no hardware";

    // LED profiles: the nine LED values as they are.
    EXPECT_FALSE(leds->save("Dark"));
    EXPECT_EQ(onDisk(kLedKey, "SavedSettings"), "Dark;");
    EXPECT_EQ(onDisk(kLedKey, "Dark"), "0;1;0;1;0;1;0;1;0;");
}

TEST_F(ProfileFile, ListsAreReadEntryByEntryTrimmingWhatFollowsEachSemicolon) {
    registry->writeString(kDefaultKey, "SavedSettings", "Quiet; Game ;Last");
    reopen();
    EXPECT_EQ(motherboard->names(), (std::vector<std::string>{"Quiet", "Game ", "Last"}));
    EXPECT_EQ(listEntries("a;;b;"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(listEntries("").empty());
    EXPECT_EQ(parseSettings(" 7;x;-3;+2", 5), (std::vector<std::optional<int>>{7, 0, -3, 2, std::nullopt}));
    EXPECT_TRUE(parseSettings("7;8", 0).empty()) << "no settings asked for, none read";
    EXPECT_TRUE(parseSettings("7;8", -1).empty());
}

TEST_F(ProfileFile, TheDuplicateNameCheckMatchesWholeEntriesOnly) {
    registry->writeString(kDefaultKey, "SavedSettings", "xGame;");
    registry->writeString(kDefaultKey, "xGame", "1;");
    EXPECT_FALSE(motherboard->save("Game")) << "Game only ends the entry xGame";
    EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), "xGame;Game;");

    registry->writeString(kDefaultKey, "SavedSettings", "Quiet;Game;");
    setValue(1, 50);
    const auto refused = motherboard->save("Game");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->message, "Please define another name.");
    EXPECT_EQ(refused->caption, "Duplicate name");
    EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), "Quiet;Game;");
}

TEST_F(ProfileFile, ANameDifferingOnlyInCaseIsRefusedBecauseTheValueNamesAreOne) {
    ASSERT_FALSE(motherboard->save("Game"));
    const auto gameValues = onDisk(kDefaultKey, "Game");
    setValue(0, 44);
    const auto refused = motherboard->save("game");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "Duplicate name");
    // The registry itself holds one value for both spellings: a save would have replaced Game's.
    EXPECT_EQ(onDisk(kDefaultKey, "GAME"), gameValues);
    EXPECT_EQ(onDisk(kDefaultKey, "Game"), gameValues);
    EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), "Game;");
}

TEST_F(ProfileFile, TheSameValuesAsAnotherProfileAreRefusedNamingIt) {
    ASSERT_FALSE(motherboard->save("Quiet"));
    setValue(0, 33);
    ASSERT_FALSE(motherboard->save("Loud"));
    const auto refused = motherboard->save("Again");
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->message, "Same setting as \"Loud\".");
    EXPECT_EQ(refused->caption, "Duplicate setting");
    EXPECT_FALSE(onDisk(kDefaultKey, "Again"));
    EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), "Quiet;Loud;");
}

TEST_F(ProfileFile, NamesTheListCannotHoldAreRefusedInTheirOrder) {
    const auto refusal = [&](std::string_view name) {
        const auto refused = motherboard->save(name);
        return refused ? refused->caption + ": " + refused->message : std::string("saved");
    };
    EXPECT_EQ(refusal(""), "No name: Please define a name.");
    EXPECT_EQ(refusal("a;b"), "Invalid name: " + std::string(kUnusableNameMessage));
    EXPECT_EQ(refusal(" Game"), "Invalid name: " + std::string(kUnusableNameMessage));
    EXPECT_EQ(refusal("Game\t"), "Invalid name: " + std::string(kUnusableNameMessage));
    EXPECT_EQ(refusal("savedsettings"), "Invalid name: " + std::string(kReservedNameMessage));
    EXPECT_EQ(refusal("DefaultSetting"), "Invalid name: " + std::string(kReservedNameMessage));
    EXPECT_FALSE(onDisk(kDefaultKey, "SavedSettings"));
    // A name is text, never a format: its per-cent signs come out as typed.
    ASSERT_EQ(refusal("%s%n%d"), "saved");
    EXPECT_EQ(motherboard->names(), std::vector<std::string>{"%s%n%d"});
    EXPECT_EQ(sameSettingMessage("%s%n"), "Same setting as \"%s%n\".");
    EXPECT_EQ(deleteQuestion("%s"), "Are you sure to delete \"%s\" setting ?");
}

TEST_F(ProfileFile, AListThatWouldOutgrowTheReadBufferRefusesTheNextName) {
    const std::string longName(200, 'n');
    std::string list;
    for (int n = 0; list.size() < 4900; ++n)
        list += "e" + std::to_string(n) + ";";
    registry->writeString(kDefaultKey, "SavedSettings", list);
    const auto refused = motherboard->save(longName);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->caption, "Too many settings");
    EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), list) << "every name is kept";
}

// The registry reads a value of up to 5000 characters (its read buffer of 5001 with the closing
// NUL): a name that brings the list to exactly that is kept, one character more is refused.
TEST_F(ProfileFile, TheListMayGrowToTheLongestValueTheRegistryReadsBackAndNoFurther) {
    const std::string list = std::string(4989, 'a') + ";"; // 4990 characters
    for (const auto& [name, saved] : std::initializer_list<std::pair<std::string, bool>>{
             {std::string(10, 'b'), false}, {std::string(9, 'c'), true}}) {
        SCOPED_TRACE(name.size());
        registry->deleteValue(kDefaultKey, name);
        registry->writeString(kDefaultKey, "SavedSettings", list);
        const auto refused = motherboard->save(name);
        EXPECT_EQ(!refused, saved);
        EXPECT_EQ(refused ? refused->caption : "", saved ? "" : "Too many settings");
        reopen();
        const auto expected = saved ? list + name + ";" : list;
        EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), expected);
        EXPECT_EQ(motherboard->names().size(), saved ? 2U : 1U) << "the next run reads every name";
    }
}

TEST_F(ProfileFile, DeletingTakesOutTheWholeEntryAndTheLastOneTakesTheList) {
    registry->writeString(kDefaultKey, "SavedSettings", "xGame;Game;");
    registry->writeString(kDefaultKey, "xGame", "1;");
    registry->writeString(kDefaultKey, "Game", "2;");
    motherboard->remove("Game");
    EXPECT_EQ(onDisk(kDefaultKey, "SavedSettings"), "xGame;");
    EXPECT_FALSE(onDisk(kDefaultKey, "Game"));
    EXPECT_EQ(onDisk(kDefaultKey, "xGame"), "1;");
    motherboard->remove("xGame");
    EXPECT_FALSE(onDisk(kDefaultKey, "SavedSettings"));
    EXPECT_FALSE(onDisk(kDefaultKey, "xGame"));
    EXPECT_EQ(withoutEntry("a;b;a;", "a"), "b;a;");
    EXPECT_EQ(withoutEntry("a;b", "b"), "a;");
    EXPECT_EQ(withoutEntry("a;b;", "c"), "a;b;");
}

TEST_F(ProfileFile, TheTwentyFirstProfileIsStoredAndCheckedButNotShown) {
    for (int i = 0; i < 21; ++i) {
        setValue(0, 30 + i);
        ASSERT_FALSE(motherboard->save("P" + std::to_string(i)));
    }
    EXPECT_EQ(motherboard->names().size(), 21U);
    EXPECT_EQ(onDisk(kDefaultKey, "P20"), "50;11;12;13;-1;-1;16;17;18;19;20;21;22;23;24;25;-1;27;28;29;");
    const auto plan = profileMenuPlan(*motherboard, PowerMode::Default);
    ASSERT_EQ(plan.entries.size(), 20U);
    EXPECT_EQ(plan.entries.back().name, "P19");
    EXPECT_EQ(plan.entries.back().loadId, 32861);
    EXPECT_EQ(plan.entries.back().deleteId, 32881);
    // The twenty-first takes part in the checks.
    EXPECT_EQ(motherboard->save("P20")->caption, "Duplicate name");
    EXPECT_EQ(motherboard->save("New")->message, "Same setting as \"P20\".");
}

TEST_F(ProfileFile, AValueDeletedBehindTheProgramsBackLeavesItsSlotOut) {
    for (const char* name : {"A", "B", "C"}) {
        setValue(0, name[0]);
        ASSERT_FALSE(motherboard->save(name));
    }
    {
        auto other = platform::FileRegistry::open(folder / "registry.reg");
        other.registry->deleteValue(kDefaultKey, "B");
    }
    reopen();
    const auto plan = profileMenuPlan(*motherboard, PowerMode::Default);
    EXPECT_EQ(plan.menuId, 220);
    ASSERT_EQ(plan.entries.size(), 2U);
    EXPECT_EQ(plan.entries[0].name, "A");
    EXPECT_EQ(plan.entries[0].loadId, 32842);
    EXPECT_EQ(plan.entries[1].name, "C");
    EXPECT_EQ(plan.entries[1].slot, 2) << "C keeps its own slot";
    EXPECT_EQ(plan.entries[1].loadId, 32844);
    EXPECT_EQ(plan.entries[1].deleteId, 32864);
    EXPECT_EQ(plan.slotOf(32844)->name, "C");
    EXPECT_EQ(plan.slotOf(32843), nullptr);
}

TEST_F(ProfileFile, ProfilesLiveUnderTheModeThatWasActiveWhenSaved) {
    ASSERT_FALSE(motherboard->save("Quiet"));
    modes.selectMode(PowerMode::Optimize);
    EXPECT_TRUE(motherboard->names().empty());
    EXPECT_EQ(profileMenuPlan(*motherboard, PowerMode::Optimize).menuId, 222);
    ASSERT_FALSE(motherboard->save("Quiet")) << "another mode, another list";
    EXPECT_EQ(onDisk(kOptimizeKey, "SavedSettings"), "Quiet;");
    modes.selectMode(PowerMode::Default);
    EXPECT_EQ(motherboard->names(), std::vector<std::string>{"Quiet"});
    // No mode: no key, nothing read or written.
    modes.selectMode(PowerMode::None);
    EXPECT_TRUE(motherboard->names().empty());
    EXPECT_FALSE(motherboard->save("Other"));
    EXPECT_FALSE(onDisk(kDefaultKey, "Other"));
}

TEST_F(ProfileFile, LoadingWritesEachChangedValueAndNeverAMissingOrAbsentOne) {
    registry->writeString(kDefaultKey, "Mixed", "10;-1;5;13;7;7;16;17;18;19;20;21;22;23;24;25;9;27;28;29;");
    setValue(1, 11);
    setValue(4, -1);
    motherboard->load("Mixed");
    // Setting 1 is -1 in the string: kept. 4, 5 and 16 exist in the string but not on the board's
    // current values (-1): a value of 7 or 9 is written only because it differs.
    const std::vector<std::pair<int, int>> expected{{2, 5}, {4, 7}, {5, 7}, {16, 9}};
    EXPECT_EQ(commands.writes(), expected);
    EXPECT_EQ(modes.CurrentValues[1], 11);

    // A profile saved on this board holds -1 for 4, 5 and 16: loading it never writes them.
    commands.sent.clear();
    setValue(4, -1);
    setValue(5, -1);
    setValue(16, -1);
    ASSERT_FALSE(motherboard->save("Here"));
    setValue(0, 3);
    motherboard->load("Here");
    EXPECT_EQ(commands.writes(), (std::vector<std::pair<int, int>>{{0, 10}}));

    // Equal to the current values: nothing is sent.
    commands.sent.clear();
    motherboard->load("Here");
    EXPECT_TRUE(commands.sent.empty());
}

TEST_F(ProfileFile, AShortStringSkipsItsMissingPositionsAndAMissingProfileWritesNothing) {
    registry->writeString(kDefaultKey, "DefaultSetting", "1;2;");
    motherboard->loadDefaults();
    EXPECT_EQ(commands.writes(), (std::vector<std::pair<int, int>>{{0, 1}, {1, 2}}));
    EXPECT_EQ(modes.CurrentValues[2], 12) << "not set to 0";
    commands.sent.clear();
    motherboard->load("Nobody");
    EXPECT_TRUE(commands.sent.empty());
}

TEST_F(ProfileFile, LedDefaultsTurnAllLedBackOnAndLedProfilesLoadTheirNineValues) {
    setValue(20, 1);
    leds->loadDefaults();
    EXPECT_EQ(commands.writes(), (std::vector<std::pair<int, int>>{{20, 0}}));
    commands.sent.clear();
    registry->writeString(kLedKey, "Night", "1;1;1;1;1;1;1;1;1;");
    leds->load("Night");
    EXPECT_EQ(commands.writes(),
              (std::vector<std::pair<int, int>>{{20, 1}, {22, 1}, {24, 1}, {26, 1}, {28, 1}}));
}

TEST_F(ProfileFile, TheMenuWithoutProfilesCarriesOnlyTheDefaultsItem) {
    const auto byMode = [&](PowerMode mode) {
        const auto plan = profileMenuPlan(*motherboard, mode);
        EXPECT_FALSE(plan.hasSubmenus);
        EXPECT_TRUE(plan.entries.empty());
        return std::to_string(plan.menuId) + " " + std::to_string(plan.defaultsId) + " " + plan.defaultsText;
    };
    EXPECT_EQ(byMode(PowerMode::Default), "222 32885 Load Default Settings");
    EXPECT_EQ(byMode(PowerMode::Optimize), "222 32885 Load Optimize Settings");
    EXPECT_EQ(byMode(PowerMode::Max), "222 32885 Load Max Power saving Settings");
    EXPECT_EQ(byMode(PowerMode::None), "222 32886 load defalt");
    EXPECT_EQ(profileCommandOf(kMotherboardProfiles, 32886), ProfileCommand::LoadDefaults);

    const auto ledPlan = profileMenuPlan(*leds, PowerMode::Max);
    EXPECT_EQ(ledPlan.menuId, 260);
    EXPECT_EQ(ledPlan.defaultsId, 32934);
    EXPECT_EQ(ledPlan.defaultsText, "Load Led Default Setting");
}

TEST_F(ProfileFile, WithThreeProfilesSlotsOneToThreeCarryTheNames) {
    for (int i = 0; i < 3; ++i) {
        setValue(0, 60 + i);
        ASSERT_FALSE(motherboard->save("M" + std::to_string(i)));
        setValue(20 + i, 1 - modes.CurrentValues[static_cast<std::size_t>(20 + i)]);
        ASSERT_FALSE(leds->save("L" + std::to_string(i)));
    }
    const auto plan = profileMenuPlan(*motherboard, PowerMode::Max);
    EXPECT_EQ(plan.menuId, 220);
    EXPECT_EQ(plan.defaultsId, 32885);
    EXPECT_EQ(plan.defaultsText, "Load Max Power saving Settings");
    ASSERT_EQ(plan.entries.size(), 3U);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(plan.entries[static_cast<std::size_t>(i)].name, "M" + std::to_string(i));
        EXPECT_EQ(plan.entries[static_cast<std::size_t>(i)].loadId, 32842 + i);
    }
    const auto ledPlan = profileMenuPlan(*leds, PowerMode::None);
    EXPECT_EQ(ledPlan.menuId, 261);
    EXPECT_EQ(ledPlan.defaultsId, 32935);
    ASSERT_EQ(ledPlan.entries.size(), 3U);
    EXPECT_EQ(ledPlan.entries[2].loadId, 32939);
    EXPECT_EQ(ledPlan.entries[2].deleteId, 32959);
    EXPECT_EQ(profileCommandOf(kLedProfiles, 32976), ProfileCommand::Delete);
    EXPECT_EQ(profileCommandOf(kLedProfiles, 32977), ProfileCommand::None);
    EXPECT_EQ(profileCommandOf(kLedProfiles, 32937), ProfileCommand::Load);
}

} // namespace
} // namespace solvane::tuning
