#pragma once

#include "sim/boards/BoardModel.h"
#include "sim/boards/CommonBoardData.h"
#include "sim/boards/PciChipsets.h"

namespace solvane::sim {

// Register maps and hardware of the AMD boards. Phase switching sits on Super I/O logical device 6
// (2911, 2907, 2901), on an SMBus controller (2912, and 2906 on the second SMBus path) or in the
// processor's own power control register PCI 0:24:3 0xA0 (2903, 2902, 2905). Voltage generators of
// 2911 take the codes of the Intel boards (see IntelBoards.h); those of 2902 and 2905 take tables of
// their own and level nibbles.

// Firmware fan duty bytes as the AMD boards' firmware leaves them.
inline constexpr RegisterSpec kCmosFansAmd[] = {
    cmos(kFanDutyA, 0x85, "fan A (CPU fan) duty, 0x00 stopped to 0xFF full speed"),
    cmos(kFanDutyB, 0x9F, "fan B (system fan) duty"),
    cmos(kFanDutyC, 0x90, "fan C (system fan) duty"),
    cmos(kFanDutyD, 0x90, "fan D (power fan) duty"),
};

// The processor's power control register: bit 7 lets the regulator shed phases at light load (the
// power-saving indicator); clear, every phase runs.
inline constexpr PhaseControl kPhasesPowerIndicator[] = {
    {.regulator = Regulator::CpuCore, .forced = {pciRef(0, 24, 3, 0xA0), 7, false}},
};
inline constexpr PciRegisterSpec kPciRegistersPowerIndicator[] = {
    {0, 24, 3, 0xA0, 0x00000000, 0x0000FFFF,
     "power control: bit 7 power-saving indicator lets the regulator shed phases"},
};

// --- 2911: phases and LEDs on Super I/O logical device 6, rail monitor at 0x5C/0x5D --------------
inline constexpr RegisterSpec kRegisters2911[] = {
    superIo(6, 0x81, 0x06, kAllBits,
            "phase control: bit 0 CPU phase count held, bits 7 and 5 each turn one CPU phase off (bit 4 set "
            "with them), bit 1 northbridge phases automatic, bit 2 memory phases automatic"),
    superIo(6, 0x82, 0x18, kReadOnly,
            "phase options: bit 3 second memory option, bit 4 second northbridge option"),
    superIo(6, 0xD2, 0x07, kReadOnly, "CPU phase options: bits 2-0 (7: four options)"),
    superIo(6, 0xD1, 0x80, kAllBits, "bit 7 CPU phase LED on"),
    superIo(6, 0xF1, 0x07, kAllBits, "LEDs on: bit 0 power, bit 1 memory phase, bit 2 northbridge phase"),
    smbus(0x60, 0x01, 0x80, kAllBits, "CPU core voltage, code B (0x80: automatic)"),
    smbus(0x60, 0x03, 0x00, kAllBits, "southbridge voltage, code A (0x00: automatic)"),
    smbus(0x64, 0x02, 0x00, kAllBits, "northbridge voltage, code A (0x00: automatic)"),
    smbus(0x50, 0x01, 0x0A, kAllBits, "memory voltage, code C (0x0A: automatic)"),
};
inline constexpr VoltageControl kVoltages2911[] = {
    {Regulator::CpuCore, smbusRef(0x60, 0x01), VoltageCode::OffsetB},
    {Regulator::Southbridge, smbusRef(0x60, 0x03), VoltageCode::OffsetA},
    {Regulator::Northbridge, smbusRef(0x64, 0x02), VoltageCode::OffsetA},
    {Regulator::Memory, smbusRef(0x50, 0x01), VoltageCode::OffsetC},
};
inline constexpr PhaseControl kPhases2911[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {superIoRef(6, 0x81), 0, true},
     .shedRegister = superIoRef(6, 0x81),
     .shedMask = 0xA0,
     .decode = PhaseDecode::ShedMask},
    {.regulator = Regulator::Memory, .forced = {superIoRef(6, 0x81), 2, false}},
    {.regulator = Regulator::Northbridge, .forced = {superIoRef(6, 0x81), 1, false}},
};
// The board's hardware monitor reports the 3.3 V rail behind its 1/16 divider in 10 uV steps in slot 0, the
// core voltage twice in 8 mV counts, and three CPU senses: the phase-dependent current sense (8 units per
// count, milliampere gain), the fixed one (8 mV counts) and the 12 V input current in amperes.
inline constexpr SensorSlot kSensors2911[] = {
    linear(0, Reading::Rail33, 0.16),
    linear(2, Reading::CoreVoltage, 8.0),
    currentSense(4, 8.0, repeated(0.1448), {17.0, 17.0, 17.5, 17.8, 17.8, 17.8, 17.8}),
    currentSense(5, 0.008, repeated(0.013), repeated(0.0091)),
    linear(6, Reading::CpuInputCurrent, 1.0),
};

