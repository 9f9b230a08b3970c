#pragma once

#include "sim/boards/BoardModel.h"
#include "sim/boards/CommonBoardData.h"
#include "sim/boards/PciChipsets.h"

namespace solvane::sim {

// Register maps and hardware of the Intel boards: the regulator-programmed X58 boards 2917, 2916, 2915
// and 2910, the 4-series boards 2918, 2904 and 2908, and the 875P board 2909. Voltage generators take
// one of three offset codes (see VoltageCode): code B (core and VTT: 0x00 nominal, 0xC1-0xD0 lower by
// 20 mV steps, 0x81-0xBF higher by 10 mV steps), code A (reference and I/O hub supplies: 0x41-0x50
// lower by 50 mV steps, 0x01-0x3F higher by 10 mV steps) and code C (memory: 0x81-0x9F lower by
// 10 mV steps, 0x01-0x7F higher by 10 mV steps). LED bits say whether a set bit lights the LED ("on")
// or darkens it ("off").

// Firmware fan duty bytes as the Intel boards' firmware leaves them.
inline constexpr RegisterSpec kCmosFansIntel[] = {
    cmos(kFanDutyA, 0xC8, "fan A (CPU fan) duty, 0x00 stopped to 0xFF full speed"),
    cmos(kFanDutyB, 0xB8, "fan B (system fan) duty"),
    cmos(kFanDutyC, 0xA0, "fan C (system fan) duty"),
    cmos(kFanDutyD, 0xA0, "fan D (power fan) duty"),
};

// Fan duty bytes of the older boards (and of the board of another maker), whose firmware starts every
// fan at full speed.
inline constexpr RegisterSpec kCmosFansLegacy[] = {
    cmos(kFanDutyA, 0xFF, "fan A (CPU fan) duty, 0x00 stopped to 0xFF full speed"),
    cmos(kFanDutyB, 0xFF, "fan B (system fan) duty"),
    cmos(kFanDutyC, 0x80, "fan C (system fan) duty"),
    cmos(kFanDutyD, 0x80, "fan D (power fan) duty"),
};

// The X58 boards' voltage generators come in two wirings. Wiring A (2917, 2915): core at 0x60, VTT
// and IOH at 0x6A, memory at 0x50, data references at 0x68. Wiring B (2916, 2910): VTT at 0x68, memory
// and IOH at 0x50, data references at 0x6A. Both keep the ICH and PLL at 0x64 and the command/address
// references at 0x62.
inline constexpr RegisterSpec kVoltageGeneratorsA[] = {
    smbus(0x60, 0x01, 0x00, kAllBits, "CPU core voltage, code B"),
    smbus(0x6A, 0x01, 0x00, kAllBits, "CPU VTT voltage, code B"),
    smbus(0x6A, 0x02, 0x00, kAllBits, "IOH voltage, code B"),
    smbus(0x64, 0x01, 0x00, kAllBits, "ICH voltage, code A"),
    smbus(0x64, 0x02, 0x00, kAllBits, "CPU PLL voltage, code A"),
    smbus(0x50, 0x01, 0x00, kAllBits, "memory voltage, code C"),
    smbus(0x62, 0x01, 0x00, kAllBits, "memory command/address reference, channel A, code A"),
    smbus(0x62, 0x02, 0x00, kAllBits, "memory command/address reference, channel B, code A"),
    smbus(0x62, 0x03, 0x00, kAllBits, "memory command/address reference, channel C, code A"),
    smbus(0x68, 0x01, 0x00, kAllBits, "memory data reference, channel A, code A"),
    smbus(0x68, 0x02, 0x00, kAllBits, "memory data reference, channel B, code A"),
    smbus(0x68, 0x03, 0x00, kAllBits, "memory data reference, channel C, code A"),
};
inline constexpr VoltageControl kVoltagesWiringA[] = {
    {Regulator::CpuCore, smbusRef(0x60, 0x01), VoltageCode::OffsetB},
    {Regulator::CpuVtt, smbusRef(0x6A, 0x01), VoltageCode::OffsetB},
    {Regulator::Northbridge, smbusRef(0x6A, 0x02), VoltageCode::OffsetB},
    {Regulator::Southbridge, smbusRef(0x64, 0x01), VoltageCode::OffsetA},
    {Regulator::Memory, smbusRef(0x50, 0x01), VoltageCode::OffsetC},
};
inline constexpr RegisterSpec kVoltageGeneratorsB[] = {
    smbus(0x60, 0x01, 0x00, kAllBits, "CPU core voltage, code B"),
    smbus(0x68, 0x01, 0x00, kAllBits, "CPU VTT voltage, code B"),
    smbus(0x50, 0x01, 0x00, kAllBits, "memory voltage, code C"),
    smbus(0x50, 0x02, 0x00, kAllBits, "IOH voltage, code C"),
    smbus(0x64, 0x01, 0x00, kAllBits, "ICH voltage, code A"),
    smbus(0x64, 0x02, 0x00, kAllBits, "CPU PLL voltage, code A"),
    smbus(0x62, 0x01, 0x00, kAllBits, "memory command/address reference, channel A, code A"),
    smbus(0x62, 0x02, 0x00, kAllBits, "memory command/address reference, channel B, code A"),
    smbus(0x62, 0x03, 0x00, kAllBits, "memory command/address reference, channel C, code A"),
    smbus(0x6A, 0x01, 0x00, kAllBits, "memory data reference, channel A, code A"),
    smbus(0x6A, 0x02, 0x00, kAllBits, "memory data reference, channel B, code A"),
    smbus(0x6A, 0x03, 0x00, kAllBits, "memory data reference, channel C, code A"),
};
inline constexpr VoltageControl kVoltagesWiringB[] = {
    {Regulator::CpuCore, smbusRef(0x60, 0x01), VoltageCode::OffsetB},
    {Regulator::CpuVtt, smbusRef(0x68, 0x01), VoltageCode::OffsetB},
    {Regulator::Northbridge, smbusRef(0x50, 0x02), VoltageCode::OffsetC},
    {Regulator::Southbridge, smbusRef(0x64, 0x01), VoltageCode::OffsetA},
    {Regulator::Memory, smbusRef(0x50, 0x01), VoltageCode::OffsetC},
};

// --- 2918: Core 2 with DDR2, regulator controller at 0x30/0x31 ---------------------------------
inline constexpr RegisterSpec kRegisters2918[] = {
    smbus(0x30, 0x01, 0x80, kAllBits,
          "phase control: bit 7 CPU phases held all on, bit 6 memory phases automatic, bit 5 MCH phases "
          "automatic"),
    smbus(0x30, 0x10, 0x3F, kReadOnly,
          "phase options: bits 3-0 nested CPU options, bit 5 second memory option, bit 4 second MCH option"),
    smbus(0x64, 0x01, 0x00, kAllBits, "CPU core voltage, code B"),
    smbus(0x50, 0x01, 0x00, kAllBits, "memory voltage, code C"),
    liveSmbus(0x30, 0x12, LiveValue::CpuActivePhases,
              "active CPU phase count, the controller's own choice when automatic"),
};
inline constexpr VoltageControl kVoltages2918[] = {
    {Regulator::CpuCore, smbusRef(0x64, 0x01), VoltageCode::OffsetB},
    {Regulator::Memory, smbusRef(0x50, 0x01), VoltageCode::OffsetC},
};
inline constexpr PhaseControl kPhases2918[] = {
    {.regulator = Regulator::CpuCore, .forced = {smbusRef(0x30, 0x01), 7, true}},
    {.regulator = Regulator::Memory, .forced = {smbusRef(0x30, 0x01), 6, false}},
    {.regulator = Regulator::Northbridge, .forced = {smbusRef(0x30, 0x01), 5, false}},
};
inline constexpr SensorSlot kSensors2918[] = {
    currentSense(6, 0.001, repeated(0.047), {0.06, 0.06, 0.03, 0.02, 0.015, 0.0122, 0.01}),
};

// --- 2917: X58, six CPU phases on 0x32/0x33, LEDs and QPI phases on 0x34/0x35 -------------------
inline constexpr RegisterSpec kRegisters2917[] = {
    smbus(0x32, 0x01, 0x80, kAllBits,
          "phase control: bit 7 CPU phase count held, bits 4-0 each turn one CPU phase off, bit 6 memory "
          "phases automatic, bit 5 IOH phases automatic"),
    smbus(0x32, 0x10, 0x3F, kReadOnly,
          "phase options: bits 3-0 nested CPU options 2-5, bit 5 second memory option, bit 4 second IOH "
          "option"),
    smbus(0x32, 0x00, 0x08, kReadOnly, "phase options: bit 3 sixth CPU option"),
    smbus(0x34, 0x01, 0x58, kAllBits,
          "LEDs: bit 0 PCI slot off, bits 2-1 PCIe slot off, bit 3 power/standby on, bit 4 IOH phase on, "
          "bit 5 memory phase off, bit 6 QPI phase on"),
    smbus(0x34, 0x11, 0x09, kAllBits,
          "bit 0 CPU phase LED on, bit 2 easy button LED off, bit 3 QPI phase count held"),
    smbus(0x34, 0x10, 0x10, kReadOnly, "phase options: bit 4 second QPI option"),
    liveSmbus(0x32, 0x12, LiveValue::CpuActivePhases,
              "active CPU phase count, the controller's own choice when automatic"),
};
inline constexpr PhaseControl kPhases2917[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {smbusRef(0x32, 0x01), 7, true},
     .shedRegister = smbusRef(0x32, 0x01),
     .shedMask = 0x1F,
     .decode = PhaseDecode::ShedMask},
    {.regulator = Regulator::Memory, .forced = {smbusRef(0x32, 0x01), 6, false}},
    {.regulator = Regulator::Northbridge, .forced = {smbusRef(0x32, 0x01), 5, false}},
    {.regulator = Regulator::CpuVtt, .forced = {smbusRef(0x34, 0x11), 3, true}},
};
inline constexpr SensorSlot kSensors2917[] = {
    currentSense(6, 0.001, repeated(0.0363), {0.054, 0.027, 0.027, 0.0183, 0.0138, 0.0111, 0.0094}),
};

