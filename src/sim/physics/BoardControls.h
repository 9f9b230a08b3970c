#pragma once

#include "sim/boards/RegisterInventory.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace solvane::sim {

// The voltage regulators of a board whose output voltage and phase count the board model follows.
enum class Regulator : std::uint8_t {
    CpuCore,     // the CPU core supply, fed from 12 V
    CpuVtt,      // the CPU's uncore / QPI / HyperTransport supply, fed from 12 V
    Memory,      // the memory modules' supply, fed from 5 V
    Northbridge, // the host bridge (MCH, IOH or AMD northbridge) supply, fed from 12 V
    Southbridge, // the I/O hub (ICH or southbridge) supply, fed from 3.3 V
};
inline constexpr std::size_t kRegulatorCount = 5;

// How a voltage register's byte sets the regulator's output.
enum class VoltageCode : std::uint8_t {
    // 0x00 or bit 7 clear: nominal. Bit 7 and bit 6 set: nominal − 20 mV × bits 5..0.
    // Bit 7 set, bit 6 clear: nominal + 10 mV × bits 5..0.
    OffsetB,
    // 0x00: nominal. Bit 6 set: nominal − 50 mV × bits 5..0. Otherwise nominal + 10 mV × bits 5..0.
    OffsetA,
    // 0x00: nominal. Bit 7 set: nominal − 10 mV × bits 6..0. Otherwise nominal + 10 mV × bits 6..0.
    OffsetC,
    // The AMD core regulator of boards 2902 and 2905: 0xC3..0xD0 lower by 20.8 mV steps, 0x41..0x50 lower
    // by 2.6 mV steps, even codes 0x00..0x44 raise by 1 mV per two, 0x84..0xBF raise from 44 mV in
    // 11 mV steps.
    AmdCoreTable,
    // The AMD VTT regulator of boards 2902 and 2905: 0x45..0x50 from −4.25 mV in 4.25 mV steps,
    // 0xC3..0xCB from +76.5 mV in 34 mV steps.
    AmdVttTable,
    // The high nibble picks an entry of the control's level list (absolute millivolts).
    LevelHighNibble,
    // The low nibble picks an entry of the control's level list.
    LevelLowNibble,
};

// Where a regulator's output voltage is set. Fields:
//   regulator  which supply;
//   ref        the register (an SMBus voltage generator);
//   code       how the byte maps to a voltage;
//   levels     the absolute levels in millivolts for the nibble codes, else empty.
struct VoltageControl {
    Regulator regulator = Regulator::CpuCore;
    RegisterRef ref = {};
    VoltageCode code = VoltageCode::OffsetB;
    std::span<const std::int16_t> levels = {};
};

// How a forced phase count is read from the shedding register.
enum class PhaseDecode : std::uint8_t {
    AllPhases, // every phase of the regulator runs
    ShedMask,  // each set bit of shedMask turns one phase off
    ShedCode,  // the bits of shedMask hold a code: 0 keeps all phases, 4 turns one off, 5 two
};

// Where a regulator's phase count is forced. While every `driven` condition holds and `forced` holds,
// the regulator runs the phase count that `decode` reads from the shedding register; otherwise it adds
// and sheds phases with its load by itself. Fields:
//   regulator         which supply;
//   forced            the bit state that forces the phase count;
//   driven, drivenCount  conditions under which the control line is driven at all (a GPIO line that is
//                     not set up as an output floats to its pull-up, the automatic state);
//   shedRegister, shedMask, decode  the register and bits that choose how many phases are off.
struct PhaseControl {
    Regulator regulator = Regulator::CpuCore;
    BitCondition forced = {};
    std::array<BitCondition, 2> driven{};
    std::size_t drivenCount = 0;
    RegisterRef shedRegister = {};
    std::uint8_t shedMask = 0;
    PhaseDecode decode = PhaseDecode::AllPhases;
};

// Millivolts of a voltage register's byte for a regulator whose nominal output is nominalMillivolts.
double decodeVoltage(const VoltageControl& control, std::uint8_t code, double nominalMillivolts);

} // namespace solvane::sim
