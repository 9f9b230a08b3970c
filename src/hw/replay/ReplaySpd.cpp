#include "hw/replay/ReplaySpd.h"

#include "hw/replay/ReplayText.h"
#include "platform/AsciiCase.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace solvane::hw {

namespace {

// The memory slots of a Tarvok board and the SMBus write address of each slot's SPD EEPROM.
struct SpdSlot {
    std::string_view name;
    std::uint8_t address;
};

constexpr std::array<SpdSlot, 6> kSpdSlots{{
    {"DIMM_A0", 0xA0},
    {"DIMM_A1", 0xA2},
    {"DIMM_B0", 0xA4},
    {"DIMM_B1", 0xA6},
    {"DIMM_C0", 0xA8},
    {"DIMM_C1", 0xAA},
}};

constexpr std::uint32_t kFirstEightBitAddress = kFirstSpdAddress << 1;
constexpr std::uint32_t kLastEightBitAddress = kLastSpdAddress << 1 | 1;

// Offsets of "hexdump -C" and "od" have 6 to 8 digits and no colon.
constexpr std::size_t kShortestBareOffset = 6;
constexpr std::size_t kLongestBareOffset = 8;
// xxd groups bytes in pairs by default and by up to eight with -g.
constexpr std::size_t kLongestGroupDigits = 16;

bool isTextByte(std::uint8_t byte) {
    return (byte >= 0x20 && byte < 0x7F) || byte == '\n' || byte == '\r' || byte == '\t';
}

// How a row of hex text begins.
enum class RowOffset {
    None,  // bare bytes
    Colon, // "00:", "0000:", "00000000:" (i2cdump, xxd, offset-prefixed rows)
    Bare,  // "00000000" (hexdump -C)
};

// The i2cdump column header "     0  1  2  3 ... f    0123456789abcdef".
bool isColumnHeader(const std::vector<TextToken>& tokens) {
    static constexpr std::string_view kDigits = "0123456789abcdef";
    if (tokens.size() < kDigits.size())
        return false;
    for (std::size_t i = 0; i < kDigits.size(); ++i)
        if (tokens[i].text.size() != 1 || platform::lowerAscii(tokens[i].text[0]) != kDigits[i])
            return false;
    return true;
}

class HexTextParser {
public:
    std::string parseLine(const TextLine& line);
    std::string finish();
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::string placeRow(std::uint32_t offset);
    std::string appendGroup(std::string_view group, RowOffset offsetKind);