// --- 2916: X58, five CPU phases on 0x32/0x33, LEDs on 0x30/0x31 ---------------------------------
inline constexpr RegisterSpec kRegisters2916[] = {
    smbus(0x32, 0x01, 0x90, kAllBits,
          "phase control: bit 7 CPU phase count held, bits 2-0 each turn one CPU phase off, bit 6 memory "
          "phases automatic, bit 5 IOH phases automatic"),
    smbus(0x32, 0x10, 0x3F, kReadOnly,
          "phase options: bits 3-0 nested CPU options, bit 5 second memory option, bit 4 second IOH option"),
    smbus(0x30, 0x01, 0x08, kAllBits,
          "LEDs: bit 0 PCI slot off, bits 2-1 PCIe slot off, bit 3 power/standby on, bit 4 IOH phase off, "
          "bit 5 memory phase off"),
    smbus(0x30, 0x11, 0x01, kAllBits, "bit 0 CPU phase LED on, bit 2 easy button LED off"),
    liveSmbus(0x32, 0x12, LiveValue::CpuActivePhases,
              "active CPU phase count, the controller's own choice when automatic"),
};
inline constexpr PhaseControl kPhases2916[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {smbusRef(0x32, 0x01), 7, true},
     .shedRegister = smbusRef(0x32, 0x01),
     .shedMask = 0x07,
     .decode = PhaseDecode::ShedMask},
    {.regulator = Regulator::Memory, .forced = {smbusRef(0x32, 0x01), 6, false}},
    {.regulator = Regulator::Northbridge, .forced = {smbusRef(0x32, 0x01), 5, false}},
};
inline constexpr SensorSlot kSensors2916[] = {
    currentSense(6, 0.001, {0.0345, 0.0345, 0.0345, 0.0345, 0.0347, 0.0347, 0.0347},
                 {0.052, 0.052, 0.026, 0.017, 0.0123, 0.01, 0.0085}),
};

