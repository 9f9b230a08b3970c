#pragma once

#include "board/PlatformInfo.h"
#include "hw/HardwareLibraries.h"
#include "hw/VideoControllerQuery.h"
#include "sysinfo/BridgeRows.h"
#include "sysinfo/PciPlatformFacts.h"
#include "sysinfo/SuperIoIdentity.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace solvane::sysinfo {

// The single values of the motherboard information page, in the order of their captions below.
enum class MotherboardValue : std::size_t {
    Manufacturer,
    ProductName,
    SerialNumber,
    VendorName, // of the BIOS
    Version,    // of the BIOS
    BuildDate,
    ProcessorName,
    CoreVoltage,
    ExternalClock,
    NumberOfProcessors,
    ProcessorId,
    Family,
    Model,
    Stepping,
    Chipset,     // of the graphics adapter
    BiosVersion, // of the graphics adapter
    DriverVersion,
};
inline constexpr std::size_t kMotherboardValueCount = 17;

// The caption of each value on the page (and its name in the report).
inline constexpr std::array<std::string_view, kMotherboardValueCount> kMotherboardValueCaptions{
    "Manufacturer", "Product Name",   "Serial Number", "Vendor Name",    "Version",
    "Build Date",   "Processor Name", "Core Voltage",  "External Clock", "Number of Processors",
    "Processor ID", "Family",         "Model",         "Stepping",       "Chipset",
    "BIOS Version", "Driver Version",
};
inline constexpr std::string_view kSuperIoCaption = "LPCIO";

// What the graphics library starts the BIOS-version buffer with; still there after the library,
// it sends the page to the graphics BIOS probe.
inline constexpr std::string_view kUnknownGraphicsBios = "Unknown";

// Everything the page shows, as computed once at its initialisation. A value the page leaves
// untouched (family, model and stepping without a processor identifier) is empty.
struct MotherboardInfo {
    std::array<std::optional<std::string>, kMotherboardValueCount> values;
    BridgeRows bridges;
    SuperIoIdentity superIo;

    const std::optional<std::string>& value(MotherboardValue which) const {
        return values[static_cast<std::size_t>(which)];
    }
    std::optional<std::string>& value(MotherboardValue which) {
        return values[static_cast<std::size_t>(which)];
    }
};

// Where the page's values come from.
struct MotherboardSources {
    const power::PlatformInfo& platform;
    const PciPlatformFacts& facts;
    int processorCount;
    bool noDdr3Module;
    std::string coreVoltage; // the power monitor's text; empty without a monitor
    hw::Ostrel& superIo;
    hw::Pexmon& graphicsLibrary;
    const hw::VideoControllerQuery& controllers;
    // Runs the graphics BIOS probe once and gives its version text (empty when it finds nothing).
    std::function<std::string()> probeGraphicsBios;
};

// The page's initialisation without the page: the Super I/O chip, the model name, the bridge rows,
// the firmware strings, the processor fields, and the graphics adapter (the management interface's
// driver version and name, then the graphics library, then the probe when the library left the BIOS
// version unknown). The graphics texts pass through the program's 16-byte buffers: longer ones keep
// their first 15 characters.
MotherboardInfo gatherMotherboardInfo(const MotherboardSources& sources);

// A text as a 16-byte buffer holds it.
std::string fittedToTextBuffer(std::string text);

} // namespace solvane::sysinfo
