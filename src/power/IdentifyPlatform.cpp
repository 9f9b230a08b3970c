#include "power/IdentifyPlatform.h"

#include "hw/smbios/SmbiosTableReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <new>
#include <vector>

namespace solvane::power {

namespace {

// A firmware table is a few kilobytes; a length beyond this is not a table.
constexpr std::uint32_t kMaxTableBytes = 16U << 20;

constexpr std::string_view kBoardPrefix = "KX-";
constexpr std::size_t kBoardStringLength = 7;

// Offsets of the fields the identification reads, per structure type.
namespace bios { // type 0
constexpr std::size_t kVendor = 0x04;
constexpr std::size_t kVersion = 0x05;
constexpr std::size_t kReleaseDate = 0x08;
} // namespace bios
namespace systemInfo { // type 1
constexpr std::size_t kProductName = 0x05;
} // namespace systemInfo
namespace baseboard { // type 2
constexpr std::size_t kManufacturer = 0x04;
constexpr std::size_t kProductName = 0x05;
constexpr std::size_t kVersion = 0x06;
constexpr std::size_t kSerialNumber = 0x07;
} // namespace baseboard
namespace processor {                      // type 4
constexpr std::size_t kProcessorId = 0x08; // 8 bytes, low 32-bit half first
constexpr std::size_t kVersion = 0x10;
constexpr std::size_t kExternalClock = 0x12; // 16-bit, MHz
constexpr std::size_t kStatus = 0x18;
constexpr std::uint8_t kSocketPopulated = 0x40;
} // namespace processor

std::string text(const hw::SmbiosStructure& structure, std::size_t offset) {
    return std::string(structure.stringAt(offset).value_or(std::string_view()));
}

// What the walk carries from one structure to the next.
struct WalkState {
    PlatformInfo& platform;
    bool haveProcessor = false;
};

void readBios(const hw::SmbiosStructure& structure, WalkState& state) {
    state.platform.biosVendor = text(structure, bios::kVendor);
    state.platform.biosVersion = text(structure, bios::kVersion);
    state.platform.biosReleaseDate = text(structure, bios::kReleaseDate);
}

void readSystem(const hw::SmbiosStructure& structure, WalkState& state) {
    state.platform.BoardString = text(structure, systemInfo::kProductName);
}

// A Tarvok baseboard product name reads like "Elm-E4 (KX-2917)": the model name, then the board
// code in parentheses. Other firmware leaves the system product name in place, cut to the length
// of a board string.
void readBaseboard(const hw::SmbiosStructure& structure, WalkState& state) {
    auto& platform = state.platform;
    platform.baseboardManufacturer = text(structure, baseboard::kManufacturer);
    platform.baseboardVersion = text(structure, baseboard::kVersion);
    platform.baseboardSerialNumber = text(structure, baseboard::kSerialNumber);

    auto product = text(structure, baseboard::kProductName);
    if (product.find(kBoardPrefix) != std::string::npos)
        platform.BoardString = std::move(product);
    const auto parenthesis = platform.BoardString.find('(');
    if (parenthesis != std::string::npos) {
        platform.BoardModelPrefix = platform.BoardString.substr(0, parenthesis);
        platform.BoardString = platform.BoardString.substr(parenthesis + 1, kBoardStringLength);
    } else {
        platform.BoardString = platform.BoardString.substr(0, kBoardStringLength);
    }
}

// On a board with several sockets an empty socket reports no processor; it does not hide the one
// already found.
void readProcessor(const hw::SmbiosStructure& structure, WalkState& state) {
    const auto status = structure.byteAt(processor::kStatus);
    const bool populated = !status || (*status & processor::kSocketPopulated) != 0;
    if (state.haveProcessor && !populated)
        return;
    state.haveProcessor = true;

    auto& platform = state.platform;
    platform.processorId.clear();
    if (const auto id = structure.qwordAt(processor::kProcessorId)) {
        std::array<char, 24> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "%.8X %.8X", static_cast<unsigned>(*id >> 32),
                      static_cast<unsigned>(*id & 0xFFFFFFFFU));
        platform.processorId = buffer.data();
    }
    platform.processorVersion = text(structure, processor::kVersion);
    platform.externalClock.clear();
    if (const auto clock = structure.wordAt(processor::kExternalClock))
        platform.externalClock = std::to_string(*clock) + " MHz";
}

struct StructureReader {
    std::uint8_t type;
    void (*read)(const hw::SmbiosStructure&, WalkState&);
};

constexpr std::array kStructureReaders = {
    StructureReader{0, readBios},
    StructureReader{1, readSystem},
    StructureReader{2, readBaseboard},
    StructureReader{4, readProcessor},
};

} // namespace

void identifyFromSmbiosTable(std::span<const std::uint8_t> table, PlatformInfo& platform) {
    WalkState state{platform};
    // The whole table, to its end or its length: firmware of today puts the processor after dozens of
    // other structures.
    hw::SmbiosTableReader reader(table);
    while (const auto structure = reader.next()) {
        const auto found =
            std::find_if(kStructureReaders.begin(), kStructureReaders.end(),
                         [&](const StructureReader& r) { return r.type == structure->type(); });
        if (found != kStructureReaders.end())
            found->read(*structure, state);
    }
    platform.BoardCode = boardCodeOf(platform.BoardString);
}

void IdentifyPlatform(hw::Ostrel& firmware, PlatformInfo& platform) {
    std::uint32_t length = 0;
    length = firmware.GetDMILength(&length);
    if (length == 0 || length > kMaxTableBytes)
        return;
    std::vector<std::uint8_t> buffer;
    try {
        buffer.resize(length);
    } catch (const std::bad_alloc&) {
        return;
    }
    // Cleared so that a table the library leaves unfilled reads as a zero-length structure.
    std::fill_n(buffer.begin(), std::min<std::size_t>(4, buffer.size()), std::uint8_t{0});
    if (!firmware.GetDMIData(buffer.data(), length))
        return;
    identifyFromSmbiosTable(buffer, platform);
}

int boardCodeOf(std::string_view boardString) {
    std::string digits;
    for (std::size_t at = 0; at < boardString.size();) {
        if (boardString.substr(at).starts_with(kBoardPrefix)) {
            at += kBoardPrefix.size();
        } else {
            digits += boardString[at];
            ++at;
        }
    }
    constexpr std::size_t kMaxDigits = 9; // fits an int
    if (digits.empty() || digits.size() > kMaxDigits ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    int code = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), code);
    return code;
}

} // namespace solvane::power
