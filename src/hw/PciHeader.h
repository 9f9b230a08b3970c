#pragma once

#include <cstdint>

// The geometry of PCI configuration space and the offsets of its header, for the code that
// enumerates functions, reads their headers, and the simulation that serves them.
namespace solvane::hw::pci {

inline constexpr std::uint8_t kDevicesPerBus = 32;
inline constexpr std::uint8_t kFunctionsPerDevice = 8;

// Offsets in the configuration header (type 0, and type 1 for bridges).
inline constexpr std::uint8_t kVendorId = 0x00;
inline constexpr std::uint8_t kDeviceId = 0x02;
inline constexpr std::uint8_t kCommand = 0x04;
inline constexpr std::uint8_t kStatus = 0x06;
inline constexpr std::uint8_t kClassRevision = 0x08; // revision in the low byte, the class code above it
inline constexpr std::uint8_t kLatencyTimer = 0x0D;
inline constexpr std::uint8_t kHeaderType = 0x0E;
inline constexpr std::uint8_t kBusNumbers = 0x18; // bridges: primary, secondary and subordinate bus
inline constexpr std::uint8_t kSubsystem = 0x2C;  // subsystem vendor, then subsystem device
inline constexpr std::uint8_t kInterruptLine = 0x3C;
inline constexpr std::uint8_t kInterruptPin = 0x3D;

// Base class times 256 plus sub-class of a VGA-compatible display controller.
inline constexpr std::uint16_t kVgaClass = 0x0300;

} // namespace solvane::hw::pci