// --- 2915: X58, CPU and IOH phases on 0x34/0x35, LEDs, QPI and memory phases on 0x3C/0x3D --------
inline constexpr RegisterSpec kRegisters2915[] = {
    smbus(0x34, 0x01, 0x50, kAllBits,
          "phase control: bit 6 CPU phase count held, bits 3-0 each turn one CPU phase off, bit 5 IOH phases "
          "automatic, bit 4 CPU load-line LED on"),
    smbus(0x34, 0x10, 0x3F, kReadOnly, "phase options: bits 4-0 nested CPU options, bit 5 second IOH option"),
    smbus(0x3C, 0x01, 0xFF, kAllBits,
          "LEDs, each on when set: bit 0 CPU phase, 1 PCI slot, 2 hard disk, 3 power/standby, 4 IOH phase, "
          "5 memory phase, 6 easy button, 7 QPI phase"),
    smbus(0x3C, 0x11, 0x01, kAllBits, "bit 0 QPI phase count held, bit 2 memory phases automatic"),
    smbus(0x3C, 0x10, 0x28, kReadOnly,
          "phase options: bit 3 second QPI option, bit 5 further memory options"),
    liveSmbus(0x34, 0x12, LiveValue::CpuActivePhases,
              "active CPU phase count, the controller's own choice when automatic"),
};
inline constexpr PhaseControl kPhases2915[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {smbusRef(0x34, 0x01), 6, true},
     .shedRegister = smbusRef(0x34, 0x01),
     .shedMask = 0x0F,
     .decode = PhaseDecode::ShedMask},
    {.regulator = Regulator::Northbridge, .forced = {smbusRef(0x34, 0x01), 5, false}},
    {.regulator = Regulator::Memory, .forced = {smbusRef(0x3C, 0x11), 2, false}},
    {.regulator = Regulator::CpuVtt, .forced = {smbusRef(0x3C, 0x11), 0, true}},
};
// This amplifier reads one ampere above the current at its offset: raw = 0.017 + d × (I − 1).
inline constexpr SensorSlot kSensors2915[] = {
    currentSense(6, 0.001, {-0.011, -0.011, -0.011, -0.0015, 0.0032, 0.006, 0.00765},
                 {0.028, 0.028, 0.028, 0.0185, 0.0138, 0.011, 0.00935}),
};

