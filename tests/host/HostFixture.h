#pragma once

#include "host/HostHardware.h"
#include "host/HwmonSource.h"

#include <filesystem>
#include <memory>

namespace solvane::host::test {

// The sysfs trees of tests/data/host (see make_fixtures.py there).
inline std::filesystem::path fixtureFolder() {
    return std::filesystem::path(SOLVANE_TEST_DATA) / "host";
}

// The host back-end on a fixture tree, naming PCI devices from the fixture's own ID list.
inline std::unique_ptr<HostHardware> hostOnFixture(const std::string& tree) {
    const HostOptions options{.sysfsRoot = fixtureFolder() / tree, .pciIdsFile = fixtureFolder() / "pci.ids"};
    return std::make_unique<HostHardware>(options, std::make_shared<HwmonSource>(options.sysfsRoot));
}

} // namespace solvane::host::test
