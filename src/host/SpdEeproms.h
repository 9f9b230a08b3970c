#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <vector>

namespace solvane::host {

// The memory modules' SPD EEPROMs as the kernel's eeprom drivers show them under
// <sysfs>/bus/i2c/devices ("0-0050/eeprom" and its "name"). Read only, each EEPROM once, at its
// first read.
class SpdEeproms {
public:
    explicit SpdEeproms(const std::filesystem::path& sysfsRoot);

    // The byte at reg of the EEPROM at address (8-bit SMBus address, read or write form); empty when
    // no EEPROM answers there or the driver could not read it.
    std::optional<std::uint8_t> read(std::uint8_t address, std::uint8_t reg);
    // The whole EEPROM at address as its driver reads it (all pages); empty as read() is.
    std::optional<std::vector<std::uint8_t>> image(std::uint8_t address);

    // The EEPROMs found, by 8-bit write address (0xA0, 0xA2, ... 0xAE).
    std::vector<std::uint8_t> addresses() const;

private:
    const std::vector<std::uint8_t>* contents(std::uint8_t address);

    struct Eeprom {
        std::filesystem::path file;
        std::optional<std::vector<std::uint8_t>> contents; // read on first use; empty vector when unreadable
    };

    std::map<std::uint8_t, Eeprom> m_eeproms;
};

} // namespace solvane::host
