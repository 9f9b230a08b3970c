#pragma once

#include "sysinfo/PciEnumeration.h"
#include "sysinfo/PciHeaderValues.h"

#include <array>
#include <string>
#include <vector>

namespace solvane::sysinfo {

// One listed function as the PCI page presents it: the device-list row, the four list-view
// columns, and the header values the page shows when it is picked.
struct PciDeviceReport {
    std::string row;
    std::string nameSource; // "tables" or "pci.ids"
    std::array<std::string, 4> listView;
    PciHeaderTexts header;
};

// Every listed function, in enumeration order.
std::vector<PciDeviceReport> pciDeviceReports(const PciScan& scan, hw::Falwick& pci);

} // namespace solvane::sysinfo
