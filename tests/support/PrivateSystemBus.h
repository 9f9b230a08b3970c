#pragma once

#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <memory>
#include <string>

namespace solvane::test {

// A system bus of the test's own (dbus-daemon with its own configuration) with the real
// power-profile daemon on it, and polkit's daemon, which the profile daemon asks before it switches
// a profile. The profile daemon keeps its state and looks for the firmware's files under a folder
// of the test (its UMOCKDEV_DIR), so nothing of the machine is read or changed. Every process ends
// with the object.
class PrivateSystemBus {
public:
    // What the profile daemon finds: the firmware's profile file offering low-power, balanced and
    // performance (it then offers all three of its profiles), or nothing (its placeholder driver
    // offers only balanced and power-saver).
    enum class Firmware { ProfileFile, Nothing };

    explicit PrivateSystemBus(Firmware firmware);
    ~PrivateSystemBus();
    PrivateSystemBus(const PrivateSystemBus&) = delete;
    PrivateSystemBus& operator=(const PrivateSystemBus&) = delete;

    // Why the daemon does not run here (a test skips with it); empty when it runs.
    const std::string& unavailable() const { return m_unavailable; }
    // The bus address for DBUS_SYSTEM_BUS_ADDRESS.
    const std::string& address() const { return m_address; }

    // The daemon's ActiveProfile, read with busctl; empty when it does not answer.
    std::string activeProfile() const;
    // Switches the profile as another program on the desktop would; false when refused.
    bool switchProfile(const std::string& profile) const;
    // Waits until the daemon's profile is this one; false on timeout.
    bool waitForProfile(const std::string& profile, int timeoutMs = 30000) const;
    // Ends the profile daemon, leaving the bus (and polkit) running.
    void stopDaemon();

private:
    std::string busctl(const std::string& arguments) const;

    TempFolder m_folder;
    std::string m_address;
    std::string m_unavailable;
    std::unique_ptr<ChildProcess> m_bus;
    std::unique_ptr<ChildProcess> m_polkit;
    std::unique_ptr<ChildProcess> m_daemon;
};

} // namespace solvane::test
