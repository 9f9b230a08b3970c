#include "sysinfo/MemoryInformation.h"

#include "sysinfo/ByteCodeTable.h"
#include "sysinfo/Ddr3SpdLayout.h"
#include "sysinfo/MemoryDialog.h"

#include <cmath>
#include <cstdio>

namespace solvane::sysinfo {

namespace {

namespace ids = memory_dialog;

constexpr std::uint8_t kReadBit = 1;

constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;

constexpr std::string_view kNoLibraryReason = "the SMBus library is not loaded, so no SPD EEPROM can be read";
constexpr std::string_view kNoModuleReason = "no SPD EEPROM answered at the six slot addresses 0xA0 to 0xAA";

std::string megabytesText(double megabytes) {
    char text[48];
    std::snprintf(text, sizeof text, "%.0f MBytes", megabytes);
    return text;
}

} // namespace

MemoryInformation::MemoryInformation(hw::Hoblin& smbus, SmbusLibrary library, StatusSource status)
    : m_smbus(smbus), m_library(library), m_status(std::move(status)) {}

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
    std::vector<std::uint8_t> spd(ddr3_spd::kDecodedBytes, 0xFF);
    spd[ddr3_spd::kMemoryType] = readSpd(address, ddr3_spd::kMemoryType);
    if (spd[ddr3_spd::kMemoryType] == kDdr3TypeCode)
        for (std::size_t offset = 0; offset < spd.size(); ++offset)
            spd[offset] = readSpd(address, static_cast<std::uint8_t>(offset));
    return decodeMemoryModule(spd);
}

bool MemoryInformation::showModule(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_modules.size())
        return false;
    const auto texts = decodeModule(static_cast<std::size_t>(index));
    m_fields[ids::kMemoryType] = texts.memoryType;
    if (!texts.ddr3)
        return true;
    const auto& ddr3 = *texts.ddr3;
    m_fields[ids::kModuleSize] = ddr3.moduleSize;
    m_fields[ids::kPartNumber] = ddr3.partNumber;
    m_fields[ids::kSerialNumber] = ddr3.serialNumber;
    m_fields[ids::kManufacturer] = ddr3.manufacturer;
    m_fields[ids::kWeekYear] = ddr3.weekYear;
    for (std::size_t column = 0; column < kTimingColumns; ++column) {
        if (!ddr3.timings[column])
            continue;
        for (std::size_t row = 0; row < kTimingRows; ++row)
            m_fields[ids::kTimingFields[row][column]] = (*ddr3.timings[column])[row];
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
