#include "sysinfo/PciConfigSpace.h"

#include "hw/TextRow.h"

namespace solvane::sysinfo {

namespace {

constexpr std::uint8_t kLastDevice = 31;
constexpr std::uint8_t kLastFunction = 7;
constexpr std::size_t kAddressDigits = 2;

} // namespace

PciRegisters readPciConfigSpace(hw::Falwick& pci, PciAddress address) {
    PciRegisters registers;
    registers.fill(hw::Falwick::kNoDevice);
    if (address.device > kLastDevice || address.function > kLastFunction)
        return registers;
    for (std::size_t index = 0; index < registers.size(); ++index)
        registers[index] = pci.PCI_RW(address.bus, address.device, address.function,
                                      static_cast<std::uint8_t>(index * 4), 0, hw::Falwick::kRead);
    return registers;
}

bool pciFunctionAnswers(const PciRegisters& registers) {
    return registers[0] != hw::Falwick::kNoDevice;
}

std::uint8_t pciConfigByte(const PciRegisters& registers, std::size_t offset) {
    return static_cast<std::uint8_t>(registers[offset / 4] >> (8 * (offset % 4)));
}

std::optional<std::array<std::string_view, 4>> pciRowFields(std::string_view row) {
    std::array<std::string_view, 4> fields;
    for (auto& field : fields) {
        const auto taken = hw::takeRowField(row);
        if (!taken)
            return std::nullopt;
        field = *taken;
    }
    return fields;
}

std::optional<PciAddress> pciRowAddress(std::string_view row) {
    const auto fields = pciRowFields(row);
    if (!fields)
        return std::nullopt;
    const auto number = [&](std::size_t index) {
        return static_cast<std::uint8_t>(hw::readHexCode((*fields)[index], kAddressDigits));
    };
    return PciAddress{number(1), number(2), number(3)};
}

} // namespace solvane::sysinfo
