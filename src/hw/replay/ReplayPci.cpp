#include "hw/replay/ReplayPci.h"

#include "hw/ByteOrder.h"
#include "hw/replay/ReplayText.h"

#include <cstdio>
#include <optional>
#include <set>
#include <string>
#include <tuple>

namespace solvane::hw {

namespace {

constexpr std::size_t kRowBytes = 16;
// lspci -x prints at least the standard header. Rows have two- or three-digit offsets, so no more
// than the 4096 bytes of the extended space can be given.
constexpr std::size_t kMinimumConfigBytes = 64;
constexpr std::uint32_t kMaximumDevice = 0x1F;
constexpr std::uint32_t kMaximumFunction = 7;

using Location = std::tuple<std::uint32_t, std::uint8_t, std::uint8_t, std::uint8_t>;

std::string functionName(const PciDumpFunction& function) {
    char text[32];
    std::snprintf(text, sizeof text, "%04x:%02x:%02x.%u", function.domain, function.bus, function.device,
                  function.function);
    return text;
}

// "[DDDD:]BB:DD.F" followed by a blank or the line end; empty when the line is no header.
std::optional<PciDumpFunction> parseHeader(std::string_view line, std::string& error) {
    const auto end = line.find_first_of(" \t");
    const std::string_view address = line.substr(0, end);
    const auto dot = address.rfind('.');
    const auto lastColon = address.rfind(':');
    if (dot == std::string_view::npos || lastColon == std::string_view::npos || dot < lastColon)
        return std::nullopt;
    const std::string_view busAndDomain = address.substr(0, lastColon);
    const auto firstColon = busAndDomain.rfind(':');
    const std::string_view busText =
        firstColon == std::string_view::npos ? busAndDomain : busAndDomain.substr(firstColon + 1);
    const auto domain = firstColon == std::string_view::npos
                            ? std::optional<std::uint32_t>(0)
                            : parseHexNumber(busAndDomain.substr(0, firstColon));
    const auto bus = parseHexNumber(busText);
    const std::string_view deviceText = address.substr(lastColon + 1, dot - lastColon - 1);
    const auto device = parseHexNumber(deviceText);
    const auto function = parseHexNumber(address.substr(dot + 1));
    if (!domain || !bus || !device || !function || busText.size() != 2 || deviceText.size() != 2 ||
        dot + 2 != address.size())
        return std::nullopt;
    if (*device > kMaximumDevice || *function > kMaximumFunction) {
        error = "function address " + quoteForMessage(address) + " is out of range";
        return std::nullopt;
    }
    PciDumpFunction parsed;
    parsed.domain = *domain;
    parsed.bus = static_cast<std::uint8_t>(*bus);
    parsed.device = static_cast<std::uint8_t>(*device);
    parsed.function = static_cast<std::uint8_t>(*function);
    return parsed;
}

// A row "OO: hh hh ... hh" of exactly 16 bytes; its offset, or empty when the line is no row.
std::optional<std::uint32_t> parseRow(std::string_view line, std::vector<std::uint8_t>& bytes,
                                      std::string& error) {
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || colon < 2 || colon > 3 || colon + 1 >= line.size() ||
        line[colon + 1] != ' ')
        return std::nullopt;
    const auto offset = parseHexNumber(line.substr(0, colon));
    if (!offset)
        return std::nullopt;
    const auto tokens = splitTokens(line.substr(colon + 1));
    if (tokens.size() != kRowBytes) {
        error = "a configuration row holds " + std::to_string(tokens.size()) + " bytes instead of 16";
        return std::nullopt;
    }
    for (const auto& token : tokens) {
        const auto value = token.text.size() == 2 ? parseHexNumber(token.text) : std::nullopt;
        if (!value) {
            error = quoteForMessage(token.text) + " is not a hexadecimal byte";
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(*value));
    }
    return offset;
}

std::string checkComplete(const PciDumpFunction& function) {
    if (function.config.empty())
        return "function " + functionName(function) +
               " has no configuration bytes (the dump must come from lspci -x, -xxx or -xxxx)";
    if (function.config.size() < kMinimumConfigBytes)
        return "function " + functionName(function) + " has only " + std::to_string(function.config.size()) +
               " configuration bytes; lspci -x gives at least 64";
    return {};
}

} // namespace

std::uint16_t PciDumpFunction::vendorId() const {
    return readLittleEndian<std::uint16_t>(config, 0x00);
}

std::uint16_t PciDumpFunction::deviceId() const {
    return readLittleEndian<std::uint16_t>(config, 0x02);
}

std::uint16_t PciDumpFunction::classCode() const {
    return readLittleEndian<std::uint16_t>(config, 0x0A);
}

ReplayResult<std::vector<PciDumpFunction>> parsePciDump(std::string_view text) {
    using Result = ReplayResult<std::vector<PciDumpFunction>>;
    std::vector<PciDumpFunction> functions;
    std::set<Location> seen;
    const auto finishFunction = [&]() -> std::string {
        return functions.empty() ? std::string() : checkComplete(functions.back());
    };

    for (const auto& line : splitLines(text)) {
        // Blank lines part functions; lines that start with a blank are the -v details.
        if (line.text.empty() || line.text.front() == ' ' || line.text.front() == '\t')
            continue;
        std::string error;
        std::vector<std::uint8_t> row;
        if (const auto offset = parseRow(line.text, row, error)) {
            if (functions.empty())
                return Result::failure(linePrefix(line.number) +
                                       "configuration bytes before any function line");
            auto& config = functions.back().config;
            if (*offset != config.size())
                return Result::failure(linePrefix(line.number) + "expected the row at offset " +
                                       hexNumber(config.size()) + ", found " + hexNumber(*offset));
            config.insert(config.end(), row.begin(), row.end());
            continue;
        }
        if (!error.empty())
            return Result::failure(linePrefix(line.number) + error);
        auto header = parseHeader(line.text, error);
        if (!header)
            return Result::failure(
                linePrefix(line.number) +
                (error.empty() ? "not a line of lspci -x output: " + quoteForMessage(line.text) : error));
        if (const auto incomplete = finishFunction(); !incomplete.empty())
            return Result::failure(linePrefix(line.number) + incomplete);
        if (!seen.insert({header->domain, header->bus, header->device, header->function}).second)
            return Result::failure(linePrefix(line.number) + "function " + functionName(*header) +
                                   " is listed twice");
        functions.push_back(std::move(*header));
    }
    if (functions.empty())
        return Result::failure("no PCI function found; expected the output of lspci -x, -xxx or -xxxx");
    if (const auto incomplete = finishFunction(); !incomplete.empty())
        return Result::failure("at the end: " + incomplete);
    return functions;
}

} // namespace solvane::hw