// --- 2910: X58, CPU phases and two LEDs on 0x36/0x37, memory and IOH phases on 0x32/0x33 --------
inline constexpr RegisterSpec kRegisters2910[] = {
    smbus(0x36, 0x01, 0xC0, kAllBits,
          "phase control: bit 7 CPU phase count held, bits 3-0 each turn one CPU phase off, bit 6 CPU phase "
          "LED on, bit 4 easy button LED off"),
    smbus(0x36, 0x10, 0x1F, kReadOnly, "phase options: bits 4-0 nested CPU options"),
    smbus(0x32, 0x01, 0x00, kAllBits,
          "phase control: bit 6 memory phases automatic, bit 5 IOH phases automatic"),
    smbus(0x32, 0x10, 0x30, kReadOnly, "phase options: bit 5 second memory option, bit 4 second IOH option"),
    liveSmbus(0x36, 0x12, LiveValue::CpuActivePhases,
              "active CPU phase count, the controller's own choice when automatic"),
};
inline constexpr PhaseControl kPhases2910[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {smbusRef(0x36, 0x01), 7, true},
     .shedRegister = smbusRef(0x36, 0x01),
     .shedMask = 0x0F,
     .decode = PhaseDecode::ShedMask},
    {.regulator = Regulator::Memory, .forced = {smbusRef(0x32, 0x01), 6, false}},
    {.regulator = Regulator::Northbridge, .forced = {smbusRef(0x32, 0x01), 5, false}},
};
// The older hardware monitor of this board reports the CPU current sense in place of the 3.3 V rail,
// which moves to slot 0, and the regulator's input power (one volt per watt, 8 mV counts) in slot 6.
inline constexpr SensorSlot kSensors2910[] = {
    linear(0, Reading::Rail33, 0.16),
    currentSense(2, 0.008, repeated(0.0153), {0.054, 0.027, 0.027, 0.0183, 0.0136, 0.01104, 0.00926}),
    linear(6, Reading::CpuInputPower, 0.008),
};

