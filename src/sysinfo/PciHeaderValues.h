#pragma once

#include "sysinfo/PciConfigSpace.h"

#include <array>
#include <string>
#include <string_view>

namespace solvane::sysinfo {

// The nine header values the PCI page shows for a function, in the order the report lists them.
enum class PciHeaderValue {
    VendorId,
    DeviceId,
    RevisionId,
    ClassCode,
    LatencyTimer,
    SubsystemVendorId,
    SubsystemId,
    InterruptLine,
    InterruptPin,
};
inline constexpr std::size_t kPciHeaderValueCount = 9;

// The name of each value as the page captions it (without the colon) and the report keys it.
inline constexpr std::array<std::string_view, kPciHeaderValueCount> kPciHeaderNames{
    "Vendor ID",     "Device ID",    "Revision ID",    "Class Code", "Latency Timer",
    "Sub.Vendor ID", "Subsystem ID", "Int Line (IRQ)", "Int Ping",
};

using PciHeaderTexts = std::array<std::string, kPciHeaderValueCount>;

// The values as the page shows them: "0x8086" for 16-bit fields, "0x0C0320" for the class code,
// "0x0B" for bytes. Indexed by PciHeaderValue.
PciHeaderTexts pciHeaderTexts(const PciRegisters& registers);

} // namespace solvane::sysinfo
