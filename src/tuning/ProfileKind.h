#pragma once

#include "power/PowerModeState.h"

#include <string_view>

namespace solvane::tuning {

// The two profile stores. They work by one mechanism and differ in where they live, which settings
// a profile keeps and the ids of their menus.
struct ProfileKind {
    // The store's key; empty for the motherboard store, which lives under the active mode's key.
    std::string_view fixedKey;
    int firstSetting; // catalogue index of the first kept setting
    int settingCount; // settings kept, in index order
    // A setting the board lacks is stored as -1 (motherboard profiles), or as its current value.
    bool storeAbsentAsMissing;
    // What "load defaults" does: apply the active mode's "DefaultSetting", or switch every LED back
    // to following its function (ALL_LED = 0).
    enum class Defaults { ModeVector, AllLedsOn } defaults;
    int menuWithProfiles;              // menu resource shown when profiles exist
    int menuWithoutProfiles;           // and when there are none
    int loadDefaultsItem;              // the load-defaults item of the menu with profiles
    int loadDefaultsAltItem;           // the single item of the menu without profiles
    int firstLoadItem;                 // load profile, slots 1 to 20
    int firstDeleteItem;               // delete profile, slots 1 to 20
    std::string_view loadDefaultsText; // resource text of the load-defaults item
};

inline constexpr std::string_view kLedProfileKey = "Software\\Tarvok\\SolvaneCenter\\LED";
inline constexpr std::string_view kSavedSettingsValue = "SavedSettings";
inline constexpr int kProfileMenuSlots = 20;

inline constexpr ProfileKind kMotherboardProfiles{
    .fixedKey = {},
    .firstSetting = 0,
    .settingCount = 20,
    .storeAbsentAsMissing = true,
    .defaults = ProfileKind::Defaults::ModeVector,
    .menuWithProfiles = 220,
    .menuWithoutProfiles = 222,
    .loadDefaultsItem = 32885,
    .loadDefaultsAltItem = 32886,
    .firstLoadItem = 32842,
    .firstDeleteItem = 32862,
    .loadDefaultsText = "Load Default Setting",
};

inline constexpr ProfileKind kLedProfiles{
    .fixedKey = kLedProfileKey,
    .firstSetting = 20,
    .settingCount = 9,
    .storeAbsentAsMissing = false,
    .defaults = ProfileKind::Defaults::AllLedsOn,
    .menuWithProfiles = 261,
    .menuWithoutProfiles = 260,
    .loadDefaultsItem = 32935,
    .loadDefaultsAltItem = 32934,
    .firstLoadItem = 32937,
    .firstDeleteItem = 32957,
    .loadDefaultsText = "Load Led Default Setting",
};

// The key a store's profiles live under now.
inline std::string_view profileKey(const ProfileKind& kind, const power::PowerModeState& modes) {
    return kind.fixedKey.empty() ? std::string_view(modes.ActiveModeKey) : kind.fixedKey;
}

} // namespace solvane::tuning
