#include "hw/GraphicsBiosProbe.h"

#include "hw/ByteOrder.h"
#include "hw/PciHeader.h"
#include "hw/driver/IoDriverProtocol.h"

#include <array>
#include <exception>

namespace solvane::hw {

namespace {

constexpr std::uint32_t kNoFunction = 0xFFFFFFFF;

std::string trimmed(const std::string& text) {
    constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
    const auto first = text.find_first_not_of(kWhiteSpace);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kWhiteSpace) - first + 1);
}

} // namespace

GraphicsBiosProbe::GraphicsBiosProbe(IoDriver* driver, const VideoControllerQuery& controllers)
    : m_driver(driver), m_controllers(controllers) {}

void GraphicsBiosProbe::Run() {
    m_adapterName = trimmed(firstValue(m_controllers, VideoControllerQuery::Property::Name));
    if (m_driver == nullptr)
        return;
    try {
        m_parser = findDisplayController();
        runParser(m_parser);
    } catch (const std::exception&) {
        m_version.clear();
    }
}

std::optional<std::uint32_t> GraphicsBiosProbe::readConfigDword(std::uint32_t pciAddress,
                                                                std::uint32_t offset) {
    std::array<std::uint8_t, 4> bytes{};
    if (!m_driver->ReadPciConfig(pciAddress, offset, bytes.data(), static_cast<std::uint32_t>(bytes.size())))
        return std::nullopt;
    return readLittleEndian<std::uint32_t>(bytes, 0);
}

VideoBiosParser GraphicsBiosProbe::findDisplayController() {
    for (std::uint32_t bus = 0; bus <= kLastBus; ++bus)
        for (std::uint32_t device = 0; device < pci::kDevicesPerBus; ++device)
            for (std::uint32_t function = 0; function < pci::kFunctionsPerDevice; ++function) {
                const auto address = zubrik::pciAddress(bus, device, function);
                // A failed read is no device, like a function that answers all ones.
                const auto classRevision = readConfigDword(address, pci::kClassRevision);
                if (!classRevision || *classRevision == kNoFunction ||
                    (*classRevision >> 16) != pci::kVgaClass)
                    continue;
                const auto ids = readConfigDword(address, pci::kVendorId);
                return ids ? parserForVendor(static_cast<std::uint16_t>(*ids & 0xFFFF))
                           : VideoBiosParser::None;
            }
    return VideoBiosParser::None;
}

std::vector<std::uint32_t> GraphicsBiosProbe::searchMarker(std::string_view marker) {
    std::vector<std::uint32_t> matches;
    std::array<std::uint8_t, kVideoBiosBlockSize> block{};
    for (std::uint32_t address = kVideoBiosWindowStart; address < kVideoBiosWindowEnd;
         address += kVideoBiosBlockSize) {
        if (m_driver->ReadPhysicalMemory(address, block.data(), kVideoBiosBlockSize, 1) !=
            kVideoBiosBlockSize)
            continue;
        const auto found = findMarkerInBlock(block, address, marker);
        matches.insert(matches.end(), found.begin(), found.end());
    }
    return matches;
}

void GraphicsBiosProbe::runParser(VideoBiosParser parser) {
    const auto marker = markerOf(parser);
    if (marker.empty())
        return;
    const auto matches = searchMarker(marker);
    if (matches.empty())
        return;
    std::array<std::uint8_t, kVideoBiosBlockSize> bytes{};
    if (m_driver->ReadPhysicalMemory(matches.front(), bytes.data(), kVideoBiosBlockSize, 1) !=
        kVideoBiosBlockSize)
        return;
    m_version = extractVideoBiosVersion(parser, bytes);
}

} // namespace solvane::hw
