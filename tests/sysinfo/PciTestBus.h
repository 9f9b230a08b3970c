#pragma once

#include "hw/HardwareLibraries.h"

#include <array>
#include <cstdint>
#include <map>
#include <tuple>

namespace solvane::sysinfo::test {

// A PCI bus made of configuration spaces set up by the test; everything else reads as absent.
// It counts the reads, so a test can tell which functions were probed.
class PciTestBus final : public hw::Falwick {
public:
    using Config = std::array<std::uint8_t, 256>;
    using Location = std::tuple<int, int, int>;

    // A function with vendor, device, class (base class and sub-class), programming interface and
    // revision; the rest of its configuration space is zero.
    Config& add(int bus, int device, int function, std::uint16_t vendorId, std::uint16_t deviceId,
                std::uint16_t classCode, std::uint8_t programmingInterface = 0, std::uint8_t revision = 0) {
        Config config{};
        put(config, 0x00, vendorId);
        put(config, 0x02, deviceId);
        config[0x08] = revision;
        config[0x09] = programmingInterface;
        put(config, 0x0A, classCode);
        return m_functions[{bus, device, function}] = config;
    }

    static void put(Config& config, std::size_t offset, std::uint16_t value) {
        config[offset] = static_cast<std::uint8_t>(value & 0xFF);
        config[offset + 1] = static_cast<std::uint8_t>(value >> 8);
    }

    std::uint8_t Smbus_ByteRW(std::uint8_t, std::uint8_t, std::uint8_t) override { return 0xFF; }
    std::uint8_t BaseByte_RW(std::uint16_t, std::uint8_t, std::uint8_t) override { return 0xFF; }
    std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                         std::uint32_t, std::uint8_t readFlag) override {
        ++reads;
        if (readFlag != kRead)
            ++writes;
        const auto found = m_functions.find({bus, device, function});
        if (found == m_functions.end() || reg % 4 != 0)
            return kNoDevice;
        const auto& config = found->second;
        return static_cast<std::uint32_t>(config[reg]) | static_cast<std::uint32_t>(config[reg + 1U]) << 8 |
               static_cast<std::uint32_t>(config[reg + 2U]) << 16 |
               static_cast<std::uint32_t>(config[reg + 3U]) << 24;
    }

    int reads = 0;
    int writes = 0;

private:
    std::map<Location, Config> m_functions;
};

} // namespace solvane::sysinfo::test
