#include "hw/BoardBus.h"

namespace solvane::hw {

namespace {

constexpr std::uint8_t readAddress(std::uint8_t device) {
    return static_cast<std::uint8_t>(device | 0x01);
}

constexpr std::uint8_t writeAddress(std::uint8_t device) {
    return static_cast<std::uint8_t>(device & 0xFE);
}

constexpr std::uint8_t kNorthbridgeBus = 0;
constexpr std::uint8_t kNorthbridgeDevice = 24;
constexpr std::uint8_t kNorthbridgeFunction = 3;

} // namespace

BoardBus::BoardBus(Hoblin& hoblin, Falwick& falwick, Ostrel& ostrel)
    : m_hoblin(hoblin), m_falwick(falwick), m_ostrel(ostrel) {}

std::uint8_t BoardBus::smbusRead(std::uint8_t device, std::uint8_t reg, SmbusPath path) {
    return path == SmbusPath::Falwick ? m_falwick.Smbus_ByteRW(readAddress(device), reg, 0)
                                      : m_hoblin.Smbus_JRW(readAddress(device), reg, 0);
}

void BoardBus::smbusWrite(std::uint8_t device, std::uint8_t reg, std::uint8_t value, SmbusPath path) {
    if (path == SmbusPath::Falwick)
        m_falwick.Smbus_ByteRW(writeAddress(device), reg, value);
    else
        m_hoblin.Smbus_JRW(writeAddress(device), reg, value);
}

void BoardBus::smbusSetBit(std::uint8_t device, std::uint8_t reg, int bit, bool on, SmbusPath path) {
    smbusWrite(device, reg, withBit(smbusRead(device, reg, path), bit, on), path);
}

bool BoardBus::smbusBit(std::uint8_t device, std::uint8_t reg, int bit, SmbusPath path) {
    return bitSet(smbusRead(device, reg, path), bit);
}

std::uint8_t BoardBus::sioRead(std::uint8_t reg) {
    return m_ostrel.Get_EFERs(Ostrel::kSuperIoConfigPort, Ostrel::kBoardControlDevice, reg, 0,
                              Falwick::kRead);
}

void BoardBus::sioWrite(std::uint8_t reg, std::uint8_t value) {
    m_ostrel.Get_EFERs(Ostrel::kSuperIoConfigPort, Ostrel::kBoardControlDevice, reg, value, Falwick::kWrite);
}

void BoardBus::sioSetBit(std::uint8_t reg, int bit, bool on) {
    sioWrite(reg, withBit(sioRead(reg), bit, on));
}

bool BoardBus::sioBit(std::uint8_t reg, int bit) {
    return bitSet(sioRead(reg), bit);
}

std::uint8_t BoardBus::cmosRead(std::uint8_t index) {
    return m_ostrel.GetCmosAddressByte(index, Ostrel::kCmosIndexPort);
}

void BoardBus::cmosWrite(std::uint8_t index, std::uint8_t value) {
    m_ostrel.WriteCmosAddressByte(index, value, Ostrel::kCmosIndexPort);
}

void BoardBus::fanDuty(std::uint8_t reg, std::uint8_t duty) {
    m_ostrel.FanControl(reg, duty, 0);
}

std::uint8_t BoardBus::portRead(std::uint16_t port) {
    return m_falwick.BaseByte_RW(port, 0, Falwick::kRead);
}

void BoardBus::portWrite(std::uint16_t port, std::uint8_t value) {
    m_falwick.BaseByte_RW(port, value, Falwick::kWrite);
}

void BoardBus::portSetBit(std::uint16_t port, int bit, bool on) {
    portWrite(port, withBit(portRead(port), bit, on));
}

bool BoardBus::portBit(std::uint16_t port, int bit) {
    return bitSet(portRead(port), bit);
}

std::uint32_t BoardBus::northbridgeRead(std::uint8_t reg) {
    return m_falwick.PCI_RW(kNorthbridgeBus, kNorthbridgeDevice, kNorthbridgeFunction, reg, 0,
                            Falwick::kRead);
}

void BoardBus::northbridgeWrite(std::uint8_t reg, std::uint32_t value) {
    m_falwick.PCI_RW(kNorthbridgeBus, kNorthbridgeDevice, kNorthbridgeFunction, reg, value, Falwick::kWrite);
}

} // namespace solvane::hw
