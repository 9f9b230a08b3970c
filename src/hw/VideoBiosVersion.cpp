#include "hw/VideoBiosVersion.h"

#include <algorithm>

namespace solvane::hw {

namespace {

constexpr char kBlank = ' ';
constexpr std::string_view kIntelNumberLabel = "Number:";
// ATI images put " VER" before the version digits: the version starts four characters after the
// blank.
constexpr std::size_t kAtiVersionSkip = 4;

std::string_view zeroTerminated(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return {reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(end - bytes.begin())};
}

// The blank-separated word at or after from; empty when only blanks follow.
std::string_view wordFrom(std::string_view text, std::size_t from) {
    const auto start = text.find_first_not_of(kBlank, from);
    if (start == std::string_view::npos)
        return {};
    const auto end = text.find(kBlank, start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

} // namespace

VideoBiosParser parserForVendor(std::uint16_t vendorId) {
    for (const auto& row : kVideoBiosParsers)
        if (row.vendorId == vendorId)
            return row.parser;
    return VideoBiosParser::None;
}

std::string_view markerOf(VideoBiosParser parser) {
    for (const auto& row : kVideoBiosParsers)
        if (row.parser == parser)
            return row.marker;
    return {};
}

std::vector<std::uint32_t> findMarkerInBlock(std::span<const std::uint8_t> block, std::uint32_t blockAddress,
                                             std::string_view marker) {
    std::vector<std::uint32_t> matches;
    if (marker.empty() || block.size() <= marker.size())
        return matches;
    const auto* text = reinterpret_cast<const char*>(block.data());
    for (std::size_t k = 0; k + marker.size() < block.size(); ++k)
        if (std::string_view(text + k, marker.size()) == marker)
            matches.push_back(blockAddress + static_cast<std::uint32_t>(k));
    return matches;
}

std::string extractVideoBiosVersion(VideoBiosParser parser, std::span<const std::uint8_t> bytes) {
    const auto text = zeroTerminated(bytes);
    switch (parser) {
    case VideoBiosParser::Nvidia: {
        const auto blank = text.find(kBlank);
        return blank == std::string_view::npos ? std::string() : std::string(wordFrom(text, blank + 1));
    }
    case VideoBiosParser::Intel: {
        const auto label = text.find(kIntelNumberLabel);
        return label == std::string_view::npos
                   ? std::string()
                   : std::string(wordFrom(text, label + kIntelNumberLabel.size()));
    }
    case VideoBiosParser::Ati: {
        const auto blank = text.find(kBlank);
        if (blank == std::string_view::npos || blank + kAtiVersionSkip > text.size())
            return {};
        return std::string(text.substr(blank + kAtiVersionSkip));
    }
    case VideoBiosParser::None:
        break;
    }
    return {};
}

} // namespace solvane::hw
