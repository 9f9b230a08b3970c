#pragma once

#include "hw/BoardBus.h"

#include <cstdint>

namespace solvane::hw {

// Where a register sits: on a controller on the SMBus (through Hoblin, or through Falwick's second
// path), in Super I/O logical device 6, at a chipset I/O port, or in the northbridge function.
enum class RegisterPlace : std::uint8_t { Smbus, FalwickSmbus, SuperIo, Port, Northbridge };

// One register as the routines' tables name it. device is the SMBus device (either address of its
// pair); address is the register, the port or the northbridge offset.
struct BoardRegister {
    RegisterPlace place = RegisterPlace::Smbus;
    std::uint8_t device = 0;
    std::uint16_t address = 0;

    friend constexpr bool operator==(BoardRegister, BoardRegister) = default;
};

constexpr BoardRegister smbusRegister(std::uint8_t device, std::uint8_t reg) {
    return {RegisterPlace::Smbus, device, reg};
}
constexpr BoardRegister falwickSmbusRegister(std::uint8_t device, std::uint8_t reg) {
    return {RegisterPlace::FalwickSmbus, device, reg};
}
constexpr BoardRegister superIoRegister(std::uint8_t reg) {
    return {RegisterPlace::SuperIo, 0, reg};
}
constexpr BoardRegister portRegister(std::uint16_t port) {
    return {RegisterPlace::Port, 0, port};
}
constexpr BoardRegister northbridgeRegister(std::uint8_t reg) {
    return {RegisterPlace::Northbridge, 0, reg};
}

// Register access wherever the register sits. The northbridge's registers are 32 bits wide; the
// others take and give a byte.
std::uint32_t readRegister(BoardBus& bus, BoardRegister reg);
void writeRegister(BoardBus& bus, BoardRegister reg, std::uint32_t value);
bool registerBit(BoardBus& bus, BoardRegister reg, int bit);
// Reads the register, sets or clears one bit and writes it back.
void setRegisterBit(BoardBus& bus, BoardRegister reg, int bit, bool on);

} // namespace solvane::hw
