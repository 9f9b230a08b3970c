#pragma once

#include "platform/PowerProfileService.h"
#include "platform/Registry.h"
#include "power/PowerModeState.h"
#include "power/ProfilePlan.h"
#include "power/ProfileRestoreNote.h"

#include <string>
#include <vector>

namespace solvane::power {

// The three modes on a PC: each puts a system power profile in force through the first usable
// power-profile service, and the usual profile comes back when the user chooses Default, when the
// program ends, and at the next start after a crash (from the restore note). Nothing but the
// profile is ever changed.
class SystemProfileModes {
public:
    // services in the order they are tried; the registry keeps the restore note.
    SystemProfileModes(std::vector<platform::PowerProfileService*> services, platform::Registry& registry);

    // Start-up: chooses the service, gives back a profile a crashed run left in force, and plans the
    // modes around the usual profile.
    void start();

    // Optimize and Max can be chosen.
    bool savingModesAvailable() const { return m_service != nullptr && m_reason.empty(); }
    // Why they cannot, one line for the user; empty when they can.
    const std::string& reason() const { return m_reason; }
    const ProfilePlan& plan() const { return m_plan; }
    // The service in use; empty when none is.
    std::string_view serviceName() const;
    // The mode whose profile is in force.
    PowerMode mode() const { return m_mode; }

    // Puts the mode's profile in force: empty when done, else why not (one line); then the mode in
    // force stays what it was.
    std::string apply(PowerMode mode);
    // The usual profile back, if Solvane changed it and the user has not chosen another since:
    // empty when done or nothing was to be done, else why not (the note then stays for the next
    // start).
    std::string restore();

private:
    std::string giveBack(const ProfileRestoreNote& note);

    std::vector<platform::PowerProfileService*> m_services;
    platform::Registry& m_registry;
    platform::PowerProfileService* m_service = nullptr;
    std::vector<std::string> m_offered;
    ProfilePlan m_plan;
    std::string m_reason;
    PowerMode m_mode = PowerMode::Default;
};

} // namespace solvane::power
