#include "sysinfo/PciDeviceView.h"

namespace solvane::sysinfo {

bool PciDeviceView::showRow(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_scan.devices.size())
        return false;
    const auto address = pciRowAddress(m_scan.devices[static_cast<std::size_t>(index)].row);
    if (!address)
        return false;
    showFunction(*address);
    return true;
}

void PciDeviceView::showFunction(PciAddress address) {
    Shown shown;
    shown.address = address;
    shown.registers = readPciConfigSpace(m_pci, address);
    shown.header = pciHeaderTexts(shown.registers);
    shown.answers = pciFunctionAnswers(shown.registers);
    m_shown = std::move(shown);
}

std::optional<int> PciDeviceView::shownRow() const {
    if (!m_shown)
        return std::nullopt;
    for (std::size_t index = 0; index < m_scan.devices.size(); ++index)
        if (pciRowAddress(m_scan.devices[index].row) == m_shown->address)
            return static_cast<int>(index);
    return std::nullopt;
}

PciHexRows PciDeviceView::hexRows() const {
    PciRegisters registers;
    registers.fill(hw::Falwick::kNoDevice);
    return pciHexRows(m_shown ? m_shown->registers : registers, m_width);
}

} // namespace solvane::sysinfo
