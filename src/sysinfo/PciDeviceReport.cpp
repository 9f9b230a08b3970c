#include "sysinfo/PciDeviceReport.h"

#include "sysinfo/PciDeviceView.h"

namespace solvane::sysinfo {

std::vector<PciDeviceReport> pciDeviceReports(const PciScan& scan, hw::Falwick& pci) {
    std::vector<PciDeviceReport> reports;
    PciDeviceView view(scan, pci);
    for (std::size_t index = 0; index < scan.devices.size(); ++index) {
        PciDeviceReport report;
        report.row = scan.devices[index].row;
        report.nameSource = scan.devices[index].nameSource;
        if (const auto fields = pciRowFields(report.row))
            for (std::size_t column = 0; column < fields->size(); ++column)
                report.listView[column] = (*fields)[column];
        if (view.showRow(static_cast<int>(index)))
            report.header = view.shown()->header;
        reports.push_back(std::move(report));
    }
    return reports;
}

} // namespace solvane::sysinfo
