#pragma once

#include <cstdint>
#include <span>

namespace solvane::sim {

// One PCI function of a simulated board. Fields: bus, device, function; vendorId, deviceId;
// classCode (base class << 16 | sub-class << 8 | programming interface); revision; secondaryBus
// (for a bridge the bus behind it, else 0); addIn (a card in a slot, carrying its own subsystem ids
// rather than the board's).
struct PciFunctionSpec {
    std::uint8_t bus = 0;
    std::uint8_t device = 0;
    std::uint8_t function = 0;
    std::uint16_t vendorId = 0;
    std::uint16_t deviceId = 0;
    std::uint32_t classCode = 0;
    std::uint8_t revision = 0;
    std::uint8_t secondaryBus = 0;
    bool addIn = false;
};

using PciBlock = std::span<const PciFunctionSpec>;

// Class codes used by the chipset tables.
inline constexpr std::uint32_t kHostBridge = 0x060000;
inline constexpr std::uint32_t kIsaBridge = 0x060100;
inline constexpr std::uint32_t kPciBridge = 0x060400;
inline constexpr std::uint32_t kSubtractiveBridge = 0x060401;
inline constexpr std::uint32_t kOtherBridge = 0x068000;
inline constexpr std::uint32_t kPic = 0x080000;
inline constexpr std::uint32_t kOtherPeripheral = 0x088000;
inline constexpr std::uint32_t kUhci = 0x0C0300;
inline constexpr std::uint32_t kOhci = 0x0C0310;
inline constexpr std::uint32_t kEhci = 0x0C0320;
inline constexpr std::uint32_t kSmbusController = 0x0C0500;
inline constexpr std::uint32_t kIeee1394 = 0x0C0010;
inline constexpr std::uint32_t kIdeController = 0x01018A;
inline constexpr std::uint32_t kIdeNative = 0x01018F;
inline constexpr std::uint32_t kRaidController = 0x010400;
inline constexpr std::uint32_t kAhci = 0x010601;
inline constexpr std::uint32_t kEthernet = 0x020000;
inline constexpr std::uint32_t kHdAudio = 0x040300;
inline constexpr std::uint32_t kAudioDevice = 0x040100;
inline constexpr std::uint32_t kCoprocessor = 0x0B4000;
inline constexpr std::uint32_t kOtherCommunication = 0x078000;

} // namespace solvane::sim
