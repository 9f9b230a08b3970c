#include "sim/BoardStateFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

namespace solvane::sim {

namespace {

constexpr std::string_view kHeader = "Solvane simulated board state 1";

struct BusName {
    RegisterBus bus;
    std::string_view name;
};
constexpr std::array<BusName, 5> kBusNames = {{{RegisterBus::Smbus, "smbus"},
                                               {RegisterBus::SuperIo, "superio"},
                                               {RegisterBus::Port, "port"},
                                               {RegisterBus::Cmos, "cmos"},
                                               {RegisterBus::Pci, "pci"}}};

// FNV-1a over the text, a cheap guard against damage (not against tampering).
std::uint32_t checksum(std::string_view text) {
    std::uint32_t hash = 2166136261U;
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619U;
    }
    return hash;
}

std::string formatEntry(const StateEntry& entry) {
    char line[64];
    if (entry.bus == RegisterBus::Pci) {
        std::snprintf(line, sizeof line, "pci %02x:%02x.%x %02x %08x\n", entry.unit >> 8U,
                      (entry.unit >> 3U) & 0x1FU, entry.unit & 7U, entry.reg, entry.value);
        return line;
    }
    std::string_view name;
    for (const auto& bus : kBusNames)
        if (bus.bus == entry.bus)
            name = bus.name;
    if (entry.bus == RegisterBus::Port)
        std::snprintf(line, sizeof line, "%.*s %04x %02x\n", static_cast<int>(name.size()), name.data(),
                      entry.unit, entry.value);
    else if (entry.bus == RegisterBus::Cmos)
        std::snprintf(line, sizeof line, "%.*s %02x %02x\n", static_cast<int>(name.size()), name.data(),
                      entry.reg, entry.value);
    else
        std::snprintf(line, sizeof line, "%.*s %02x %02x %02x\n", static_cast<int>(name.size()), name.data(),
                      entry.unit, entry.reg, entry.value);
    return line;
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t at = 0;
    while (at < line.size()) {
        const auto end = line.find(' ', at);
        const auto word = line.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        if (!word.empty())
            result.push_back(word);
        if (end == std::string_view::npos)
            break;
        at = end + 1;
    }
    return result;
}

std::optional<std::uint32_t> hexNumber(std::string_view text, std::uint32_t limit) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > limit)
        return std::nullopt;
    return value;
}

// "bb:dd.f" as bus << 8 | device << 3 | function.
std::optional<std::uint16_t> pciAddress(std::string_view text) {
    if (text.size() != 7 || text[2] != ':' || text[5] != '.')
        return std::nullopt;
    const auto bus = hexNumber(text.substr(0, 2), 0xFF);
    const auto device = hexNumber(text.substr(3, 2), 0x1F);
    const auto function = hexNumber(text.substr(6, 1), 7);
    if (!bus || !device || !function)
        return std::nullopt;
    return static_cast<std::uint16_t>(*bus << 8 | *device << 3 | *function);
}

std::optional<StateEntry> parseEntry(std::string_view line) {
    const auto fields = words(line);
    if (fields.empty())
        return std::nullopt;
    const auto* bus = std::find_if(kBusNames.begin(), kBusNames.end(),
                                   [&](const BusName& candidate) { return candidate.name == fields[0]; });
    if (bus == kBusNames.end())
        return std::nullopt;
    // Fields after the bus name: unit and register where the bus has them, then the value.
    std::uint32_t unit = 0;
    std::uint32_t reg = 0;
    std::optional<std::uint32_t> value;
    bool addressed = false;
    switch (bus->bus) {
    case RegisterBus::Smbus:
    case RegisterBus::SuperIo:
        if (fields.size() == 4) {
            const auto parsedUnit = hexNumber(fields[1], 0xFF);
            const auto parsedReg = hexNumber(fields[2], 0xFF);
            addressed = parsedUnit && parsedReg;
            unit = parsedUnit.value_or(0);
            reg = parsedReg.value_or(0);
            value = hexNumber(fields[3], 0xFF);
        }
        break;
    case RegisterBus::Port:
        if (fields.size() == 3) {
            const auto parsedUnit = hexNumber(fields[1], 0xFFFF);
            addressed = parsedUnit.has_value();
            unit = parsedUnit.value_or(0);
            value = hexNumber(fields[2], 0xFF);
        }
        break;
    case RegisterBus::Cmos:
        if (fields.size() == 3) {
            const auto parsedReg = hexNumber(fields[1], 0xFF);
            addressed = parsedReg.has_value();
            reg = parsedReg.value_or(0);
            value = hexNumber(fields[2], 0xFF);
        }
        break;
    case RegisterBus::Pci:
        if (fields.size() == 4) {
            const auto parsedUnit = pciAddress(fields[1]);
            const auto parsedReg = hexNumber(fields[2], 0xFC);
            addressed = parsedUnit && parsedReg && (*parsedReg & 3U) == 0;
            unit = parsedUnit.value_or(0);
            reg = parsedReg.value_or(0);
            value = hexNumber(fields[3], 0xFFFFFFFF);
        }
        break;
    }
    if (!addressed || !value)
        return std::nullopt;
    return StateEntry{bus->bus, static_cast<std::uint16_t>(unit), static_cast<std::uint16_t>(reg), *value};
}

} // namespace

std::string formatBoardState(int boardCode, const std::vector<StateEntry>& entries) {
    std::string text(kHeader);
    text += "\nboard " + std::to_string(boardCode) + "\n";
    for (const auto& entry : entries)
        text += formatEntry(entry);
    char line[32];
    std::snprintf(line, sizeof line, "check %08x\n", checksum(text));
    return text + line;
}

std::optional<std::vector<StateEntry>> parseBoardState(std::string_view text, int boardCode) {
    const auto checkAt = text.rfind("check ");
    if (checkAt == std::string_view::npos || (checkAt > 0 && text[checkAt - 1] != '\n'))
        return std::nullopt;
    const auto body = text.substr(0, checkAt);
    auto checkLine = text.substr(checkAt + 6);
    if (checkLine.empty() || checkLine.back() != '\n')
        return std::nullopt;
    checkLine.remove_suffix(1);
    const auto stored = hexNumber(checkLine, 0xFFFFFFFF);
    if (!stored || *stored != checksum(body))
        return std::nullopt;

    const std::string expectedStart = std::string(kHeader) + "\nboard " + std::to_string(boardCode) + "\n";
    if (body.substr(0, expectedStart.size()) != expectedStart)
        return std::nullopt;
    std::vector<StateEntry> entries;
    auto rest = body.substr(expectedStart.size());
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        if (end == std::string_view::npos)
            return std::nullopt;
        const auto entry = parseEntry(rest.substr(0, end));
        if (!entry)
            return std::nullopt;
        entries.push_back(*entry);
        rest.remove_prefix(end + 1);
    }
    return entries;
}

std::filesystem::path boardStatePath(const std::filesystem::path& folder, int boardCode) {
    return folder / ("simulated-board-" +
                     (boardCode == 0 ? std::string("other") : std::to_string(boardCode)) + ".state");
}

} // namespace solvane::sim
