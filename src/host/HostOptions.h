#pragma once

#include <filesystem>

namespace solvane::host {

// Where the host back-end finds the machine.
struct HostOptions {
    // The sysfs tree: "/sys" on the machine itself, a fixture tree in tests (--sysfs-root).
    std::filesystem::path sysfsRoot = "/sys";
    // The PCI ID list that names the graphics adapter; empty for the one libpci uses by default.
    std::filesystem::path pciIdsFile;
};

} // namespace solvane::host
