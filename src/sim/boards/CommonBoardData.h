#pragma once

#include "sim/boards/RegisterInventory.h"
#include "sim/physics/SensorCalibration.h"

namespace solvane::sim {

// Registers every simulated board shares, and the sensor layouts of the two sensor-library kinds.

// Super I/O chip identification: chip-wide registers, read through logical device 4 at port 0x4E.
// 0x20/0x21: chip id low/high byte; 0x23/0x24: vendor id high/low byte (0x1934 for the Fintek parts).
inline constexpr RegisterSpec kSuperIoF71882[] = {
    superIo(4, 0x20, 0x05, kReadOnly, "chip id, low byte (0x4105: F71882FG)"),
    superIo(4, 0x21, 0x41, kReadOnly, "chip id, high byte"),
    superIo(4, 0x23, 0x19, kReadOnly, "vendor id, high byte (0x1934: Fintek)"),
    superIo(4, 0x24, 0x34, kReadOnly, "vendor id, low byte"),
};
inline constexpr RegisterSpec kSuperIoF71889[] = {
    superIo(4, 0x20, 0x07, kReadOnly, "chip id, low byte (0x2307: F71889F)"),
    superIo(4, 0x21, 0x23, kReadOnly, "chip id, high byte"),
    superIo(4, 0x23, 0x19, kReadOnly, "vendor id, high byte (0x1934: Fintek)"),
    superIo(4, 0x24, 0x34, kReadOnly, "vendor id, low byte"),
};
// A Fintek part the program has no name for.
inline constexpr RegisterSpec kSuperIoF71862[] = {
    superIo(4, 0x20, 0x01, kReadOnly, "chip id, low byte (0x0601: F71862FG)"),
    superIo(4, 0x21, 0x06, kReadOnly, "chip id, high byte"),
    superIo(4, 0x23, 0x19, kReadOnly, "vendor id, high byte (0x1934: Fintek)"),
    superIo(4, 0x24, 0x34, kReadOnly, "vendor id, low byte"),
};
// A chip of another maker, which keeps no vendor id at 0x23/0x24.
inline constexpr RegisterSpec kSuperIoOtherMaker[] = {
    superIo(4, 0x20, 0x87, kReadOnly, "chip id, high byte (0x8718)"),
    superIo(4, 0x21, 0x18, kReadOnly, "chip id, low byte"),
    superIo(4, 0x23, 0x00, kReadOnly, "reserved"),
    superIo(4, 0x24, 0x00, kReadOnly, "reserved"),
};

// Firmware fan control in the CMOS bank behind index port 0x0A05. Fan A is the CPU fan (the one the
// sensor library reports), B to D are system fans.
inline constexpr std::uint8_t kFanModeByte = 0x94;
inline constexpr std::uint8_t kFanUnlockByte = 0x96;
inline constexpr std::uint8_t kFanDutyA = 0xA3;
inline constexpr std::uint8_t kFanDutyB = 0xB3;
inline constexpr std::uint8_t kFanDutyC = 0xC3;
inline constexpr std::uint8_t kFanDutyD = 0xD3;
inline constexpr std::uint8_t kFanManualMode = 0x04;   // fan-mode bit 2: fan A follows its duty byte
inline constexpr std::uint8_t kFanCurveMode = 0x01;    // fan-mode bit 0: firmware temperature curve
inline constexpr std::uint8_t kFanUnlockA = 0x02;      // unlock bit 1: fan A duty byte takes effect
inline constexpr std::uint8_t kFanUnlockOthers = 0x08; // unlock bit 3: fan B-D duty bytes take effect

// Power-on values of the duty bytes differ per board (what its firmware last programmed), so each board
// family lists its own fan bytes; the mode bytes are the same everywhere.
inline constexpr RegisterSpec kCmosFanMode[] = {
    cmos(kFanModeByte, 0x01,
         "fan mode: bit 0 firmware temperature curve on fan A, bit 2 fan A runs at its duty byte"),
    cmos(kFanUnlockByte, 0x00,
         "fan unlock: bit 1 fan A duty byte in effect, bit 3 fan B-D duty bytes in effect"),
};

// The power monitor on the SMBus at 0x5A/0x5B: identification 0xA3 at register 0x4C and one
// current-sense reading per rail (8 mV per count across the sense amplifier).
inline constexpr std::uint8_t kPowerMonitorDevice = 0x5A;
inline constexpr std::uint8_t kPowerMonitorId = 0xA3;
inline constexpr RegisterSpec kPowerMonitor[] = {
    smbus(kPowerMonitorDevice, 0x4C, kPowerMonitorId, kReadOnly, "power monitor identification (0xA3)"),
    liveSmbus(kPowerMonitorDevice, 0x20, LiveValue::RailCurrent33, "3.3 V rail current sense"),
    liveSmbus(kPowerMonitorDevice, 0x21, LiveValue::RailCurrent12, "12 V rail current sense"),
    liveSmbus(kPowerMonitorDevice, 0x22, LiveValue::RailCurrent5, "5 V rail current sense"),
};
// Sense amplifier of each rail: raw = (offset + gain × amperes) / 8 mV.
inline constexpr SensorSlot kPowerMonitorSense[] = {
    currentSense(0x20, 0.008, repeated(0.054 - 2 * 0.03), repeated(0.03)),
    currentSense(0x21, 0.008, repeated(0.1 - 0.102), repeated(0.102)),
    currentSense(0x22, 0.008, repeated(0.07 - 2 * 0.045), repeated(0.045)),
};

// The rail monitor of board 2911 at 0x5C/0x5D: one 8-bit reading per rail.
inline constexpr std::uint8_t kRailMonitorDevice = 0x5C;
inline constexpr RegisterSpec kRailMonitor[] = {
    liveSmbus(kRailMonitorDevice, 0x11, LiveValue::RailVoltage12, "12 V rail, 880 mV per count"),
    liveSmbus(kRailMonitorDevice, 0x12, LiveValue::RailVoltage5, "5 V rail, 420.4 mV per count"),
};
inline constexpr SensorSlot kRailMonitorScale[] = {
    linear(0x11, Reading::Rail12, 880.0),
    linear(0x12, Reading::Rail5, 1976.0 / 47.0 * 10.0),
};

// Sensor library values of boards with Super I/O kind 0 or 27 (the newer hardware monitor): every
// voltage in millivolts, temperatures in degrees, fan speed in rpm. Slot 6 (the CPU current sense) is
// board-specific.
inline constexpr SensorSlot kMillivoltSensors[] = {
    linear(0, Reading::CoreVoltage, 1.0),      linear(1, Reading::VttVoltage, 1.0),
    linear(2, Reading::Rail33, 1.0),           linear(3, Reading::Rail5, 1.0),
    linear(4, Reading::Rail12, 1.0),           linear(5, Reading::MemoryVoltage, 1.0),
    linear(7, Reading::BoardTemperature, 1.0), linear(8, Reading::CpuFanRpm, 1.0),
};

// Sensor library values of boards with Super I/O kind 100 (the older hardware monitor): the core and
// memory voltages in 8 mV ADC counts; the rails as the voltage behind their input dividers, in fine
// steps (3.3 V: 1/16 divider, 10 uV; 5 V: 47/1976 divider, 1 uV; 12 V: 20/1760 divider, 1 uV).
inline constexpr SensorSlot kDividedSensors[] = {
    linear(1, Reading::CoreVoltage, 8.0),         linear(2, Reading::Rail33, 0.16),
    linear(3, Reading::MemoryVoltage, 8.0),       linear(4, Reading::Rail5, 1976.0 / 47000.0),
    linear(5, Reading::Rail12, 1760.0 / 20000.0), linear(7, Reading::BoardTemperature, 1.0),
    linear(8, Reading::CpuFanRpm, 1.0),
};

// A CPU current sense for boards whose program formulas do not read it: 8 mV per count, about 55 mV
// per ampere of one phase.
inline constexpr SensorSlot kGenericCurrentSense[] = {
    currentSense(6, 0.008, repeated(0.0153), {0.055, 0.055, 0.0275, 0.0183, 0.01375, 0.011, 0.00917}),
};

} // namespace solvane::sim
