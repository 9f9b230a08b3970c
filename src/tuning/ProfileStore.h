#pragma once

#include "platform/Registry.h"
#include "power/BoardCommands.h"
#include "power/PowerModeState.h"
#include "tuning/ProfileKind.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::tuning {

// Why a profile was not saved; the page shows the message with the caption and stays in naming.
struct SaveRefusal {
    std::string message;
    std::string caption; // empty: no caption
};

inline constexpr std::string_view kNoNameMessage = "Please define a name.";
inline constexpr std::string_view kNoNameCaption = "No name";
inline constexpr std::string_view kDuplicateNameMessage = "Please define another name.";
inline constexpr std::string_view kDuplicateNameCaption = "Duplicate name";
inline constexpr std::string_view kDuplicateSettingCaption = "Duplicate setting";
inline constexpr std::string_view kUnusableNameMessage =
    "A setting name cannot contain \";\" nor begin or end with a blank.";
inline constexpr std::string_view kReservedNameMessage =
    "This name belongs to the program's own values. Please define another name.";
inline constexpr std::string_view kUnusableNameCaption = "Invalid name";
inline constexpr std::string_view kListFullMessage =
    "There is no room for another setting name. Please delete a setting first.";
inline constexpr std::string_view kListFullCaption = "Too many settings";
inline constexpr std::string_view kDeleteCaption = "Warning!";

// "Same setting as "<name>"." — the name is inserted as text, never used as a format.
std::string sameSettingMessage(std::string_view name);
// "Are you sure to delete "<name>" setting ?"
std::string deleteQuestion(std::string_view name);

// A value of a store's key as the stores read it: through the read buffer, ending at its first NUL;
// empty when the key or value is missing or does not fit.
std::string readStoreValue(const platform::Registry& registry, std::string_view key, std::string_view name);
// The profile names saved under a store's key, in order of saving; empty entries are left out.
std::vector<std::string> savedProfileNames(const platform::Registry& registry, std::string_view key);

// A store of saved profiles in the registry: the name list "SavedSettings" and one settings string
// per name, under the store's key. Registry failures are silent: what cannot be read is empty,
// what cannot be written is left as it was.
class ProfileStore {
public:
    ProfileStore(platform::Registry& registry, const ProfileKind& kind, power::PowerModeState& modes,
                 power::BoardCommands& commands);

    const ProfileKind& kind() const { return m_kind; }
    std::string key() const { return std::string(profileKey(m_kind, m_modes)); }
    // The raw name list, and its entries in order of saving.
    std::string savedList() const;
    std::vector<std::string> names() const;
    // A profile's settings string; empty when it is missing.
    std::string settingsOf(std::string_view name) const;
    // The settings string of the current values (-1 for a board's missing settings where the
    // store keeps them so).
    std::string currentSettings() const;

    // Writes, in index order, every kept setting whose value in text exists, is not negative and
    // differs from its current value.
    void apply(std::string_view text);
    void load(std::string_view name) { apply(settingsOf(name)); }
    void loadDefaults();

    // Checks the name and, when it passes, saves the current values under it; otherwise says why.
    std::optional<SaveRefusal> save(std::string_view name);
    // Removes the profile's values and its list entry; the list goes when it is empty.
    void remove(std::string_view name);

private:
    std::string read(std::string_view name) const;
    std::optional<SaveRefusal> refusal(std::string_view name, const std::string& list,
                                       const std::string& settings) const;

    platform::Registry& m_registry;
    const ProfileKind& m_kind;
    power::PowerModeState& m_modes;
    power::BoardCommands& m_commands;
};

} // namespace solvane::tuning
