#include "sim/PciTopology.h"

#include "hw/PciHeader.h"
#include "sim/images/VideoBiosImage.h"

namespace solvane::sim {

namespace {

using namespace hw::pci;

bool isBridge(std::uint32_t classCode) {
    return (classCode >> 8) == (kPciBridge >> 8);
}

// Host bridges and chipset register functions take no interrupt.
bool takesInterrupt(std::uint32_t classCode) {
    const auto base = classCode >> 16;
    return base != 0x06 && base != 0x08;
}

// The subsystem device id of the board's own functions: its code read as hexadecimal digits.
std::uint16_t boardSubsystem(int code) {
    unsigned value = 0;
    for (unsigned digit = 0, rest = static_cast<unsigned>(code); digit < 4; ++digit, rest /= 10)
        value |= (rest % 10) << (4 * digit);
    return static_cast<std::uint16_t>(value);
}

void addFunction(SimulatedMachine& machine, const PciFunctionSpec& layout, std::uint16_t boardId) {
    const bool bridge = isBridge(layout.classCode);
    auto space = PciConfigSpace::make(layout.vendorId, layout.deviceId, layout.classCode, layout.revision,
                                      bridge ? std::uint8_t{0x01} : std::uint8_t{0x00});
    if (bridge) {
        space.bytes[kBusNumbers] = layout.bus;
        space.bytes[kBusNumbers + 1] = layout.secondaryBus;
        space.bytes[kBusNumbers + 2] = layout.secondaryBus;
    } else {
        space.write16(kSubsystem, layout.addIn ? layout.vendorId : kBoardSubsystemVendor);
        space.write16(kSubsystem + 2, layout.addIn ? layout.deviceId : boardId);
    }
    if (takesInterrupt(layout.classCode)) {
        // Legacy interrupt routing spreads the devices over IRQ 5 to 11.
        space.bytes[kInterruptLine] = static_cast<std::uint8_t>(5 + (layout.device + layout.function) % 7);
        space.bytes[kInterruptPin] = static_cast<std::uint8_t>(1 + layout.function % 4);
    }
    machine.addPciFunction(layout.bus, layout.device, layout.function, space);
}

// Function 0 of a device with further functions says so in its header type.
void markMultiFunctionDevices(SimulatedMachine& machine) {
    std::vector<std::uint32_t> multiFunction;
    for (const auto& [address, space] : machine.pciFunctions())
        if ((address & 7U) != 0)
            multiFunction.push_back(address & ~7U);
    for (const auto address : multiFunction)
        if (auto* first = machine.pciFunction(address >> 8, (address >> 3) & 0x1FU, 0))
            first->bytes[kHeaderType] = static_cast<std::uint8_t>(first->bytes[kHeaderType] | 0x80U);
}

} // namespace

PciLocation graphicsLocation(const BoardModel& board, const GraphicsCard& card) {
    const auto occupied = [&](std::uint8_t bus, std::uint8_t device) {
        for (const auto& block : board.pci)
            for (const auto& layout : block)
                if (layout.bus == bus && layout.device == device)
                    return true;
        return false;
    };
    switch (card.placement) {
    case GraphicsPlacement::IntelIntegrated:
        // Where the chipset uses 0:2 for a root port, the controller sits in the graphics slot.
        if (!occupied(0, 2))
            return {0, 2};
        break;
    case GraphicsPlacement::AmdIntegrated:
        return {1, 5};
    case GraphicsPlacement::Slot:
        break;
    }
    return {board.graphicsBus, 0};
}

void installPciTopology(SimulatedMachine& machine, const BoardModel& board, const GraphicsCard& card) {
    const auto boardId = boardSubsystem(board.code);
    for (const auto& block : board.pci)
        for (const auto& layout : block)
            addFunction(machine, layout, boardId);

    const auto location = graphicsLocation(board, card);
    const bool addIn = card.placement == GraphicsPlacement::Slot;
    addFunction(
        machine,
        {location.bus, location.device, 0, card.vendorId, card.deviceId, 0x030000, card.revision, 0, addIn},
        boardId);
    if (card.secondFunction != 0)
        addFunction(machine,
                    {location.bus, location.device, 1, card.vendorId, card.secondFunction,
                     card.secondFunctionClass, card.revision, 0, addIn},
                    boardId);
    machine.mapMemory(kLegacyVideoBiosAddress, buildVideoBiosImage(card));

    for (const auto& reg : board.pciRegisters)
        if (auto* space = machine.pciFunction(reg.bus, reg.device, reg.function)) {
            space->write32(reg.reg, reg.powerOn);
            space->setWritable32(reg.reg, reg.writable);
        }
    markMultiFunctionDevices(machine);
}

} // namespace solvane::sim
