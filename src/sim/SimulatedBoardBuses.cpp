// The board's buses as the libraries reach them: SMBus (with the modules' SPD EEPROMs), I/O ports,
// PCI configuration space, Super I/O, CMOS and the firmware fan registers. Every access is recorded,
// and a write that changes a register is kept.
#include "sim/SimulatedBoard.h"
#include "sim/boards/CommonBoardData.h"

#include <algorithm>
#include <iterator>

namespace solvane::sim {

namespace {

constexpr std::uint16_t kSuperIoConfigPort = hw::Ostrel::kSuperIoConfigPort;
constexpr std::uint16_t kCmosIndexPort = hw::Ostrel::kCmosIndexPort;
constexpr std::uint8_t kFirstSpdDevice = 0xA0;

} // namespace

const SpdImage* SimulatedBoard::spdAt(std::uint8_t device) const {
    if (device < kFirstSpdDevice || device >= kFirstSpdDevice + 2 * kMemorySlots)
        return nullptr;
    const auto& image = m_spd[static_cast<std::size_t>(device - kFirstSpdDevice) / 2];
    return image ? &*image : nullptr;
}

Outcome SimulatedBoard::writeRegister(const RegisterRef& ref, std::uint8_t value) {
    const auto before = m_registers.value(ref);
    switch (m_registers.write(ref.bus, ref.unit, ref.reg, value)) {
    case BoardRegisters::WriteResult::NoRegister:
        return Outcome::NoRegister;
    case BoardRegisters::WriteResult::ReadOnly:
        return Outcome::ReadOnly;
    case BoardRegisters::WriteResult::Written:
        break;
    }
    if (m_registers.value(ref) != before)
        keepState();
    return Outcome::Done;
}

std::uint8_t SimulatedBoard::smbus(BusAccess path, std::uint8_t address, std::uint8_t reg,
                                   std::uint8_t data) {
    const bool read = (address & 1U) != 0;
    const auto device = static_cast<std::uint8_t>(address & 0xFEU);
    Transaction transaction{
        path, read ? Direction::Read : Direction::Write, address, reg, read ? 0U : data, Outcome::Done};
    std::uint8_t result = 0xFF;
    const auto library = path == BusAccess::FalwickSmbus ? Library::Falwick : Library::Hoblin;
    if (!isLoaded(library)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (const auto* spd = spdAt(device)) {
        // The modules' EEPROMs are write-protected.
        if (read)
            result = (*spd)[reg];
        else
            transaction.outcome = Outcome::ReadOnly;
    } else if (!m_registers.hasSmbusDevice(device)) {
        transaction.outcome = Outcome::NoDevice;
    } else if (read) {
        const auto* found = m_registers.find(RegisterBus::Smbus, device, reg);
        if (!found)
            transaction.outcome = Outcome::NoRegister;
        else
            result = found->layout.live == LiveValue::None ? found->value : liveValue(found->layout);
    } else {
        transaction.outcome = writeRegister(smbusRef(device, reg), data);
        result = data;
    }
    if (read)
        transaction.value = result;
    m_log.record(transaction);
    return result;
}

std::uint8_t SimulatedBoard::ioPort(std::uint16_t port, std::uint8_t data, bool read) {
    Transaction transaction{
        BusAccess::Port, read ? Direction::Read : Direction::Write, port, 0, read ? 0U : data, Outcome::Done};
    std::uint8_t result = 0xFF;
    if (!isLoaded(Library::Falwick)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (!m_registers.hasPort(port)) {
        transaction.outcome = Outcome::NoDevice;
    } else if (read) {
        result = m_registers.value(portRef(port));
        transaction.value = result;
    } else {
        transaction.outcome = writeRegister(portRef(port), data);
        result = data;
    }
    m_log.record(transaction);
    return result;
}

std::uint32_t SimulatedBoard::pci(std::uint8_t bus, std::uint8_t device, std::uint8_t function,
                                  std::uint8_t reg, std::uint32_t data, bool read) {
    // Configuration mechanism #1 addresses whole dwords: the low two bits of the offset are ignored.
    const auto offset = static_cast<std::uint8_t>(reg & 0xFCU);
    const auto unit = static_cast<std::uint16_t>((static_cast<unsigned>(bus) << 8U) |
                                                 ((device & 0x1FU) << 3U) | (function & 7U));
    Transaction transaction{
        BusAccess::Pci, read ? Direction::Read : Direction::Write, unit, offset, read ? 0U : data,
        Outcome::Done};
    std::uint32_t result = hw::Falwick::kNoDevice;
    auto* space = device < 32 && function < 8 ? m_machine.pciFunction(bus, device, function) : nullptr;
    if (!isLoaded(Library::Falwick)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (!space) {
        transaction.outcome = Outcome::NoDevice;
    } else if (read) {
        result = space->read32(offset);
        transaction.value = result;
    } else {
        const auto before = space->read32(offset);
        space->writeMasked32(offset, data);
        if (space->read32(offset) != before)
            keepState();
        result = data;
    }
    m_log.record(transaction);
    return result;
}

std::uint8_t SimulatedBoard::superIo(std::uint16_t configPort, std::uint8_t logicalDevice, std::uint8_t reg,
                                     std::uint8_t data, bool read) {
    Transaction transaction{BusAccess::SuperIo, read ? Direction::Read : Direction::Write,
                            logicalDevice,      reg,
                            read ? 0U : data,   Outcome::Done};
    std::uint8_t result = 0xFF;
    const auto* found = m_registers.find(RegisterBus::SuperIo, logicalDevice, reg);
    if (!isLoaded(Library::Ostrel)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (configPort != kSuperIoConfigPort) {
        transaction.outcome = Outcome::WrongPort;
    } else if (!found) {
        transaction.outcome = Outcome::NoRegister;
    } else if (read) {
        result = found->layout.live == LiveValue::None ? found->value : liveValue(found->layout);
        transaction.value = result;
    } else {
        transaction.outcome = writeRegister(superIoRef(logicalDevice, reg), data);
        result = data;
    }
    m_log.record(transaction);
    return result;
}

std::uint8_t SimulatedBoard::readCmos(std::uint8_t index, std::uint16_t indexPort) {
    Transaction transaction{BusAccess::Cmos, Direction::Read, indexPort, index, 0, Outcome::Done};
    std::uint8_t result = 0xFF;
    if (!isLoaded(Library::Ostrel))
        transaction.outcome = Outcome::NotLoaded;
    else if (indexPort != kCmosIndexPort)
        transaction.outcome = Outcome::WrongPort;
    else
        result = m_registers.value({RegisterBus::Cmos, 0, index});
    transaction.value = result;
    m_log.record(transaction);
    return result;
}

void SimulatedBoard::writeCmos(std::uint8_t index, std::uint8_t value, std::uint16_t indexPort) {
    Transaction transaction{BusAccess::Cmos, Direction::Write, indexPort, index, value, Outcome::Done};
    const RegisterRef ref{RegisterBus::Cmos, 0, index};
    if (!isLoaded(Library::Ostrel)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (indexPort != kCmosIndexPort) {
        transaction.outcome = Outcome::WrongPort;
    } else {
        transaction.outcome = writeRegister(ref, value);
    }
    m_log.record(transaction);
}

void SimulatedBoard::fanControl(std::uint8_t reg, std::uint8_t duty) {
    Transaction transaction{BusAccess::FanControl, Direction::Write, 0, reg, duty, Outcome::Done};
    constexpr std::uint8_t kFanRegisters[] = {kFanDutyA, kFanDutyB, kFanDutyC, kFanDutyD};
    const RegisterRef ref{RegisterBus::Cmos, 0, reg};
    if (!isLoaded(Library::Ostrel)) {
        transaction.outcome = Outcome::NotLoaded;
    } else if (std::find(std::begin(kFanRegisters), std::end(kFanRegisters), reg) ==
               std::end(kFanRegisters)) {
        transaction.outcome = Outcome::NoRegister;
    } else {
        transaction.outcome = writeRegister(ref, duty);
    }
    m_log.record(transaction);
}

bool SimulatedBoard::forceRegister(const RegisterRef& ref, std::uint8_t value) {
    if (ref.bus == RegisterBus::Pci) {
        auto* space = m_machine.pciFunction(ref.unit >> 8U, (ref.unit >> 3U) & 0x1FU, ref.unit & 7U);
        if (!space || ref.reg > 0xFF)
            return false;
        space->bytes[ref.reg] = value;
        return true;
    }
    return m_registers.force(ref.bus, ref.unit, ref.reg, value);
}

std::uint32_t SimulatedBoard::peek(const RegisterRef& ref) const {
    if (ref.bus == RegisterBus::Pci) {
        const auto* space = m_machine.pciFunction(ref.unit >> 8U, (ref.unit >> 3U) & 0x1FU, ref.unit & 7U);
        return space && ref.reg <= 0xFC ? space->read32(ref.reg) : hw::Falwick::kNoDevice;
    }
    return m_registers.value(ref);
}

} // namespace solvane::sim