// --- 2907: phases on Super I/O logical device 6 like 2911, one LED -------------------------------
inline constexpr RegisterSpec kRegisters2907[] = {
    superIo(6, 0x81, 0x00, kAllBits,
            "phase control: bit 0 CPU phase count held, bits 7 and 5 each turn one CPU phase off (bit 4 set "
            "with them)"),
    superIo(6, 0xD2, 0x07, kReadOnly, "CPU phase options: bits 2-0 (7: four options)"),
    superIo(6, 0xD1, 0x80, kAllBits, "bit 7 CPU phase LED on"),
};
inline constexpr PhaseControl kPhases2907[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {superIoRef(6, 0x81), 0, true},
     .shedRegister = superIoRef(6, 0x81),
     .shedMask = 0xA0,
     .decode = PhaseDecode::ShedMask},
};

// --- 2912: CPU phases on the SMBus controller at 0x30/0x31 --------------------------------------
inline constexpr RegisterSpec kRegisters2912[] = {
    smbus(0x30, 0x11, 0x00, kAllBits, "bit 3 CPU phase count held, bit 5 CPU phase LED off"),
    smbus(0x30, 0x01, 0x00, kAllBits, "CPU phases turned off while held: code 0 none, 4 one, 5 two"),
    smbus(0x30, 0x10, 0x07, kReadOnly, "CPU phase options: bits 2-0 (7: four options)"),
};
inline constexpr PhaseControl kPhases2912[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {smbusRef(0x30, 0x11), 3, true},
     .shedRegister = smbusRef(0x30, 0x01),
     .shedMask = 0x07,
     .decode = PhaseDecode::ShedCode},
};
// The board reports the CPU's power in slot 6, in 80 mW counts.
inline constexpr SensorSlot kSensors2912[] = {linear(6, Reading::CpuPower, 0.08)};

// --- 2906: CPU phase switch on the controller at 0x30/0x31, reached through the second SMBus path --
inline constexpr RegisterSpec kRegisters2906[] = {
    smbus(0x30, 0x11, 0x20, kAllBits, "bit 3 CPU phase switching off (all phases), bit 5 CPU phase LED on"),
};
inline constexpr PhaseControl kPhases2906[] = {
    {.regulator = Regulator::CpuCore, .forced = {smbusRef(0x30, 0x11), 3, true}},
};

// --- 2903: power-saving indicator in PCI 0:24:3, LED on a Super I/O GPIO -------------------------
inline constexpr RegisterSpec kRegisters2903[] = {
    superIo(6, 0xB0, 0x04, kAllBits, "GPIO output enable: bit 2 CPU phase LED line"),
    superIo(6, 0xB1, 0x04, kAllBits, "GPIO data: bit 2 CPU phase LED on"),
};

// --- 2902 and 2905: power-saving indicator in PCI 0:24:3, voltage generators with own codes -----
inline constexpr RegisterSpec kRegisters2902[] = {
    superIo(6, 0xE0, 0x02, kAllBits, "GPIO output enable: bit 1 CPU phase LED line"),
    superIo(6, 0xE1, 0x08, kAllBits, "GPIO data: bit 3 CPU phase LED on"),
    smbus(0x60, 0x02, 0x00, kAllBits, "CPU core voltage, AMD core code (0x00: the CPU's base voltage)"),
    smbus(0x60, 0x01, 0x46, kAllBits, "VTT voltage, AMD VTT code (0x46: 1.265 V)"),
    smbus(0x50, 0x01, 0x00, kAllBits, "bits 7-4 memory voltage level, bits 3-0 southbridge voltage level"),
    smbus(0x50, 0x02, 0x00, kAllBits, "bits 3-0 northbridge voltage level (the memory reference follows it)"),
};
inline constexpr std::int16_t kMemoryLevels2902[] = {1450, 1500, 1550, 1590, 1630, 1670, 1710, 1760,
                                                     1840, 1920, 2000, 2090, 2160, 2260, 2420};
