// The board's changed registers kept in the state folder, so the board comes back as it was left.
#include "platform/AtomicFile.h"
#include "sim/SimulatedBoard.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace solvane::sim {

std::vector<StateEntry> SimulatedBoard::changedRegisters() const {
    std::vector<StateEntry> entries;
    for (const auto& [key, entry] : m_registers.all())
        if (entry.layout.writable != kReadOnly && entry.value != entry.layout.powerOn)
            entries.push_back({entry.layout.bus, entry.layout.unit, entry.layout.reg, entry.value});
    for (const auto& reg : m_model.pciRegisters) {
        const auto ref = pciRef(reg.bus, reg.device, reg.function, reg.reg);
        if (reg.writable != 0 && peek(ref) != reg.powerOn)
            entries.push_back({RegisterBus::Pci, ref.unit, ref.reg, peek(ref)});
    }
    return entries;
}

bool SimulatedBoard::applyState(const std::vector<StateEntry>& entries) {
    // Every entry must name a writable register of this board before any is applied.
    for (const auto& entry : entries) {
        if (entry.bus == RegisterBus::Pci) {
            const bool known =
                std::any_of(m_model.pciRegisters.begin(), m_model.pciRegisters.end(), [&](const auto& reg) {
                    return reg.writable != 0 && pciRef(reg.bus, reg.device, reg.function, reg.reg) ==
                                                    RegisterRef{RegisterBus::Pci, entry.unit, entry.reg};
                });
            if (!known ||
                !m_machine.pciFunction(entry.unit >> 8U, (entry.unit >> 3U) & 0x1FU, entry.unit & 7U))
                return false;
        } else {
            const auto* found = m_registers.find(entry.bus, entry.unit, entry.reg);
            if (!found || found->layout.writable == kReadOnly || entry.value > 0xFF)
                return false;
        }
    }
    for (const auto& entry : entries) {
        if (entry.bus == RegisterBus::Pci)
            m_machine.pciFunction(entry.unit >> 8U, (entry.unit >> 3U) & 0x1FU, entry.unit & 7U)
                ->writeMasked32(entry.reg, entry.value);
        else
            m_registers.write(entry.bus, entry.unit, entry.reg, static_cast<std::uint8_t>(entry.value));
    }
    return true;
}

void SimulatedBoard::loadState() {
    if (m_options.stateFolder.empty())
        return;
    const auto path = boardStatePath(m_options.stateFolder, m_model.code);
    const auto read = platform::readKeptFile(path);
    if (read.status == platform::FileRead::Status::Missing)
        return;
    if (read.status == platform::FileRead::Status::Failed) {
        // Left where it is, and never written over in this run.
        m_stateUnwritable = true;
        m_stateProblem = "The simulated board's state cannot be used (" + read.error +
                         "); the board starts from its power-on state and its changes are not kept.";
        return;
    }
    const auto entries = parseBoardState(read.contents, m_model.code);
    if (entries && applyState(*entries))
        return;
    if (!m_options.keepState) {
        m_stateProblem = "The simulated board's state file " + path.string() +
                         " is damaged; the board starts from its power-on state.";
        return;
    }
    // A damaged file is kept aside for inspection, each under its own name, never silently
    // overwritten; the board starts from its power-on state.
    std::string error;
    const auto aside = platform::moveAside(path, ".damaged", error);
    m_stateUnwritable = !aside;
    m_stateProblem =
        "The simulated board's state file " + path.string() +
        " could not be read; the board starts from its power-on state" +
        (aside ? " and the file was kept as " + aside->string() + "."
               : " and its changes are not kept (the file could not be moved aside: " + error + ").");
}

void SimulatedBoard::keepState() {
    if (m_options.stateFolder.empty() || !m_options.keepState || m_stateUnwritable)
        return;
    std::error_code error;
    std::filesystem::create_directories(m_options.stateFolder, error);
    const auto path = boardStatePath(m_options.stateFolder, m_model.code);
    const auto problem =
        platform::writeFileAtomically(path, formatBoardState(m_model.code, changedRegisters()));
    if (!problem.empty())
        m_stateProblem = "The simulated board's state could not be kept: " + problem;
}

} // namespace solvane::sim
