#pragma once

#include "sim/boards/RegisterInventory.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>

namespace solvane::sim {

// The byte registers of one board: its SMBus devices, Super I/O registers, I/O ports and the CMOS bank,
// built from its register tables. A write changes only the register's writable bits; an identification,
// capability or status register ignores writes. The CMOS bank has all 256 bytes, each writable; the
// tables give the power-on value and meaning of the bytes the firmware uses.
class BoardRegisters {
public:
    struct Register {
        RegisterSpec layout;
        std::uint8_t value = 0;
    };
    enum class WriteResult : std::uint8_t { Written, NoRegister, ReadOnly };

    // revision: registers of a later board revision, replacing those at the same address.
    BoardRegisters(std::span<const RegisterTable> tables, RegisterTable revision);

    const Register* find(RegisterBus bus, std::uint16_t unit, std::uint16_t reg) const;
    const Register* find(const RegisterRef& ref) const { return find(ref.bus, ref.unit, ref.reg); }
    // True when a device answers at the SMBus write address device.
    bool hasSmbusDevice(std::uint16_t device) const;
    // True when the board decodes the port.
    bool hasPort(std::uint16_t address) const;

    WriteResult write(RegisterBus bus, std::uint16_t unit, std::uint16_t reg, std::uint8_t value);
    // Sets the whole byte whatever its writable bits (the firmware or a test presetting a strap).
    bool force(RegisterBus bus, std::uint16_t unit, std::uint16_t reg, std::uint8_t value);
    // The byte at ref, 0 when there is no such register.
    std::uint8_t value(const RegisterRef& ref) const;

    // Every register in bus, unit, register order.
    const std::map<std::uint32_t, Register>& all() const { return m_registers; }
    void powerOn();

    static std::uint32_t key(RegisterBus bus, std::uint16_t unit, std::uint16_t reg);

private:
    void add(const RegisterSpec& layout);

    std::map<std::uint32_t, Register> m_registers;
};

} // namespace solvane::sim
