#pragma once

#include "hw/HardwareLibraries.h"

#include <cstdint>

namespace solvane::hw {

// Which library an SMBus access goes through: most devices are reached through Hoblin, a few
// regulator controllers only through Falwick's second SMBus path.
enum class SmbusPath { Hoblin, Falwick };

// Register access in the terms the board routines use. An SMBus device is named by its 8-bit
// address pair: reads go to the odd address, writes to the even one, whichever of the two the
// caller names. "SIO r" is Super I/O register r of logical device 6 at port 0x4E.
class BoardBus {
public:
    BoardBus(Hoblin& hoblin, Falwick& falwick, Ostrel& ostrel);

    std::uint8_t smbusRead(std::uint8_t device, std::uint8_t reg, SmbusPath path = SmbusPath::Hoblin);
    void smbusWrite(std::uint8_t device, std::uint8_t reg, std::uint8_t value,
                    SmbusPath path = SmbusPath::Hoblin);
    // Reads the register, sets or clears one bit and writes it back.
    void smbusSetBit(std::uint8_t device, std::uint8_t reg, int bit, bool on,
                     SmbusPath path = SmbusPath::Hoblin);
    bool smbusBit(std::uint8_t device, std::uint8_t reg, int bit, SmbusPath path = SmbusPath::Hoblin);

    std::uint8_t sioRead(std::uint8_t reg);
    void sioWrite(std::uint8_t reg, std::uint8_t value);
    void sioSetBit(std::uint8_t reg, int bit, bool on);
    bool sioBit(std::uint8_t reg, int bit);

    std::uint8_t portRead(std::uint16_t port);
    void portWrite(std::uint16_t port, std::uint8_t value);
    void portSetBit(std::uint16_t port, int bit, bool on);
    bool portBit(std::uint16_t port, int bit);

    // The CMOS bank behind index port 0x0A05, where the firmware keeps its fan set-up.
    std::uint8_t cmosRead(std::uint8_t index);
    void cmosWrite(std::uint8_t index, std::uint8_t value);
    // Sets the duty byte of one firmware fan register (0xA3, 0xB3, 0xC3 or 0xD3).
    void fanDuty(std::uint8_t reg, std::uint8_t duty);

    // The northbridge function the CPU phase routines use: PCI bus 0, device 24, function 3.
    std::uint32_t northbridgeRead(std::uint8_t reg);
    void northbridgeWrite(std::uint8_t reg, std::uint32_t value);

    Hoblin& hoblin() { return m_hoblin; }
    Falwick& falwick() { return m_falwick; }
    Ostrel& ostrel() { return m_ostrel; }

private:
    Hoblin& m_hoblin;
    Falwick& m_falwick;
    Ostrel& m_ostrel;
};

constexpr std::uint8_t withBit(std::uint8_t value, int bit, bool on) {
    const auto mask = static_cast<std::uint8_t>(1U << bit);
    return on ? static_cast<std::uint8_t>(value | mask) : static_cast<std::uint8_t>(value & ~mask);
}

constexpr bool bitSet(std::uint32_t value, int bit) {
    return ((value >> bit) & 1U) != 0;
}

} // namespace solvane::hw