// --- 2904: 4-series with GPIO-driven CPU phase switching --------------------------------------
// Before revision 6 the regulator's phase line and the CPU phase LED hang on Super I/O GPIOs; from
// revision 6 on they hang on ICH GPIOs (GPIOBASE 0x480), and the ICH's board-id straps tell them apart.
inline constexpr RegisterSpec kRegisters2904[] = {
    superIo(6, 0xD0, 0x00, kAllBits, "GPIO output enable: bit 0 CPU phase line, bit 1 CPU phase LED line"),
    superIo(6, 0xD1, 0x03, kAllBits,
            "GPIO data: bit 0 CPU phase switching automatic (low: all phases), bit 1 CPU phase LED on"),
    port(0x480, 0x00, kAllBits, "GPIO use select 7-0: bit 2 CPU phase LED line, bit 3 CPU phase line"),
    port(0x481, 0x00, kAllBits, "GPIO use select 15-8"),
    port(0x482, 0x00, kAllBits, "GPIO use select 23-16"),
    port(0x483, 0x1C, kAllBits, "GPIO use select 31-24: bits 4-2 the board-id straps"),
    port(0x484, 0xFF, kAllBits,
         "GPIO direction 7-0, set for input: bit 2 CPU phase LED line, bit 3 CPU phase line"),
    port(0x485, 0xFF, kAllBits, "GPIO direction 15-8"),
    port(0x486, 0xFF, kAllBits, "GPIO direction 23-16"),
    port(0x487, 0xFF, kAllBits, "GPIO direction 31-24"),
    port(0x488, 0x00, kReadOnly, "reserved"),
    port(0x489, 0x00, kReadOnly, "reserved"),
    port(0x48A, 0x00, kReadOnly, "reserved"),
    port(0x48B, 0x00, kReadOnly, "reserved"),
    port(0x48C, 0x0C, kAllBits,
         "GPIO level 7-0: bit 2 CPU phase LED on, bit 3 CPU phase switching automatic"),
    port(0x48D, 0x00, kAllBits, "GPIO level 15-8"),
    port(0x48E, 0x00, kAllBits, "GPIO level 23-16"),
    port(0x48F, 0x0C, 0xE3, "GPIO level 31-24: bits 4-2 board-id straps (0x0C before revision 6)"),
};
inline constexpr RegisterSpec kRevisionRegisters2904[] = {
    port(0x48F, 0x1C, 0xE3, "GPIO level 31-24: bits 4-2 board-id straps (0x1C from revision 6)"),
};
inline constexpr PhaseControl kPhases2904[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {superIoRef(6, 0xD1), 0, false},
     .driven = {{{superIoRef(6, 0xD0), 0, true}}},
     .drivenCount = 1},
};
inline constexpr PhaseControl kRevisionPhases2904[] = {
    {.regulator = Regulator::CpuCore,
     .forced = {portRef(0x48C), 3, false},
     .driven = {{{portRef(0x480), 3, true}, {portRef(0x484), 3, false}}},
     .drivenCount = 2},
};
// Revision 6 moved the core-voltage sensor behind a divider that reads 1/1.09 of the socket voltage.
inline constexpr BoardRevision kRevision2904{"6.", kRevisionRegisters2904, kRevisionPhases2904, 1.0 / 1.09};

