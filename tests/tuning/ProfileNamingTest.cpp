#include "tuning/ProfileNaming.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace solvane::tuning {
namespace {

using Controls = ProfileNaming::Controls;

struct Walk {
    std::string name;
    std::function<void(ProfileNaming&)> steps;
    Controls expected;
};

// What the page shows after each way through the two-click Save.
TEST(ProfileNaming, EachWayThroughSaveLeavesTheControlsAUserExpects) {
    const Controls idle{.saveEnabled = true, .loadEnabled = true, .editShown = false, .cancelShown = false};
    const Controls namingBlocked{
        .saveEnabled = false, .loadEnabled = false, .editShown = true, .cancelShown = true};
    const Controls namingReady{
        .saveEnabled = true, .loadEnabled = false, .editShown = true, .cancelShown = true};
    const std::vector<Walk> walks{
        {"nothing done", [](ProfileNaming&) {}, idle},
        {"Save starts naming", [](ProfileNaming& n) { n.onSave(); }, namingBlocked},
        {"an empty name keeps Save off",
         [](ProfileNaming& n) {
             n.onSave();
             n.onTextChanged(false);
         },
         namingBlocked},
        {"a name enables Save",
         [](ProfileNaming& n) {
             n.onSave();
             n.onTextChanged(true);
         },
         namingReady},
        {"emptying the name again leaves Save on",
         [](ProfileNaming& n) {
             n.onSave();
             n.onTextChanged(true);
             n.onTextChanged(false);
         },
         namingReady},
        {"a refused name stays in naming",
         [](ProfileNaming& n) {
             n.onSave();
             n.onTextChanged(true);
             n.onSave();
             n.onRefused();
         },
         namingReady},
        {"a saved name goes back to idle",
         [](ProfileNaming& n) {
             n.onSave();
             n.onTextChanged(true);
             n.onSave();
             n.onSaved();
         },
         idle},
        {"Cancel goes back to idle",
         [](ProfileNaming& n) {
             n.onSave();
             n.onCancel();
         },
         idle},
        {"typing outside naming changes nothing",
         [](ProfileNaming& n) {
             n.onSave();
             n.onCancel();
             n.onTextChanged(false);
         },
         idle},
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(walk.name);
        ProfileNaming naming;
        walk.steps(naming);
        const Controls shown = naming.controls();
        EXPECT_EQ(shown.saveEnabled, walk.expected.saveEnabled);
        EXPECT_EQ(shown.loadEnabled, walk.expected.loadEnabled);
        EXPECT_EQ(shown.editShown, walk.expected.editShown);
        EXPECT_EQ(shown.cancelShown, walk.expected.cancelShown);
    }
}

TEST(ProfileNaming, TheSecondSaveChecksAndTheFirstWritesNothing) {
    ProfileNaming naming;
    EXPECT_EQ(naming.onSave(), ProfileNaming::SaveStep::StartNaming);
    EXPECT_TRUE(naming.naming());
    EXPECT_EQ(naming.onSave(), ProfileNaming::SaveStep::CheckAndSave);
    naming.onRefused();
    EXPECT_TRUE(naming.naming());
    EXPECT_EQ(naming.onSave(), ProfileNaming::SaveStep::CheckAndSave);
}

} // namespace
} // namespace solvane::tuning
