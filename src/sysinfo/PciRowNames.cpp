#include "sysinfo/PciRowNames.h"

#include "sysinfo/PciTables.h"

#include <algorithm>

namespace solvane::sysinfo {

void nameRowsFromIdList(PciScan& scan, const PciIdListLookup& lookup) {
    for (auto& device : scan.devices) {
        device.nameSource = std::string(kNamedByTables);
        if (device.namedByTables || !lookup)
            continue;
        const auto named = lookup(device.vendorId, device.deviceId);
        if (!named || named->empty())
            continue;
        // The row is ";"-separated: a name must not add a field.
        std::string name = *named;
        std::replace(name.begin(), name.end(), ';', ',');
        const auto numbers = device.row.find(';');
        device.row = name + device.row.substr(numbers);
        device.nameSource = std::string(kNamedByIdList);
    }
}

} // namespace solvane::sysinfo
