#pragma once

#include "sim/boards/GraphicsCard.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace solvane::sim {

inline constexpr std::uint64_t kLegacyVideoBiosAddress = 0xC0000;

// Builds a legacy video option ROM as it appears at 0xC0000: the 0x55 0xAA signature, its length in
// 512-byte blocks, a PCI data structure naming the controller, the maker's identification text with
// its version at textOffset (where option ROMs keep their sign-on text, after the header), and a
// checksum byte that makes the image sum to zero. Sizes are rounded to 512-byte blocks between 4 KiB
// and 127 KiB.
std::vector<std::uint8_t> buildVideoBiosImage(std::uint16_t vendorId, std::uint16_t deviceId,
                                              std::string_view identification, std::size_t size = 0x10000,
                                              std::size_t textOffset = 0x80);
// The image of a graphics controller, with its sign-on text.
std::vector<std::uint8_t> buildVideoBiosImage(const GraphicsCard& card);

} // namespace solvane::sim
