#include "sysinfo/MemoryInformation.h"

#include "sysinfo/ByteCodeTable.h"
#include "sysinfo/Ddr3SpdLayout.h"
#include "sysinfo/Ddr4SpdLayout.h"
#include "sysinfo/Ddr5SpdLayout.h"
#include "sysinfo/MemoryDialog.h"

#include <cmath>
#include <cstdio>

namespace solvane::sysinfo {

namespace {

namespace ids = memory_dialog;

constexpr std::uint8_t kReadBit = 1;

// One SMBus byte read reaches 256 bytes: the first page of a DDR4 EEPROM, two pages of a DDR5 one.
constexpr std::size_t kSmbusPageBytes = 256;

constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;

constexpr std::string_view kNoLibraryReason = "the SMBus library is not loaded, so no SPD EEPROM can be read";
constexpr std::string_view kNoModuleReason = "no SPD EEPROM answered at the six slot addresses 0xA0 to 0xAA";

std::string megabytesText(double megabytes) {
    char text[48];
    std::snprintf(text, sizeof text, "%.0f MBytes", megabytes);
    return text;
}

} // namespace

MemoryInformation::MemoryInformation(hw::Hoblin& smbus, SmbusLibrary library, StatusSource status,
                                     SpdImageSource images)
    : m_smbus(smbus), m_library(library), m_status(std::move(status)), m_images(std::move(images)) {}

std::uint8_t MemoryInformation::readSpd(std::uint8_t address, std::uint8_t offset) const {
    return m_smbus.Smbus_JRW(static_cast<std::uint8_t>(address + kReadBit), offset, 0);
}

void MemoryInformation::scanSlots() {
    for (std::size_t row = 0; row < kMemorySlotRows.size(); ++row) {
        const auto slot = memorySlot(row);
        const auto type = readSpd(slot.address, ddr3_spd::kMemoryType);
        const auto density = readSpd(slot.address, ddr3_spd::kDensity);
        const auto organisation = readSpd(slot.address, ddr3_spd::kOrganisation);
        // An absent device reads the same value everywhere.
        if (type == density)
            continue;
        m_modules.push_back(slot);
        if (type != kDdr3TypeCode)
            continue;
        m_ddr3Seen = true;
        if (const auto size = moduleSizeText(density, organisation))
            m_ddr3TotalMegabytes += leadingNumber(*size);
    }
}

bool MemoryInformation::initialise() {
    if (m_library == SmbusLibrary::NotLoaded) {
        refreshStatus();
        return true;
    }
    scanSlots();
    if (m_modules.empty())
        return false;
    showModule(0);
    refreshStatus();
    return true;
}

std::string_view MemoryInformation::noModulesReason() const {
    if (!m_modules.empty())
        return {};
    return m_library == SmbusLibrary::NotLoaded ? kNoLibraryReason : kNoModuleReason;
}

MemoryModuleTexts MemoryInformation::decodeModule(std::size_t index) const {
    const auto address = m_modules.at(index).address;
    const auto type = readSpd(address, ddr3_spd::kMemoryType);
    if (type == ddr4_spd::kTypeCode || type == ddr5_spd::kTypeCode) {
        if (m_images)
            if (auto image = m_images(address))
                return decodeMemoryModule(*image);
        std::vector<std::uint8_t> page(kSmbusPageBytes);
        for (std::size_t offset = 0; offset < page.size(); ++offset)
            page[offset] = readSpd(address, static_cast<std::uint8_t>(offset));
        return decodeMemoryModule(page);
    }
    std::vector<std::uint8_t> spd(ddr3_spd::kDecodedBytes, 0xFF);
    spd[ddr3_spd::kMemoryType] = type;
    if (type == kDdr3TypeCode)
        for (std::size_t offset = 0; offset < spd.size(); ++offset)
            spd[offset] = readSpd(address, static_cast<std::uint8_t>(offset));
    return decodeMemoryModule(spd);
}

bool MemoryInformation::showModule(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_modules.size())
        return false;
    const auto texts = decodeModule(static_cast<std::size_t>(index));
    m_fields[ids::kMemoryType] = texts.memoryType;
    const auto module = texts.pageFields();
    if (!module)
        return true;
    const auto& shown = *module;
    m_fields[ids::kModuleSize] = shown.moduleSize;
    m_fields[ids::kPartNumber] = shown.partNumber;
    m_fields[ids::kSerialNumber] = shown.serialNumber;
    m_fields[ids::kManufacturer] = shown.manufacturer;
    m_fields[ids::kWeekYear] = shown.weekYear;
    for (std::size_t column = 0; column < kTimingColumns; ++column) {
        // A DDR3 module leaves the columns it has no latency for as they were; a DDR4 or DDR5
        // module's table is its own speeds, so what another module showed there is cleared.
        if (!shown.timings[column] && !texts.spd)
            continue;
        for (std::size_t row = 0; row < kTimingRows; ++row)
            m_fields[ids::kTimingFields[row][column]] =
                shown.timings[column] ? (*shown.timings[column])[row] : std::string();
    }
    return true;
}

void MemoryInformation::refreshStatus() {
    const auto status = m_status();
    const double total = m_ddr3Seen ? static_cast<double>(m_ddr3TotalMegabytes)
                                    : std::ceil(static_cast<double>(status.dwTotalPhys) / kBytesPerMegabyte);
    m_fields[ids::kTotalPhysicalMemory] = megabytesText(total);
    m_fields[ids::kMemoryLoad] = std::to_string(status.dwMemoryLoad) + " %";
}

std::optional<std::string> MemoryInformation::field(int controlId) const {
    const auto found = m_fields.find(controlId);
    return found == m_fields.end() ? std::nullopt : std::optional(found->second);
}

} // namespace solvane::sysinfo
