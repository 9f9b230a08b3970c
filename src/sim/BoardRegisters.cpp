#include "sim/BoardRegisters.h"

namespace solvane::sim {

namespace {

// Super I/O registers below 0x30 are chip-wide: every logical device sees the same ones.
constexpr std::uint16_t kFirstLogicalDeviceRegister = 0x30;
constexpr std::size_t kCmosSize = 256;

std::uint16_t normalisedUnit(RegisterBus bus, std::uint16_t unit, std::uint16_t reg) {
    if (bus == RegisterBus::SuperIo && reg < kFirstLogicalDeviceRegister)
        return 0;
    if (bus == RegisterBus::Cmos)
        return 0;
    return unit;
}

} // namespace

std::uint32_t BoardRegisters::key(RegisterBus bus, std::uint16_t unit, std::uint16_t reg) {
    return static_cast<std::uint32_t>(bus) << 24 |
           static_cast<std::uint32_t>(normalisedUnit(bus, unit, reg)) << 8 | (reg & 0xFFU);
}

BoardRegisters::BoardRegisters(std::span<const RegisterTable> tables, RegisterTable revision) {
    for (std::size_t index = 0; index < kCmosSize; ++index)
        add(cmos(static_cast<std::uint8_t>(index), 0x00, "CMOS storage"));
    for (const auto& table : tables)
        for (const auto& layout : table)
            add(layout);
    for (const auto& layout : revision)
        add(layout);
}

void BoardRegisters::add(const RegisterSpec& layout) {
    auto normalised = layout;
    normalised.unit = normalisedUnit(layout.bus, layout.unit, layout.reg);
    m_registers.insert_or_assign(key(layout.bus, layout.unit, layout.reg),
                                 Register{normalised, layout.powerOn});
}

const BoardRegisters::Register* BoardRegisters::find(RegisterBus bus, std::uint16_t unit,
                                                     std::uint16_t reg) const {
    if (reg > 0xFF)
        return nullptr;
    const auto found = m_registers.find(key(bus, unit, reg));
    return found == m_registers.end() ? nullptr : &found->second;
}

bool BoardRegisters::hasSmbusDevice(std::uint16_t device) const {
    const auto first = m_registers.lower_bound(key(RegisterBus::Smbus, device, 0));
    return first != m_registers.end() && first->second.layout.bus == RegisterBus::Smbus &&
           first->second.layout.unit == device;
}

bool BoardRegisters::hasPort(std::uint16_t address) const {
    return find(RegisterBus::Port, address, 0) != nullptr;
}

BoardRegisters::WriteResult BoardRegisters::write(RegisterBus bus, std::uint16_t unit, std::uint16_t reg,
                                                  std::uint8_t value) {
    if (reg > 0xFF)
        return WriteResult::NoRegister;
    const auto found = m_registers.find(key(bus, unit, reg));
    if (found == m_registers.end())
        return WriteResult::NoRegister;
    auto& target = found->second;
    if (target.layout.writable == kReadOnly)
        return WriteResult::ReadOnly;
    target.value = static_cast<std::uint8_t>((target.value & ~target.layout.writable) |
                                             (value & target.layout.writable));
    return WriteResult::Written;
}

bool BoardRegisters::force(RegisterBus bus, std::uint16_t unit, std::uint16_t reg, std::uint8_t value) {
    if (reg > 0xFF)
        return false;
    const auto found = m_registers.find(key(bus, unit, reg));
    if (found == m_registers.end())
        return false;
    found->second.value = value;
    return true;
}

std::uint8_t BoardRegisters::value(const RegisterRef& ref) const {
    const auto* found = find(ref);
    return found ? found->value : std::uint8_t{0};
}

void BoardRegisters::powerOn() {
    for (auto& [key, entry] : m_registers)
        entry.value = entry.layout.powerOn;
}

} // namespace solvane::sim
