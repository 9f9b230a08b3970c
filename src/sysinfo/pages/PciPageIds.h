#pragma once

#include "sysinfo/PciHeaderValues.h"

#include <array>

// The ids of the PCI page (dialog 139): its controls, its menus and their commands. Everything that
// names a control of this page, tests included, takes the number from here.
namespace solvane::sysinfo::pages::pci_ids {

inline constexpr int kDialog = 139;

inline constexpr int kDeviceList = 1163;     // list view: "PCI Device", "Bus#", "Dev#", "Func#"
inline constexpr int kDeviceDropDown = 1126; // the device list again, for the configuration-space view

// The configuration-space view.
inline constexpr int kColumnHeading = 1106;
inline constexpr int kRowHeading = 1164;
inline constexpr int kFirstHexRow = 1110; // 1110 to 1125, offsets 0x00 to 0xF0
inline constexpr int kByteWidth = 1107;
inline constexpr int kWordWidth = 1108;
inline constexpr int kDwordWidth = 1109;
inline constexpr int kBusEntry = 1085;
inline constexpr int kDeviceEntry = 1086;
inline constexpr int kFunctionEntry = 1087;
inline constexpr int kApply = 1127;
// The line under the view that says when no function answered; the template has no such control.
inline constexpr int kNoFunctionNote = 1190;

// The header-value labels, by value.
struct HeaderLabel {
    PciHeaderValue value;
    int controlId;
};
inline constexpr std::array<HeaderLabel, kPciHeaderValueCount> kHeaderLabels{{
    {PciHeaderValue::VendorId, 1128},
    {PciHeaderValue::DeviceId, 1129},
    {PciHeaderValue::RevisionId, 1132},
    {PciHeaderValue::ClassCode, 1136},
    {PciHeaderValue::LatencyTimer, 1133},
    {PciHeaderValue::SubsystemVendorId, 1130},
    {PciHeaderValue::SubsystemId, 1131},
    {PciHeaderValue::InterruptLine, 1134},
    {PciHeaderValue::InterruptPin, 1137},
}};

// Menu 263, the list view's right-click menu: its one item "Select".
inline constexpr int kSelectMenu = 263;
inline constexpr int kSelectCommand = 32990; // ours: apart from every other menu command
// Menu 240: the width of the configuration-space view.
inline constexpr int kWidthMenu = 240;
inline constexpr int kByteCommand = 32931;
inline constexpr int kWordCommand = 32932;
inline constexpr int kDwordCommand = 32933;
// Menu 262: the page's view mode.
inline constexpr int kModeMenu = 262;
inline constexpr int kEasyCommand = 32977;
inline constexpr int kExpertCommand = 32978;

} // namespace solvane::sysinfo::pages::pci_ids