// --- 2909: 875P; the regulator reports its active phases on Super I/O GPIO inputs ---------------
inline constexpr RegisterSpec kRegisters2909[] = {
    liveSuperIo(6, 0xC2, 0x00, LiveValue::CpuPhaseLines,
                "GPIO inputs: bits 2-0 CPU phase enables (0x01 one phase, 0x05 two, 0x07 three)"),
};

// --- PCI devices on the boards beyond their chipsets --------------------------------------------
inline constexpr PciFunctionSpec kPci2918[] = {
    {4, 0x00, 0, 0x197B, 0x2368, kIdeController, 0x00},
    {7, 0x00, 0, 0x8086, 0x1229, kEthernet, 0x08, 0, true},
    {7, 0x03, 0, 0x1106, 0x3044, kIeee1394, 0xC0},
};
inline constexpr PciFunctionSpec kPci2917[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {3, 0x00, 0, 0x197B, 0x2363, 0x010185, 0x03},
    {4, 0x00, 0, 0x14E4, 0x1681, kEthernet, 0x01},
    {5, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {6, 0x00, 0, 0x11AB, 0x6121, kIdeNative, 0xB2},
    {7, 0x00, 0, 0x1102, 0x0007, kAudioDevice, 0x0A, 0, true},
    {7, 0x03, 0, 0x1106, 0x3044, kIeee1394, 0xC0},
    {8, 0x00, 0, 0x1969, 0x1026, kEthernet, 0xB0},
    {9, 0x00, 0, 0x1095, 0x3132, kRaidController, 0x01},
};
inline constexpr PciFunctionSpec kPci2916[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {4, 0x00, 0, 0x1106, 0x3403, kIeee1394, 0x01},
    {5, 0x00, 0, 0x197B, 0x2363, 0x010185, 0x03},
};
inline constexpr PciFunctionSpec kPci2915[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {3, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {4, 0x00, 0, 0x197B, 0x2363, 0x010185, 0x03},
    {7, 0x02, 0, 0x104C, 0x8023, kIeee1394, 0x00},
};
inline constexpr PciFunctionSpec kPci2910[] = {
    {2, 0x00, 0, 0x8086, 0x10D3, kEthernet, 0x00},
    {4, 0x00, 0, 0x1095, 0x3132, kRaidController, 0x01},
};
inline constexpr PciFunctionSpec kPci2904[] = {
    {2, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02},
    {4, 0x01, 0, 0x1102, 0x0002, kAudioDevice, 0x08, 0, true},
    {4, 0x02, 0, 0x1106, 0x3044, kIeee1394, 0x80},
};
inline constexpr PciFunctionSpec kPci2908[] = {{4, 0x00, 0, 0x10EC, 0x8168, kEthernet, 0x02}};
inline constexpr PciFunctionSpec kPci2909[] = {
    {2, 0x03, 0, 0x1106, 0x3044, kIeee1394, 0x80},
    {2, 0x05, 0, 0x10EC, 0x8169, kEthernet, 0x10},
};
inline constexpr PciFunctionSpec kPciOtherMaker[] = {{2, 0x00, 0, 0x14E4, 0x1684, kEthernet, 0x10}};

inline constexpr PciBlock kTopology2918[] = {kEaglelakeG43, kIch10, kIch10rLpc, kIch10Network, kPci2918};
inline constexpr PciBlock kTopology2917[] = {kX58Ioh, kIch10, kIch10rLpc, kIch10ExtraPorts, kPci2917};
inline constexpr PciBlock kTopology2916[] = {kX58Ioh, kIch10, kIch10Lpc, kPci2916};
inline constexpr PciBlock kTopology2915[] = {kX58Ioh, kIch10, kIch10rLpc, kPci2915};
inline constexpr PciBlock kTopology2910[] = {kX58Ioh, kIch10, kIch10doLpc, kPci2910};
inline constexpr PciBlock kTopology2904[] = {kEaglelakeG41, kIch7, kPci2904};
inline constexpr PciBlock kTopology2908[] = {kEaglelakeQ45, kIch10, kIch10doLpc, kIch10Network, kPci2908};
inline constexpr PciBlock kTopology2909[] = {kI875p, kIch5, kPci2909};
inline constexpr PciBlock kTopologyOtherMaker[] = {kEaglelakeG41, kIch7, kPciOtherMaker};

// --- Memory the boards ship with ---------------------------------------------------------------
inline constexpr MemoryModule kMemory2918[] = {
    {0, MemoryType::Ddr2, 2048, 2, 800, kGSkill, 0x1A2B3C01},
    {1, MemoryType::Ddr2, 2048, 2, 800, kGSkill, 0x1A2B3C02},
    {2, MemoryType::Ddr2, 2048, 2, 800, kGSkill, 0x1A2B3C03},
    {3, MemoryType::Ddr2, 2048, 2, 800, kGSkill, 0x1A2B3C04},
};
inline constexpr MemoryModule kMemory2917[] = {
    {0, MemoryType::Ddr3, 2048, 2, 1600, kCorsair, 0x0017A001},
    {2, MemoryType::Ddr3, 2048, 2, 1600, kCorsair, 0x0017A002},
    {4, MemoryType::Ddr3, 2048, 2, 1600, kCorsair, 0x0017A003},
};
inline constexpr MemoryModule kMemory2916[] = {
    {0, MemoryType::Ddr3, 1024, 1, 1333, kKingston, 0x5A16E301},
    {2, MemoryType::Ddr3, 1024, 1, 1333, kKingston, 0x5A16E302},
    {4, MemoryType::Ddr3, 1024, 1, 1333, kKingston, 0x5A16E303},
};
inline constexpr MemoryModule kMemory2915[] = {
    {0, MemoryType::Ddr3, 1024, 1, 1066, kSamsung, 0x8C15B001},
    {1, MemoryType::Ddr3, 1024, 1, 1066, kSamsung, 0x8C15B002},
    {2, MemoryType::Ddr3, 1024, 1, 1066, kHynix, 0x0F15C003},
    {3, MemoryType::Ddr3, 1024, 1, 1066, kHynix, 0x0F15C004},
    {4, MemoryType::Ddr3, 1024, 1, 1066, kMicron, 0xDE15D005},
    {5, MemoryType::Ddr3, 1024, 1, 1066, kMicron, 0xDE15D006},
};
inline constexpr MemoryModule kMemory2910[] = {
    {0, MemoryType::Ddr3, 4096, 2, 1333, kGSkill, 0x29100A01},
    {2, MemoryType::Ddr3, 4096, 2, 1333, kGSkill, 0x29100A02},
    {4, MemoryType::Ddr3, 2048, 1, 1333, kCrucial, 0xE910C003},
};
inline constexpr MemoryModule kMemory2904[] = {
    {0, MemoryType::Ddr3, 2048, 2, 1066, kKingston, 0x2904AB01},
    {2, MemoryType::Ddr3, 2048, 2, 1066, kKingston, 0x2904AB02},
};
inline constexpr MemoryModule kMemory2908[] = {
    {0, MemoryType::Ddr2, 1024, 2, 800, kSamsung, 0x77089001},
    {2, MemoryType::Ddr2, 1024, 1, 800, kSamsung, 0x77089002},
};
inline constexpr MemoryModule kMemory2909[] = {
    {0, MemoryType::Ddr, 512, 2, 400, kKingston, 0x09400A01},
    {2, MemoryType::Ddr, 512, 2, 400, kKingston, 0x09400A02},
};
inline constexpr MemoryModule kMemoryOtherMaker[] = {
    {0, MemoryType::Ddr2, 1024, 1, 667, kElpida, 0x00E1D001},
    {2, MemoryType::Ddr2, 1024, 1, 667, kElpida, 0x00E1D002},
};

} // namespace solvane::sim
