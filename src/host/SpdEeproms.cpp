#include "host/SpdEeproms.h"

#include "host/SysfsFile.h"
#include "hw/replay/ReplaySpd.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

namespace solvane::host {

namespace {

// Device names of the kernel drivers that expose an SPD EEPROM as an "eeprom" file.
constexpr std::array<std::string_view, 5> kSpdDeviceNames{
    "ee1004",  // DDR4: 512 bytes in two pages
    "spd5118", // DDR5 hub with its 1024-byte EEPROM
    "eeprom",  // the legacy eeprom driver: DDR3 and older
    "spd",     // at24 bound as an SPD EEPROM: DDR3 and older
    "24c02",   // at24 bound by chip name
};

struct I2cDevice {
    unsigned bus = 0;
    unsigned address = 0; // 7-bit
};

// "0-0050": bus number, a dash and the 7-bit address in four hex digits.
std::optional<I2cDevice> parseI2cDevice(const std::string& name) {
    I2cDevice device;
    char end = 0;
    if (std::sscanf(name.c_str(), "%u-%4x%c", &device.bus, &device.address, &end) != 2)
        return std::nullopt;
    return device;
}

} // namespace

SpdEeproms::SpdEeproms(const std::filesystem::path& sysfsRoot) {
    // The modules sit on one SMBus; should EEPROMs at SPD addresses show on several buses, the one
    // with the lowest number is taken, which is the chipset's own adapter on common boards.
    std::map<unsigned, std::map<std::uint8_t, std::filesystem::path>> buses;
    std::error_code error;
    for (const auto& entry :
         std::filesystem::directory_iterator(sysfsRoot / "bus" / "i2c" / "devices", error)) {
        const auto device = parseI2cDevice(entry.path().filename().string());
        if (!device || device->address < hw::kFirstSpdAddress || device->address > hw::kLastSpdAddress)
            continue;
        const auto name = readSysfsText(entry.path() / "name");
        if (!name ||
            std::find(kSpdDeviceNames.begin(), kSpdDeviceNames.end(), *name) == kSpdDeviceNames.end())
            continue;
        buses[device->bus].emplace(static_cast<std::uint8_t>(device->address << 1), entry.path() / "eeprom");
    }
    if (buses.empty())
        return;
    for (auto& [address, file] : buses.begin()->second)
        m_eeproms.emplace(address, Eeprom{std::move(file), std::nullopt});
}

const std::vector<std::uint8_t>* SpdEeproms::contents(std::uint8_t address) {
    const auto found = m_eeproms.find(static_cast<std::uint8_t>(address & 0xFEU));
    if (found == m_eeproms.end())
        return nullptr;
    auto& eeprom = found->second;
    if (!eeprom.contents)
        eeprom.contents =
            readSysfsBytes(eeprom.file, hw::kSpdMaximumBytes).value_or(std::vector<std::uint8_t>{});
    return &*eeprom.contents;
}

std::optional<std::uint8_t> SpdEeproms::read(std::uint8_t address, std::uint8_t reg) {
    const auto* bytes = contents(address);
    // One SMBus byte read reaches the first 256 bytes, the page a DDR4 EEPROM shows after reset.
    if (bytes == nullptr || reg >= bytes->size())
        return std::nullopt;
    return (*bytes)[reg];
}

std::optional<std::vector<std::uint8_t>> SpdEeproms::image(std::uint8_t address) {
    const auto* bytes = contents(address);
    if (bytes == nullptr || bytes->empty())
        return std::nullopt;
    return *bytes;
}

std::vector<std::uint8_t> SpdEeproms::addresses() const {
    std::vector<std::uint8_t> found;
    for (const auto& [address, eeprom] : m_eeproms)
        found.push_back(address);
    return found;
}

} // namespace solvane::host
