#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace solvane::sim {

// Builds a legacy video option ROM as it appears at 0xC0000: the 0x55 0xAA signature, its length in
// 512-byte blocks, a PCI data structure naming the controller, the maker's identification text
// with its version, and a checksum byte that makes the image sum to zero.
std::vector<std::uint8_t> buildVideoBiosImage(std::uint16_t vendorId, std::uint16_t deviceId,
                                              std::string_view identification, std::size_t size = 0x10000);

} // namespace solvane::sim
