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
// procTree names the tree of /proc, empty for a folder without one.
inline std::unique_ptr<HostHardware> hostOnFixture(const std::string& tree,
                                                   const std::string& procTree = {}) {
    const HostOptions options{.sysfsRoot = fixtureFolder() / tree,
                              .procRoot =
                                  procTree.empty() ? fixtureFolder() / "no-proc" : fixtureFolder() / procTree,
                              .pciIdsFile = fixtureFolder() / "pci.ids"};
    return std::make_unique<HostHardware>(options, std::make_shared<HwmonSource>(options.sysfsRoot));
}

} // namespace solvane::host::test
