#pragma once

#include "sysinfo/SpdModuleDetails.h"

#include <cstdint>
#include <span>

namespace solvane::sysinfo {

// Decode the SPD image of a DDR4 (512 bytes) or DDR5 (1024 bytes) module. A shorter image decodes
// the sections it holds whole and says in the note what it lacks; a failed CRC is reported in crcs,
// the fields are decoded all the same.
SpdModuleDetails decodeDdr4Module(std::span<const std::uint8_t> spd);
SpdModuleDetails decodeDdr5Module(std::span<const std::uint8_t> spd);

// The note of an image that holds `held` of the `full` bytes its generation has.
std::string shortImageNote(std::string_view generation, std::size_t held, std::size_t full);

} // namespace solvane::sysinfo
