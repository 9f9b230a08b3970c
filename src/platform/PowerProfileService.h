#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace solvane::platform {

// What a power-profile service offers at one moment.
struct PowerProfileOffer {
    // The profiles it can put in force, in its own names; empty when it cannot be used.
    std::vector<std::string> profiles;
    // The profile in force now.
    std::string active;
    // Why the service cannot be used, one line for the user; empty when it can.
    std::string problem;
};

// The system's own power profile: how eagerly the processor and platform trade speed for power.
// On a PC it stands in for the power plan the boards' modes switch. One implementation talks to
// the system's profile daemon, another writes the firmware's profile file; the modes' logic sees
// only this.
class PowerProfileService {
public:
    virtual ~PowerProfileService() = default;

    // The service's name for people and for the note that remembers what to give back.
    virtual std::string_view name() const = 0;
    virtual PowerProfileOffer offer() = 0;
    // Puts one of the offered profiles in force: empty when done, else why not (one line).
    virtual std::string setProfile(const std::string& profile) = 0;
};

} // namespace solvane::platform
