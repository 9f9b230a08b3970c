#include "tuning/ProfileMenu.h"

#include "tuning/ProfileText.h"

namespace solvane::tuning {

const ProfileMenuPlan::Slot* ProfileMenuPlan::slotOf(int commandId) const {
    for (const auto& entry : entries)
        if (entry.loadId == commandId || entry.deleteId == commandId)
            return &entry;
    return nullptr;
}

std::string_view loadDefaultsText(power::PowerMode mode, std::string_view resourceText) {
    switch (mode) {
    case power::PowerMode::Default:
        return "Load Default Settings";
    case power::PowerMode::Optimize:
        return "Load Optimize Settings";
    case power::PowerMode::Max:
        return "Load Max Power saving Settings";
    case power::PowerMode::None:
        break;
    }
    return resourceText;
}

ProfileMenuPlan profileMenuPlan(const ProfileStore& store, power::PowerMode mode) {
    const auto& kind = store.kind();
    // Only the motherboard store's defaults follow the mode.
    const bool followsMode = kind.defaults == ProfileKind::Defaults::ModeVector;
    ProfileMenuPlan plan;
    std::string rest = store.savedList();
    if (rest.empty()) {
        plan.menuId = kind.menuWithoutProfiles;
        if (followsMode && mode != power::PowerMode::None) {
            plan.defaultsId = kind.loadDefaultsItem;
            plan.defaultsText = loadDefaultsText(mode, kind.loadDefaultsText);
        } else {
            plan.defaultsId = kind.loadDefaultsAltItem;
            plan.defaultsText = followsMode ? kLoadDefaultMenuText : kind.loadDefaultsText;
        }
        return plan;
    }
    plan.menuId = kind.menuWithProfiles;
    plan.defaultsId = kind.loadDefaultsItem;
    plan.defaultsText = followsMode ? loadDefaultsText(mode, kind.loadDefaultsText) : kind.loadDefaultsText;
    plan.hasSubmenus = true;
    for (int slot = 0; slot < kProfileMenuSlots; ++slot) {
        // An empty entry, or a name whose values are gone, uses up its slot.
        auto name = takeListEntry(rest);
        if (name.empty() || store.settingsOf(name).empty())
            continue;
        plan.entries.push_back(
            {slot, kind.firstLoadItem + slot, kind.firstDeleteItem + slot, std::move(name)});
    }
    return plan;
}

ProfileCommand profileCommandOf(const ProfileKind& kind, int commandId) {
    if (commandId == kind.loadDefaultsItem || commandId == kind.loadDefaultsAltItem)
        return ProfileCommand::LoadDefaults;
    if (commandId >= kind.firstLoadItem && commandId < kind.firstLoadItem + kProfileMenuSlots)
        return ProfileCommand::Load;
    if (commandId >= kind.firstDeleteItem && commandId < kind.firstDeleteItem + kProfileMenuSlots)
        return ProfileCommand::Delete;
    return ProfileCommand::None;
}

} // namespace solvane::tuning
