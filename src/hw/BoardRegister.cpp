#include "hw/BoardRegister.h"

namespace solvane::hw {

namespace {

std::uint8_t byteAddress(BoardRegister reg) {
    return static_cast<std::uint8_t>(reg.address);
}

std::uint8_t byteOf(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFFU);
}

} // namespace

std::uint32_t readRegister(BoardBus& bus, BoardRegister reg) {
    switch (reg.place) {
    case RegisterPlace::Smbus:
        return bus.smbusRead(reg.device, byteAddress(reg));
    case RegisterPlace::FalwickSmbus:
        return bus.smbusRead(reg.device, byteAddress(reg), SmbusPath::Falwick);
    case RegisterPlace::SuperIo:
        return bus.sioRead(byteAddress(reg));
    case RegisterPlace::Port:
        return bus.portRead(reg.address);
    case RegisterPlace::Northbridge:
        return bus.northbridgeRead(byteAddress(reg));
    }
    return 0;
}

void writeRegister(BoardBus& bus, BoardRegister reg, std::uint32_t value) {
    switch (reg.place) {
    case RegisterPlace::Smbus:
        bus.smbusWrite(reg.device, byteAddress(reg), byteOf(value));
        return;
    case RegisterPlace::FalwickSmbus:
        bus.smbusWrite(reg.device, byteAddress(reg), byteOf(value), SmbusPath::Falwick);
        return;
    case RegisterPlace::SuperIo:
        bus.sioWrite(byteAddress(reg), byteOf(value));
        return;
    case RegisterPlace::Port:
        bus.portWrite(reg.address, byteOf(value));
        return;
    case RegisterPlace::Northbridge:
        bus.northbridgeWrite(byteAddress(reg), value);
        return;
    }
}

bool registerBit(BoardBus& bus, BoardRegister reg, int bit) {
    return bitSet(readRegister(bus, reg), bit);
}

void setRegisterBit(BoardBus& bus, BoardRegister reg, int bit, bool on) {
    const auto value = readRegister(bus, reg);
    const auto mask = 1U << bit;
    writeRegister(bus, reg, on ? value | mask : value & ~mask);
}

} // namespace solvane::hw
