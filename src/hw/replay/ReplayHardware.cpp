#include "hw/replay/ReplayHardware.h"

#include "hw/ByteOrder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace solvane::hw {

namespace {

// What the bus returns where nothing answers.
constexpr std::uint8_t kAbsentByte = 0xFF;

std::uint32_t pciAddressOf(std::uint32_t bus, std::uint32_t device, std::uint32_t function) {
    return bus << 8 | device << 3 | function;
}

// Copies configuration bytes from offset on; bytes the dump does not hold read as absent.
void copyConfig(const std::vector<std::uint8_t>& config, std::uint32_t offset, std::span<std::uint8_t> out) {
    std::fill(out.begin(), out.end(), kAbsentByte);
    if (offset >= config.size())
        return;
    const std::size_t count = std::min(out.size(), config.size() - offset);
    std::copy_n(config.begin() + offset, count, out.begin());
}

} // namespace

ReplayHardware::ReplayHardware(std::unique_ptr<Hardware> inner, const ReplaySources& sources)
    : m_inner(std::move(inner)), m_dmiTable(sources.dmiTable), m_spdImages(sources.spdImages),
      m_pciReplayed(sources.pciFunctions.has_value()) {
    // The libraries address a function by bus, device and function only, so a dump's functions
    // in other PCI domains cannot be reached and are left out.
    if (sources.pciFunctions)
        for (const auto& function : *sources.pciFunctions)
            if (function.domain == 0)
                m_pciFunctions.emplace(pciAddressOf(function.bus, function.device, function.function),
                                       function.config);
}

std::string ReplayHardware::description() const {
    std::string replayed;
    const auto add = [&replayed](bool present, const char* part) {
        if (present)
            replayed += (replayed.empty() ? "" : ", ") + std::string(part);
    };
    add(m_dmiTable.has_value(), "SMBIOS");
    add(!m_spdImages.empty(), "SPD");
    add(m_pciReplayed, "PCI");
    return m_inner->description() + " (" + replayed + " replayed from dumps)";
}

std::optional<std::uint8_t> ReplayHardware::replayedSmbus(std::uint8_t address, std::uint8_t reg) {
    const auto image = m_spdImages.find(static_cast<std::uint8_t>(address & 0xFEU));
    if (image == m_spdImages.end())
        return std::nullopt;
    if ((address & 1U) == 0) {
        ++m_refusedWrites;
        return kAbsentByte;
    }
    return reg < image->second.size() ? image->second[reg] : kAbsentByte;
}

std::optional<std::vector<std::uint8_t>> ReplayHardware::spdImage(std::uint8_t address) {
    const auto image = m_spdImages.find(static_cast<std::uint8_t>(address & 0xFEU));
    if (image == m_spdImages.end())
        return m_inner->spdImage(address);
    return image->second;
}

std::uint8_t ReplayHardware::Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) {
    if (const auto replayed = replayedSmbus(address, reg))
        return *replayed;
    return m_inner->hoblin().Smbus_JRW(address, reg, data);
}

std::uint8_t ReplayHardware::Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) {
    if (const auto replayed = replayedSmbus(address, reg))
        return *replayed;
    return m_inner->falwick().Smbus_ByteRW(address, reg, data);
}

const std::vector<std::uint8_t>* ReplayHardware::pciFunction(std::uint32_t pciAddress) const {
    const auto found = m_pciFunctions.find(pciAddress);
    return found == m_pciFunctions.end() ? nullptr : &found->second;
}

std::uint32_t ReplayHardware::PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function,
                                     std::uint8_t reg, std::uint32_t data, std::uint8_t readFlag) {
    if (!m_pciReplayed)
        return m_inner->falwick().PCI_RW(bus, device, function, reg, data, readFlag);
    if (readFlag != kRead) {
        ++m_refusedWrites;
        return kNoDevice;
    }
    const auto* config =
        device < 32 && function < 8 ? pciFunction(pciAddressOf(bus, device, function)) : nullptr;
    if (config == nullptr)
        return kNoDevice;
    std::array<std::uint8_t, 4> bytes{};
    copyConfig(*config, reg, bytes);
    return readLittleEndian<std::uint32_t>(bytes, 0);
}

void ReplayHardware::readPciConfig(std::uint32_t pciAddress, std::uint32_t offset,
                                   std::span<std::uint8_t> out) {
    if (!m_pciReplayed) {
        m_inner->machine().readPciConfig(pciAddress, offset, out);
        return;
    }
    if (const auto* config = pciFunction(pciAddress))
        copyConfig(*config, offset, out);
    else
        std::fill(out.begin(), out.end(), kAbsentByte);
}

std::uint32_t ReplayHardware::GetDMILength(std::uint32_t* length) {
    if (!m_dmiTable)
        return m_inner->ostrel().GetDMILength(length);
    const auto size = static_cast<std::uint32_t>(m_dmiTable->size());
    if (length != nullptr)
        *length = size;
    return size;
}

bool ReplayHardware::GetDMIData(std::uint8_t* buffer, std::uint32_t size) {
    if (!m_dmiTable)
        return m_inner->ostrel().GetDMIData(buffer, size);
    if (buffer == nullptr)
        return false;
    std::memcpy(buffer, m_dmiTable->data(), std::min<std::size_t>(size, m_dmiTable->size()));
    return true;
}

std::unique_ptr<Hardware> withReplay(std::unique_ptr<Hardware> inner, const ReplaySources& sources) {
    if (sources.empty())
        return inner;
    return std::make_unique<ReplayHardware>(std::move(inner), sources);
}

} // namespace solvane::hw
