#include "hw/ReplaySources.h"

#include "hw/ReplayDmi.h"
#include "hw/ReplaySpd.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace solvane::hw {

namespace {

// Far above any real dump (the largest lspci -xxxx dumps run to a few megabytes), low enough that a
// wrong file named by mistake is refused before it is read into memory.
constexpr std::uintmax_t kMaximumDumpBytes = 64U * 1024U * 1024U;

ReplayResult<std::vector<std::uint8_t>> readDumpFile(const std::filesystem::path& path) {
    using Result = ReplayResult<std::vector<std::uint8_t>>;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return Result::failure("no such file");
    const auto size = std::filesystem::file_size(path, error);
    if (error)
        return Result::failure("cannot read the file: " + error.message());
    if (size > kMaximumDumpBytes)
        return Result::failure("the file is too large for a dump (" + std::to_string(size) + " bytes)");
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad())
        return Result::failure("cannot read the file");
    return bytes;
}

std::string_view asText(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Reads one dump and parses it; an error of either step is prefixed with the option as given.
template <class Parser>
auto loadDump(const std::string& option, const std::filesystem::path& path, Parser parse)
    -> decltype(parse(std::vector<std::uint8_t>{})) {
    using Result = decltype(parse(std::vector<std::uint8_t>{}));
    const auto bytes = readDumpFile(path);
    if (!bytes)
        return Result::failure(option + ": " + bytes.error());
    auto parsed = parse(bytes.value());
    if (!parsed)
        return Result::failure(option + ": " + parsed.error());
    return parsed;
}

} // namespace

ReplayResult<ReplaySources> loadReplaySources(const ReplayFiles& files) {
    using Result = ReplayResult<ReplaySources>;
    ReplaySources sources;

    if (!files.dmi.empty()) {
        auto table = loadDump("--dmi " + files.dmi.string(), files.dmi,
                              [](const std::vector<std::uint8_t>& bytes) { return parseDmiDump(bytes); });
        if (!table)
            return Result::failure(table.error());
        sources.dmiTable = std::move(table).value();
    }

    for (const auto& argument : files.spd) {
        const std::string option = "--spd " + argument;
        const auto equals = argument.find('=');
        if (equals == std::string::npos || equals == 0 || equals + 1 == argument.size())
            return Result::failure(option + ": expected SLOT=FILE, for example DIMM_A0=module.bin");
        const auto slot = parseSpdSlot(std::string_view(argument).substr(0, equals));
        if (!slot)
            return Result::failure(option + ": " + slot.error());
        if (sources.spdImages.contains(slot.value()))
            return Result::failure(option + ": that slot is already given");
        auto image = loadDump(option, argument.substr(equals + 1),
                              [](const std::vector<std::uint8_t>& bytes) { return parseSpdImage(bytes); });
        if (!image)
            return Result::failure(image.error());
        sources.spdImages.emplace(slot.value(), std::move(image).value());
    }

    if (!files.pci.empty()) {
        auto functions =
            loadDump("--pci " + files.pci.string(), files.pci,
                     [](const std::vector<std::uint8_t>& bytes) { return parsePciDump(asText(bytes)); });
        if (!functions)
            return Result::failure(functions.error());
        sources.pciFunctions = std::move(functions).value();
    }
    return sources;
}

} // namespace solvane::hw