inline constexpr std::int16_t kSouthbridgeLevels2902[] = {1185, 1200, 1213, 1225, 1249, 1273,
                                                          1297, 1321, 1345, 1369, 1393, 1417};
inline constexpr std::int16_t kNorthbridgeLevels2902[] = {1075, 1108, 1131, 1154, 1177, 1200, 1223, 1246,
                                                          1269, 1292, 1314, 1337, 1360, 1383, 1405};
inline constexpr VoltageControl kVoltages2902[] = {
    {Regulator::CpuCore, smbusRef(0x60, 0x02), VoltageCode::AmdCoreTable},
    {Regulator::CpuVtt, smbusRef(0x60, 0x01), VoltageCode::AmdVttTable},
    {Regulator::Memory, smbusRef(0x50, 0x01), VoltageCode::LevelHighNibble, kMemoryLevels2902},
    {Regulator::Southbridge, smbusRef(0x50, 0x01), VoltageCode::LevelLowNibble, kSouthbridgeLevels2902},
    {Regulator::Northbridge, smbusRef(0x50, 0x02), VoltageCode::LevelLowNibble, kNorthbridgeLevels2902},
};
// Bits 13-12 of 0xE8 report the processor's base core voltage: 1 for 1.24 V, otherwise 1.34 V.
inline constexpr PciRegisterSpec kPciRegisters2902[] = {
    kPciRegistersPowerIndicator[0],
    {0, 24, 3, 0xE8, 0x00000000, 0x00000000,
     "northbridge capabilities: bits 13-12 base core voltage (0: 1.34 V)"},
};
inline constexpr PciRegisterSpec kPciRegisters2905[] = {
    kPciRegistersPowerIndicator[0],
    {0, 24, 3, 0xE8, 0x00001000, 0x00000000,
     "northbridge capabilities: bits 13-12 base core voltage (1: 1.24 V)"},
};

// --- 2901: CPU phase line on a Super I/O GPIO; the phase LED is wired to it ----------------------
inline constexpr RegisterSpec kRegisters2901[] = {
    superIo(6, 0xD0, 0x00, kAllBits, "GPIO output enable: bit 0 CPU phase line"),
    superIo(6, 0xD1, 0x01, kAllBits,
            "GPIO data: bit 0 CPU phase switching automatic (low: all phases, CPU phase LED lit)"),
};
inline constexpr PhaseControl kPhases2901[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {superIoRef(6, 0xD1), 0, false},
     .driven = {{{superIoRef(6, 0xD0), 0, true}}},
     .drivenCount = 1},
};

// --- PCI devices on the boards beyond their chipsets --------------------------------------------
inline constexpr PciFunctionSpec kPci2911[] = {{2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x03}};
inline constexpr PciFunctionSpec kPci2912[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x03},
    {3, 0x0E, 0, 0x1106, 0x3044, kIeee1394, 0xC0},
};
inline constexpr PciFunctionSpec kPci2907[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {3, 0x00, 0, 0x14E4, 0x4401, kEthernet, 0x01, 0, true},
    {3, 0x0E, 0, 0x1106, 0x3044, kIeee1394, 0xC0},
};
inline constexpr PciFunctionSpec kPci2906[] = {
    {1, 0x01, 0, 0x13F6, 0x8788, kAudioDevice, 0x00, 0, true},
    {1, 0x0B, 0, 0x1106, 0x3044, kIeee1394, 0xC0},
};
inline constexpr PciFunctionSpec kPci2903[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {3, 0x0E, 0, 0x1106, 0x3044, kIeee1394, 0xC0},
};
inline constexpr PciFunctionSpec kPci2902[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {4, 0x00, 0, 0x197B, 0x2363, 0x010185, 0x03},
};
inline constexpr PciFunctionSpec kPci2905[] = {
    {3, 0x00, 0, 0x1102, 0x0007, kAudioDevice, 0x0A, 0, true},
    {3, 0x0E, 0, 0x104C, 0x8024, kIeee1394, 0x00},
};
inline constexpr PciFunctionSpec kPci2901[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x01},
    {3, 0x0E, 0, 0x1106, 0x3044, kIeee1394, 0x80},
};

