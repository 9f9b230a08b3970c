#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace solvane::hw {

// How the version of a legacy video BIOS is found: by the display controller's vendor, a marker
// text searched in the image, and a rule that takes the version from the bytes at the marker.
enum class VideoBiosParser : int { Nvidia = 0, Intel = 1, Ati = 2, None = 3 };

// Fields: the vendor id at configuration offset 0, the parser it selects, the marker searched.
struct VideoBiosParserRow {
    std::uint16_t vendorId;
    VideoBiosParser parser;
    std::string_view marker;
};
inline constexpr std::array<VideoBiosParserRow, 3> kVideoBiosParsers{{
    {0x10DE, VideoBiosParser::Nvidia, "Version"},     // "Version 62.92.7E.00.20 \r\n…"
    {0x8086, VideoBiosParser::Intel, "SVGA"},         // "… SVGA BIOS\r\nBuild Number: 1874 PC …"
    {0x1002, VideoBiosParser::Ati, "ATOMBIOSBK-ATI"}, // "ATOMBIOSBK-ATI VER011.011.000.000.031941"
}};

// The legacy video BIOS window in physical memory, searched in blocks of this size.
inline constexpr std::uint32_t kVideoBiosWindowStart = 0xC0000;
inline constexpr std::uint32_t kVideoBiosWindowEnd = 0xD0000; // first address after the window
inline constexpr std::uint32_t kVideoBiosBlockSize = 256;

// The parser of a vendor; None for any vendor without one.
VideoBiosParser parserForVendor(std::uint16_t vendorId);
// The marker a parser searches; empty for None.
std::string_view markerOf(VideoBiosParser parser);

// Physical addresses of the marker's matches in one block read from blockAddress. Start offsets 0
// to size − 1 − marker length are tried, so a marker ending on the block's last byte, like one
// crossing into the next block, is not found.
std::vector<std::uint32_t> findMarkerInBlock(std::span<const std::uint8_t> block, std::uint32_t blockAddress,
                                             std::string_view marker);

// The version text in the bytes read at a marker, taken as a zero-terminated text whose only
// separators are blanks: NVIDIA the first word after the first blank; Intel the word after
// "Number:"; ATI from the fourth character after the first blank to the end. Empty when the rule
// finds nothing, and always for None.
std::string extractVideoBiosVersion(VideoBiosParser parser, std::span<const std::uint8_t> bytes);

} // namespace solvane::hw
