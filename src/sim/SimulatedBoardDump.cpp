// Every register of the board with its value and meaning, then its physical state, as text for
// debugging.
#include "sim/SimulatedBoard.h"

#include <cstdio>

namespace solvane::sim {

std::string SimulatedBoard::registerDump() {
    std::string text =
        description() + ", baseboard version " + m_baseboardVersion + ", BIOS " + m_biosVersion + "\n";
    char line[512];
    for (const auto& [key, entry] : m_registers.all()) {
        const auto& layout = entry.layout;
        // Plain CMOS storage at its power-on value says nothing.
        if (layout.bus == RegisterBus::Cmos && layout.meaning == "CMOS storage" &&
            entry.value == layout.powerOn)
            continue;
        const auto value = layout.live == LiveValue::None ? entry.value : liveValue(layout);
        const std::string meaning(layout.meaning);
        switch (layout.bus) {
        case RegisterBus::Smbus:
            std::snprintf(line, sizeof line, "SMBus 0x%02X/0x%02X reg 0x%02X = 0x%02X  %s\n", layout.unit,
                          layout.unit | 1U, layout.reg, value, meaning.c_str());
            break;
        case RegisterBus::SuperIo:
            if (layout.reg < 0x30)
                std::snprintf(line, sizeof line, "Super I/O chip reg 0x%02X = 0x%02X  %s\n", layout.reg,
                              value, meaning.c_str());
            else
                std::snprintf(line, sizeof line, "Super I/O LDN %u reg 0x%02X = 0x%02X  %s\n", layout.unit,
                              layout.reg, value, meaning.c_str());
            break;
        case RegisterBus::Port:
            std::snprintf(line, sizeof line, "port 0x%03X = 0x%02X  %s\n", layout.unit, value,
                          meaning.c_str());
            break;
        case RegisterBus::Cmos:
        case RegisterBus::Pci:
            std::snprintf(line, sizeof line, "CMOS 0x%02X = 0x%02X  %s\n", layout.reg, value,
                          meaning.c_str());
            break;
        }
        text += line;
    }
    for (const auto& reg : m_model.pciRegisters) {
        std::snprintf(line, sizeof line, "PCI %02X:%02X.%u reg 0x%02X = 0x%08X  %s\n", reg.bus, reg.device,
                      reg.function, reg.reg, peek(pciRef(reg.bus, reg.device, reg.function, reg.reg)),
                      std::string(reg.meaning).c_str());
        text += line;
    }
    const auto& state = physics();
    const auto& core = state.regulators[static_cast<std::size_t>(Regulator::CpuCore)];
    std::snprintf(
        line, sizeof line,
        "physics: clock %.0f %%, core %.3f V, CPU %.1f A %.1f W, %d CPU phases, regulator efficiency "
        "%.1f %%, 3.3 V %.3f V %.2f A, 5 V %.3f V %.2f A, 12 V %.3f V %.2f A, CPU %.1f C, board %.1f C, "
        "fan %.0f rpm, power plan %d, throttling %d, SATA %s\n",
        state.clock * 100, state.coreMillivolts / 1000, state.cpuAmps, state.cpuWatts, core.activePhases,
        core.efficiency() * 100, state.rail33Millivolts / 1000, state.rail33Amps,
        state.rail5Millivolts / 1000, state.rail5Amps, state.rail12Millivolts / 1000, state.rail12Amps,
        state.cpuCelsius, state.boardCelsius, state.fanRpm, m_powerMode, m_throttling,
        m_sataEnabled ? "all ports" : "used ports only");
    text += line;
    return text;
}

} // namespace solvane::sim
