#include "support/PrivateSystemBus.h"

#include <chrono>
#include <functional>
#include <thread>
#include <unistd.h>

namespace solvane::test {

namespace {

constexpr const char* kBusDaemon = "/usr/bin/dbus-daemon";
constexpr const char* kPolkitDaemon = "/usr/lib/polkit-1/polkitd";
constexpr const char* kProfileDaemon = "/usr/libexec/power-profiles-daemon";
constexpr const char* kBusctl = "/usr/bin/busctl";

// A system bus that lets anyone own a name and call anything: only the test's processes are on it.
constexpr const char* kBusConfiguration =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=@SOCKET@</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
  </policy>
</busconfig>
)";

constexpr const char* kDaemonObject =
    "net.hadess.PowerProfiles /net/hadess/PowerProfiles net.hadess.PowerProfiles ActiveProfile";

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

} // namespace

PrivateSystemBus::PrivateSystemBus(Firmware firmware) {
    for (const char* program : {kBusDaemon, kPolkitDaemon, kProfileDaemon, kBusctl})
        if (!std::filesystem::exists(program)) {
            m_unavailable = std::string(program) + " is not installed (scripts/install-deps installs it)";
            return;
        }
    if (::geteuid() != 0) {
        // polkit lets a caller switch the profile only from a local active login session, or as root.
        m_unavailable = "polkit authorises a profile switch only for root or a local active session";
        return;
    }
    const auto socket = m_folder / "system_bus_socket";
    m_address = "unix:path=" + socket.string();
    std::string configuration = kBusConfiguration;
    configuration.replace(configuration.find("@SOCKET@"), 8, socket.string());
    writeFile(m_folder / "bus.conf", configuration);
    m_bus = std::make_unique<ChildProcess>(
        kBusDaemon,
        std::vector<std::string>{"--config-file=" + (m_folder / "bus.conf").string(), "--nofork"});
    if (!waitUntil([&] { return std::filesystem::exists(socket); }, 20000)) {
        m_unavailable = "dbus-daemon did not start: " + m_bus->errors();
        return;
    }
    const std::map<std::string, std::string> environment{{"DBUS_SYSTEM_BUS_ADDRESS", m_address}};
    m_polkit =
        std::make_unique<ChildProcess>(kPolkitDaemon, std::vector<std::string>{"--no-debug"}, environment);
    if (!waitUntil([&] { return !busctl("status org.freedesktop.PolicyKit1").empty(); }, 30000)) {
        m_unavailable = "polkitd did not come up on the private bus: " + m_polkit->errors();
        return;
    }
    // The daemon's own folder: its saved state, and the firmware files it looks for.
    const auto daemonRoot = m_folder / "daemon";
    std::filesystem::create_directories(daemonRoot / "sys/firmware/acpi");
    if (firmware == Firmware::ProfileFile) {
        writeFile(daemonRoot / "sys/firmware/acpi/platform_profile", "balanced\n");
        writeFile(daemonRoot / "sys/firmware/acpi/platform_profile_choices",
                  "low-power balanced performance\n");
    }
    m_daemon = std::make_unique<ChildProcess>(
        kProfileDaemon, std::vector<std::string>{},
        std::map<std::string, std::string>{{"DBUS_SYSTEM_BUS_ADDRESS", m_address},
                                           {"UMOCKDEV_DIR", daemonRoot.string()}});
    if (!waitUntil([&] { return !activeProfile().empty(); }, 30000))
        m_unavailable = "power-profiles-daemon did not answer on the private bus: " + m_daemon->errors();
}

PrivateSystemBus::~PrivateSystemBus() {
    // The bus goes last, so neither daemon sees it vanish first.
    m_daemon.reset();
    m_polkit.reset();
    m_bus.reset();
}

std::string PrivateSystemBus::busctl(const std::string& arguments) const {
    return shellOutput("timeout 10 " + std::string(kBusctl) + " --address=" + m_address + " " + arguments +
                       " 2>/dev/null");
}

std::string PrivateSystemBus::activeProfile() const {
    // busctl prints a string property as: s "balanced"
    const auto reply = busctl(std::string("get-property ") + kDaemonObject);
    const auto open = reply.find('"');
    const auto close = reply.rfind('"');
    if (open == std::string::npos || close <= open)
        return {};
    return reply.substr(open + 1, close - open - 1);
}

bool PrivateSystemBus::switchProfile(const std::string& profile) const {
    busctl(std::string("set-property ") + kDaemonObject + " s " + profile);
    return activeProfile() == profile;
}

bool PrivateSystemBus::waitForProfile(const std::string& profile, int timeoutMs) const {
    return waitUntil([&] { return activeProfile() == profile; }, timeoutMs);
}

void PrivateSystemBus::stopDaemon() {
    m_daemon.reset();
    waitUntil([&] { return activeProfile().empty(); }, 10000);
}

} // namespace solvane::test
