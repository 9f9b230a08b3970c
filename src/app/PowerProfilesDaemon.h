#pragma once

#include "platform/PowerProfileService.h"

#include <QDBusConnection>

namespace solvane::app {

// The system's power-profile daemon on the system bus: its ActiveProfile property is the profile
// in force, its Profiles property the ones it offers. Newer daemons answer under the UPower name,
// older ones under their original name; both are tried.
class PowerProfilesDaemon final : public platform::PowerProfileService {
public:
    explicit PowerProfilesDaemon(QDBusConnection bus = QDBusConnection::systemBus());

    std::string_view name() const override { return "power-profiles-daemon"; }
    platform::PowerProfileOffer offer() override;
    std::string setProfile(const std::string& profile) override;

    // How long one call may wait for the daemon, which the bus may first have to start.
    static constexpr int kCallTimeoutMs = 5000;

private:
    QDBusConnection m_bus;
    // The daemon's address that answered last (an index into the known ones).
    std::size_t m_address = 0;
};

} // namespace solvane::app