    std::vector<std::uint8_t> m_bytes;
    std::vector<std::uint8_t> m_row;
    std::vector<std::uint8_t> m_lastRow;
    bool m_repeatPending = false; // a "*" of hexdump -C: the last row repeats up to the next offset
};

std::string HexTextParser::parseLine(const TextLine& line) {
    const auto tokens = splitTokens(line.text);
    if (tokens.empty() || tokens.front().text.front() == '#' || isColumnHeader(tokens))
        return {};
    const std::string_view first = tokens.front().text;
    if (first == "*") {
        if (m_lastRow.empty())
            return "'*' without a row before it";
        m_repeatPending = true;
        return {};
    }

    RowOffset offsetKind = RowOffset::None;
    std::optional<std::uint32_t> offset;
    if (first.size() > 1 && first.back() == ':') {
        offset = parseHexNumber(first.substr(0, first.size() - 1));
        offsetKind = RowOffset::Colon;
    } else if (first.size() >= kShortestBareOffset && first.size() <= kLongestBareOffset) {
        offset = parseHexNumber(first);
        offsetKind = RowOffset::Bare;
    }
    if (offsetKind != RowOffset::None && !offset)
        return quoteForMessage(first) + " is not a hexadecimal offset";
    if (offset) {
        if (auto error = placeRow(*offset); !error.empty())
            return error;
    } else if (m_repeatPending) {
        return "a '*' line must be followed by an offset";
    }

    m_row.clear();
    for (std::size_t i = offset ? 1 : 0; i < tokens.size(); ++i) {
        const auto& token = tokens[i];
        // What follows the bytes: the character column of hexdump -C ("|...|"), of i2cdump and xxd
        // (after a wider gap), or a comment.
        if (token.text.front() == '#' || (offsetKind == RowOffset::Bare && token.text.front() == '|') ||
            (offsetKind == RowOffset::Colon && !m_row.empty() && token.blanksBefore >= 2))
            break;
        if (auto error = appendGroup(token.text, offsetKind); !error.empty())
            return error;
    }
    if (!m_row.empty())
        m_lastRow = m_row;
    m_bytes.insert(m_bytes.end(), m_row.begin(), m_row.end());
    if (m_bytes.size() > kSpdMaximumBytes)
        return "more than " + std::to_string(kSpdMaximumBytes) + " bytes; no SPD EEPROM is that large";
    return {};
}

std::string HexTextParser::placeRow(std::uint32_t offset) {
    const auto size = static_cast<std::uint32_t>(m_bytes.size());
    if (m_repeatPending) {
        m_repeatPending = false;
        const auto rowSize = static_cast<std::uint32_t>(m_lastRow.size());
        if (offset < size || (offset - size) % rowSize != 0)
            return "offset " + hexNumber(offset) + " does not end a run of repeated rows";
        if (offset > kSpdMaximumBytes)
            return "offset " + hexNumber(offset) + " lies beyond any SPD EEPROM";
        while (m_bytes.size() < offset)
            m_bytes.insert(m_bytes.end(), m_lastRow.begin(), m_lastRow.end());
        return {};
    }
    if (offset != size)
        return "offset " + hexNumber(offset) + " does not follow the bytes before it (expected " +
               hexNumber(size) + ")";
    return {};
}

std::string HexTextParser::appendGroup(std::string_view group, RowOffset offsetKind) {
    // i2cdump prints XX for a byte the bus did not deliver; an absent device reads as 0xFF.
    if (group == "XX" || group == "xx") {
        m_row.push_back(0xFF);
        return {};
    }
    const std::size_t longest = offsetKind == RowOffset::Colon ? kLongestGroupDigits : 2;
    const bool hexOnly =
        std::all_of(group.begin(), group.end(), [](char c) { return hexDigit(c).has_value(); });
    if (hexOnly && offsetKind == RowOffset::Bare && group.size() == 4)
        return "16-bit words as plain hexdump prints them are byte-swapped; use hexdump -C, xxd or i2cdump";
    if (!hexOnly || group.size() % 2 != 0 || group.size() > longest)
        return quoteForMessage(group) + " is not a hexadecimal byte";
    for (std::size_t i = 0; i < group.size(); i += 2)
        m_row.push_back(static_cast<std::uint8_t>(*hexDigit(group[i]) << 4 | *hexDigit(group[i + 1])));
    return {};
}

std::string HexTextParser::finish() {
    if (m_repeatPending)
        return "the dump ends after a '*' line; the offset line that closes it is missing";
    return {};
}

ReplayResult<std::vector<std::uint8_t>> checkSize(std::vector<std::uint8_t> bytes) {
    if (bytes.size() < kSpdMinimumBytes)
        return ReplayResult<std::vector<std::uint8_t>>::failure(
            "an SPD image holds at least " + std::to_string(kSpdMinimumBytes) + " bytes; this one has " +
            std::to_string(bytes.size()));
    if (bytes.size() > kSpdMaximumBytes)
        return ReplayResult<std::vector<std::uint8_t>>::failure(
            "an SPD image holds at most " + std::to_string(kSpdMaximumBytes) + " bytes; this one has " +
            std::to_string(bytes.size()));
    return bytes;
}

} // namespace

ReplayResult<std::vector<std::uint8_t>> parseSpdHexText(std::string_view text) {
    HexTextParser parser;
    for (const auto& line : splitLines(text))
        if (auto error = parser.parseLine(line); !error.empty())
            return ReplayResult<std::vector<std::uint8_t>>::failure(linePrefix(line.number) + error);
    if (auto error = parser.finish(); !error.empty())
        return ReplayResult<std::vector<std::uint8_t>>::failure(error);
    return checkSize(parser.take());
}

ReplayResult<std::vector<std::uint8_t>> parseSpdImage(std::span<const std::uint8_t> file) {
    if (!file.empty() && std::all_of(file.begin(), file.end(), isTextByte))
        return parseSpdHexText(std::string_view(reinterpret_cast<const char*>(file.data()), file.size()));
    return checkSize(std::vector<std::uint8_t>(file.begin(), file.end()));
}

ReplayResult<std::uint8_t> parseSpdSlot(std::string_view slot) {
    const std::string lowered = platform::lowerAscii(slot);
    for (const auto& known : kSpdSlots)
        if (platform::lowerAscii(known.name) == lowered)
            return known.address;
    if (lowered.starts_with("0x")) {
        if (const auto address = parseHexNumber(std::string_view(lowered).substr(2))) {
            if (*address >= kFirstEightBitAddress && *address <= kLastEightBitAddress)
                return static_cast<std::uint8_t>(*address & 0xFEU);
            if (*address >= kFirstSpdAddress && *address <= kLastSpdAddress)
                return static_cast<std::uint8_t>(*address << 1);
        }
    }
    return ReplayResult<std::uint8_t>::failure("unknown SPD slot " + quoteForMessage(slot) +
                                               "; use DIMM_A0 to DIMM_C1, or an SMBus address 0xA0 to 0xAE "
                                               "(0x50 to 0x57 in the 7-bit form)");
}

} // namespace solvane::hw
