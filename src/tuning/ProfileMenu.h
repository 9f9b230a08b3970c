#pragma once

#include "power/PowerModeState.h"
#include "tuning/ProfileStore.h"

#include <string>
#include <vector>

namespace solvane::tuning {

// The profile menu a page shows: which menu resource, its load-defaults item and the named slots
// of its "Load User Setting" and "Delete User Setting" submenus. Slots without a name are left out
// of both submenus; an empty menu resource has neither submenu.
struct ProfileMenuPlan {
    struct Slot {
        int slot; // 0 to 19
        int loadId;
        int deleteId;
        std::string name;
    };
    int menuId = 0;
    int defaultsId = 0;
    std::string defaultsText;
    bool hasSubmenus = false;
    std::vector<Slot> entries;

    // The name of a load or delete item, or empty.
    const Slot* slotOf(int commandId) const;
};

inline constexpr std::string_view kLoadUserSettingText = "Load User Setting";
inline constexpr std::string_view kDeleteUserSettingText = "Delete User Setting";
inline constexpr std::string_view kLoadDefaultMenuText = "load defalt"; // menu 222's own text

// The load-defaults text of the motherboard page by mode; the resource text for no mode.
std::string_view loadDefaultsText(power::PowerMode mode, std::string_view resourceText);

ProfileMenuPlan profileMenuPlan(const ProfileStore& store, power::PowerMode mode);

enum class ProfileCommand { None, LoadDefaults, Load, Delete };
// What a menu command of the store's menus asks for.
ProfileCommand profileCommandOf(const ProfileKind& kind, int commandId);

} // namespace solvane::tuning
