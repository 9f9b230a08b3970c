#pragma once

#include <filesystem>
#include <functional>

namespace solvane::host {

// Where the host back-end finds the machine.
struct HostOptions {
    // The sysfs tree: "/sys" on the machine itself (also when empty), a fixture tree in tests
    // (--sysfs-root).
    std::filesystem::path sysfsRoot = "/sys";
    // The proc tree: "/proc" on the machine itself (also when empty), a fixture tree in tests
    // (--proc-root). Memory status from its meminfo, the processors from its cpuinfo.
    std::filesystem::path procRoot = "/proc";
    // The PCI ID list that names the graphics adapter; empty for the one libpci uses by default.
    std::filesystem::path pciIdsFile;
    // Seconds on a clock that only goes forward, for the powers measured over a refresh; empty for
    // the system's own (tests run the refreshes on a virtual clock).
    std::function<double()> clock = {};

    std::filesystem::path root() const {
        return sysfsRoot.empty() ? std::filesystem::path("/sys") : sysfsRoot;
    }
    std::filesystem::path proc() const {
        return procRoot.empty() ? std::filesystem::path("/proc") : procRoot;
    }
};

} // namespace solvane::host