inline constexpr PciBlock kTopology2911[] = {kAmdRs880Host, kAmdIgpPorts,     kSb7x0,
                                             kSb7x0Lpc,     kAmdFamily10Node, kPci2911};
inline constexpr PciBlock kTopology2912[] = {kAmd790fxHost, kAmd7SeriesPorts, kSb7x0,
                                             kSb7x0Lpc,     kAmdFamily10Node, kPci2912};
inline constexpr PciBlock kTopology2907[] = {kAmdRs780Host,  kAmdIgpPorts,     kSb7x0,
                                             kSb7x0LpcAmdId, kAmdFamily10Node, kPci2907};
inline constexpr PciBlock kTopology2906[] = {kMcp72, kAmdFamily0FNode, kPci2906};
inline constexpr PciBlock kTopology2903[] = {kAmd790xHost, kAmd7SeriesPorts, kSb7x0,
                                             kSb7x0Lpc,    kAmdFamily10Node, kPci2903};
inline constexpr PciBlock kTopology2902[] = {kAmdRd770Host, kAmd7SeriesPorts, kSb7x0,
                                             kSb7x0Lpc,     kAmdFamily10Node, kPci2902};
inline constexpr PciBlock kTopology2905[] = {kAmd790fxHost, kAmd7SeriesPorts, kSb7x0,
                                             kSb7x0Lpc,     kAmdFamily10Node, kPci2905};
inline constexpr PciBlock kTopology2901[] = {kAmdRs690, kSb600, kAmdFamily0FNode, kPci2901};

// --- Memory the boards ship with ---------------------------------------------------------------
inline constexpr MemoryModule kMemory2911[] = {
    {0, MemoryType::Ddr3, 2048, 2, 1333, kKingston, 0x29110B01},
    {1, MemoryType::Ddr3, 512, 1, 1066, kElpida, 0x00E2F102},
    {2, MemoryType::Ddr3, 2048, 2, 1333, kKingston, 0x29110B03},
};
inline constexpr MemoryModule kMemory2912[] = {
    {0, MemoryType::Ddr3, 1024, 1, 1333, kCrucial, 0xC1912001},
    {1, MemoryType::Ddr3, 1024, 1, 1333, kCrucial, 0xC1912002},
    {2, MemoryType::Ddr3, 1024, 1, 1333, kCrucial, 0xC1912003},
    {3, MemoryType::Ddr3, 1024, 1, 1333, kCrucial, 0xC1912004},
};
inline constexpr MemoryModule kMemory2907[] = {
    {0, MemoryType::Ddr3, 2048, 1, 1333, kSamsung, 0x8E290701},
    {2, MemoryType::Ddr3, 2048, 1, 1333, kSamsung, 0x8E290702},
};
inline constexpr MemoryModule kMemory2906[] = {
    {0, MemoryType::Ddr2, 1024, 1, 1066, kCorsair, 0x00290601},
    {2, MemoryType::Ddr2, 1024, 1, 1066, kCorsair, 0x00290602},
};
inline constexpr MemoryModule kMemory2903[] = {
    {0, MemoryType::Ddr2, 2048, 2, 800, kMicron, 0xD2903A01},
    {1, MemoryType::Ddr2, 1024, 1, 800, kHynix, 0x4F2903B2},
    {2, MemoryType::Ddr2, 1024, 1, 800, kHynix, 0x4F2903B3},
};
inline constexpr MemoryModule kMemory2902[] = {
    {0, MemoryType::Ddr2, 2048, 2, 800, kCrucial, 0xC2902001},
    {2, MemoryType::Ddr2, 2048, 2, 800, kCrucial, 0xC2902002},
};
inline constexpr MemoryModule kMemory2905[] = {
    {0, MemoryType::Ddr3, 1024, 2, 1066, kHynix, 0x4F290501},
    {2, MemoryType::Ddr3, 1024, 2, 1066, kHynix, 0x4F290502},
};
inline constexpr MemoryModule kMemory2901[] = {{0, MemoryType::Ddr2, 1024, 2, 667, kSamsung, 0x8E290101}};

} // namespace solvane::sim
