#include "support/FakeRegisters.h"

namespace solvane::test {

std::uint8_t FakeRegisters::smbusAccess(const char* bus, std::uint8_t address, std::uint8_t reg,
                                        std::uint8_t data) {
    auto& value = smbusRegister(address, reg);
    if ((address & 1U) != 0)
        return value;
    value = data;
    writes.push_back({bus, address, reg, data});
    return 0;
}

std::uint8_t FakeRegisters::Smbus_JRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) {
    return smbusAccess("smbus", address, reg, data);
}

std::uint8_t FakeRegisters::Smbus_ByteRW(std::uint8_t address, std::uint8_t reg, std::uint8_t data) {
    return smbusAccess("smbus-falwick", address, reg, data);
}

std::uint8_t FakeRegisters::BaseByte_RW(std::uint16_t port, std::uint8_t data, std::uint8_t readFlag) {
    if (readFlag != 0)
        return ports[port];
    ports[port] = data;
    writes.push_back({"port", port, 0, data});
    return 0;
}

std::uint32_t FakeRegisters::PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function,
                                    std::uint8_t reg, std::uint32_t data, std::uint8_t readFlag) {
    if (bus != 0 || device != 24 || function != 3)
        return kNoDevice;
    if (readFlag != 0)
        return northbridge[reg];
    northbridge[reg] = data;
    writes.push_back({"pci", 0xC3, reg, data});
    return 0;
}

std::uint8_t FakeRegisters::Get_EFERs(std::uint16_t, std::uint8_t logicalDevice, std::uint8_t reg,
                                      std::uint8_t data, std::uint8_t readFlag) {
    if (logicalDevice != kBoardControlDevice)
        return 0xFF;
    if (readFlag != 0)
        return sio[reg];
    sio[reg] = data;
    writes.push_back({"sio", logicalDevice, reg, data});
    return 0;
}

std::uint32_t FakeRegisters::GetDMILength(std::uint32_t* length) {
    if (length != nullptr)
        *length = 0;
    return 0;
}

} // namespace solvane::test
