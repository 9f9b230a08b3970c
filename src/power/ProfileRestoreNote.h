#pragma once

#include "platform/Registry.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::power {

inline constexpr std::string_view kProfileNoteKey = "Software\\Tarvok\\SolvaneCenter\\PowerProfile";
inline constexpr std::string_view kProfileNoteServiceValue = "Service";
inline constexpr std::string_view kProfileNoteBeforeValue = "Before";
inline constexpr std::string_view kProfileNoteSetValue = "Set";

// What Solvane must give back on a PC: the system power profile that was in force before it
// changed it, through which service, and the profiles it has put in force since. Kept in the
// registry from just before the first change until the usual profile is back, so a start after a
// crash finds it and gives the profile back, as the boards get their Default back.
struct ProfileRestoreNote {
    std::string service;
    std::string before;
    std::vector<std::string> set;

    // Solvane has put this profile in force; one the user chose elsewhere since is not Solvane's
    // to take back.
    bool solvaneSet(std::string_view profile) const;

    // None when no note was left, or a write of one was cut short.
    static std::optional<ProfileRestoreNote> read(const platform::Registry& registry);
    // The note in one piece: the service, which marks a note as present, is written last.
    bool write(platform::Registry& registry) const;
    static bool clear(platform::Registry& registry);
};

} // namespace solvane::power
