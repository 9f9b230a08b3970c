#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace solvane::sim {

// The buses a simulated board's byte registers sit on.
enum class RegisterBus : std::uint8_t {
    Smbus,   // unit: the device's 8-bit write address (even); reg: the register
    SuperIo, // unit: the logical device (ignored below register 0x30, where the chip-wide registers are)
    Port,    // unit: the I/O port; reg: 0
    Cmos,    // unit: 0; reg: the CMOS index behind index port 0x0A05
    Pci,     // unit: bus << 8 | device << 3 | function; reg: the dword offset (only in RegisterRef)
};

// Registers whose value the board produces from its physical state each time they are read.
enum class LiveValue : std::uint8_t {
    None,
    RailCurrent33,   // power monitor current-sense reading of the 3.3 V rail
    RailCurrent12,   // the same for the 12 V rail
    RailCurrent5,    // the same for the 5 V rail
    RailVoltage12,   // rail monitor reading of the 12 V rail
    RailVoltage5,    // rail monitor reading of the 5 V rail
    CpuPhaseLines,   // the CPU regulator's phase-enable lines as GPIO inputs
    CpuActivePhases, // the CPU regulator controller's count of the phases at work
};

inline constexpr std::uint8_t kReadOnly = 0x00;
inline constexpr std::uint8_t kAllBits = 0xFF;

// One byte register of a board. Fields:
//   bus, unit, reg  where the register sits (see RegisterBus);
//   powerOn         its value after power-on (for a live register: the bits the live value leaves alone);
//   writable        the bits a write changes; kReadOnly for identification, capability and status registers;
//   live            whether the board computes the value when it is read;
//   meaning         what its bits do, for the register dump and for people.
struct RegisterSpec {
    RegisterBus bus = RegisterBus::Smbus;
    std::uint16_t unit = 0;
    std::uint16_t reg = 0;
    std::uint8_t powerOn = 0;
    std::uint8_t writable = kReadOnly;
    LiveValue live = LiveValue::None;
    std::string_view meaning = {};
};

constexpr RegisterSpec smbus(std::uint8_t device, std::uint8_t reg, std::uint8_t powerOn,
                             std::uint8_t writable, std::string_view meaning) {
    return {.bus = RegisterBus::Smbus,
            .unit = device,
            .reg = reg,
            .powerOn = powerOn,
            .writable = writable,
            .meaning = meaning};
}

constexpr RegisterSpec liveSmbus(std::uint8_t device, std::uint8_t reg, LiveValue live,
                                 std::string_view meaning) {
    return {.bus = RegisterBus::Smbus, .unit = device, .reg = reg, .live = live, .meaning = meaning};
}

constexpr RegisterSpec superIo(std::uint8_t logicalDevice, std::uint8_t reg, std::uint8_t powerOn,
                               std::uint8_t writable, std::string_view meaning) {
    return {.bus = RegisterBus::SuperIo,
            .unit = logicalDevice,
            .reg = reg,
            .powerOn = powerOn,
            .writable = writable,
            .meaning = meaning};
}

constexpr RegisterSpec liveSuperIo(std::uint8_t logicalDevice, std::uint8_t reg, std::uint8_t powerOn,
                                   LiveValue live, std::string_view meaning) {
    return {.bus = RegisterBus::SuperIo,
            .unit = logicalDevice,
            .reg = reg,
            .powerOn = powerOn,
            .live = live,
            .meaning = meaning};
}

constexpr RegisterSpec port(std::uint16_t address, std::uint8_t powerOn, std::uint8_t writable,
                            std::string_view meaning) {
    return {.bus = RegisterBus::Port,
            .unit = address,
            .powerOn = powerOn,
            .writable = writable,
            .meaning = meaning};
}

constexpr RegisterSpec cmos(std::uint8_t index, std::uint8_t powerOn, std::string_view meaning) {
    return {
        .bus = RegisterBus::Cmos, .reg = index, .powerOn = powerOn, .writable = kAllBits, .meaning = meaning};
}

// A 32-bit register of a PCI function's configuration space that the board routines use. Fields:
//   bus, device, function, reg  the function and the dword offset;
//   powerOn, writable           as for RegisterSpec, 32 bits wide;
//   meaning                     what its bits do.
struct PciRegisterSpec {
    std::uint8_t bus = 0;
    std::uint8_t device = 0;
    std::uint8_t function = 0;
    std::uint8_t reg = 0;
    std::uint32_t powerOn = 0;
    std::uint32_t writable = 0;
    std::string_view meaning = {};
};

// Where a register is, for the board's physical model and for tests.
struct RegisterRef {
    RegisterBus bus = RegisterBus::Smbus;
    std::uint16_t unit = 0;
    std::uint16_t reg = 0;
    friend constexpr bool operator==(const RegisterRef&, const RegisterRef&) = default;
};

constexpr RegisterRef smbusRef(std::uint8_t device, std::uint8_t reg) {
    return {.bus = RegisterBus::Smbus, .unit = device, .reg = reg};
}

constexpr RegisterRef superIoRef(std::uint8_t logicalDevice, std::uint8_t reg) {
    return {.bus = RegisterBus::SuperIo, .unit = logicalDevice, .reg = reg};
}

constexpr RegisterRef portRef(std::uint16_t address) {
    return {.bus = RegisterBus::Port, .unit = address};
}

constexpr RegisterRef pciRef(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg) {
    return {.bus = RegisterBus::Pci,
            .unit = static_cast<std::uint16_t>(bus << 8 | device << 3 | function),
            .reg = reg};
}

// One bit of a register in a given state: set, or clear.
struct BitCondition {
    RegisterRef ref = {};
    std::uint8_t bit = 0;
    bool set = true;
};

using RegisterTable = std::span<const RegisterSpec>;

} // namespace solvane::sim
