#pragma once

#include <cstdint>
#include <string_view>

namespace solvane::hw {

// The I/O driver's names and control requests. Requests are buffered I/O on device type 0xC350.
namespace zubrik {

inline constexpr std::string_view kDevicePath = "\\\\.\\Zubrik_1_0_5";
inline constexpr std::string_view kServiceName = "Zubrik_1_0_5";
inline constexpr std::string_view kDriverFile32 = "Zubrik.sys";
inline constexpr std::string_view kDriverFile64 = "Zubrik_X64.sys";

// Output: 4 bytes, the number of handles open on the device.
inline constexpr std::uint32_t kOpenCountRequest = 0xC3502004;
// Input: 8 bytes, PCI address (bus << 8 | device << 3 | function) and register offset, both
// unsigned 32-bit. Output: as many configuration bytes as the caller's buffer holds.
inline constexpr std::uint32_t kPciConfigReadRequest = 0xC3506144;
// Input: 16 bytes, unsigned 64-bit physical address, unsigned 32-bit unit size in bytes, unsigned
// 32-bit unit count. Output: unit size × unit count bytes.
inline constexpr std::uint32_t kPhysicalMemoryReadRequest = 0xC3506104;

inline constexpr std::size_t kPciReadInputSize = 8;
inline constexpr std::size_t kMemoryReadInputSize = 16;
// Extended configuration space of one function.
inline constexpr std::uint32_t kPciConfigSpaceSize = 4096;

constexpr std::uint32_t pciAddress(std::uint32_t bus, std::uint32_t device, std::uint32_t function) {
    return (bus & 0xFFU) << 8 | (device & 0x1FU) << 3 | (function & 0x7U);
}

} // namespace zubrik

} // namespace solvane::hw
