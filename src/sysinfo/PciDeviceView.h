#pragma once

#include "sysinfo/PciEnumeration.h"
#include "sysinfo/PciHeaderValues.h"
#include "sysinfo/PciHexView.h"

#include <optional>

namespace solvane::sysinfo {

// How much of the PCI page a user sees: the header values only, or the configuration-space view too.
enum class PciViewMode { Easy, Expert };

// What the PCI page shows, without the widgets: the device list of the enumeration, the function
// on show with its registers, header values and hex rows, the hex width and the view mode.
class PciDeviceView {
public:
    struct Shown {
        PciAddress address;
        PciRegisters registers{};
        PciHeaderTexts header;
        bool answers = false; // false: no function at that address, every byte reads FF
    };

    PciDeviceView(const PciScan& scan, hw::Falwick& pci) : m_scan(scan), m_pci(pci) {}

    const PciScan& scan() const { return m_scan; }

    // Shows the function of a device-list row; a row outside the list shows nothing and changes
    // nothing (false).
    bool showRow(int index);
    // Shows any function, listed or not (Apply).
    void showFunction(PciAddress address);
    // The device-list index of the function on show, none when it is not listed.
    std::optional<int> shownRow() const;

    const std::optional<Shown>& shown() const { return m_shown; }
    PciHexRows hexRows() const;

    PciHexWidth width() const { return m_width; }
    void setWidth(PciHexWidth width) { m_width = width; }
    PciViewMode mode() const { return m_mode; }
    void setMode(PciViewMode mode) { m_mode = mode; }

private:
    const PciScan& m_scan;
    hw::Falwick& m_pci;
    std::optional<Shown> m_shown;
    PciHexWidth m_width = PciHexWidth::Byte;
    PciViewMode m_mode = PciViewMode::Easy;
};

} // namespace solvane::sysinfo
