#include "sim/boards/MemoryModule.h"

#include <algorithm>
#include <charconv>

namespace solvane::sim {

namespace {

constexpr bool partNumbersFit() {
    for (const auto& maker : kMemoryMakers)
        if (maker.ddr3Part.size() > 18 || maker.ddr2Part.size() > 18 || maker.ddrPart.size() > 18)
            return false;
    return true;
}
static_assert(partNumbersFit(), "SPD part numbers hold at most 18 characters");

struct ChipRange {
    MemoryType type;
    int smallestMegabits;
    int largestMegabits;
};
// Chip sizes each generation was made in.
constexpr ChipRange kChipRanges[] = {
    {MemoryType::Ddr, 128, 1024},
    {MemoryType::Ddr2, 256, 2048},
    {MemoryType::Ddr3, 512, 4096},
};

constexpr int kDefaultRates[] = {400, 800, 1333}; // DDR, DDR2, DDR3

std::string upper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return result;
}

std::optional<int> parseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0)
        return std::nullopt;
    return value;
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const auto end = text.find(separator, start);
        parts.push_back(
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

std::optional<std::size_t> parseSlot(std::string_view text) {
    auto name = upper(text);
    if (name.rfind("DIMM_", 0) != 0)
        name = "DIMM_" + name;
    const auto found = std::find(kSlotNames.begin(), kSlotNames.end(), name);
    if (found == kSlotNames.end())
        return std::nullopt;
    return static_cast<std::size_t>(found - kSlotNames.begin());
}

std::optional<MemoryType> parseType(std::string_view text) {
    const auto name = upper(text);
    if (name == "DDR")
        return MemoryType::Ddr;
    if (name == "DDR2")
        return MemoryType::Ddr2;
    if (name == "DDR3")
        return MemoryType::Ddr3;
    return std::nullopt;
}

std::optional<int> parseSize(std::string_view text) {
    const auto name = upper(text);
    std::string_view digits = name;
    int scale = 1;
    if (!digits.empty() && digits.back() == 'G') {
        digits.remove_suffix(1);
        scale = 1024;
    } else if (digits.size() > 2 && digits.substr(digits.size() - 2) == "MB") {
        digits.remove_suffix(2);
    } else if (!digits.empty() && digits.back() == 'M') {
        digits.remove_suffix(1);
    }
    const auto value = parseNumber(digits);
    if (!value || *value > 65536 / scale)
        return std::nullopt;
    return *value * scale;
}

std::optional<std::size_t> parseMaker(std::string_view text) {
    const auto name = upper(text);
    for (std::size_t i = 0; i < std::size(kMemoryMakers); ++i)
        if (upper(kMemoryMakers[i].name) == name)
            return i;
    return std::nullopt;
}

// One SLOT=TYPE-SIZE[-RANKSR][-RATE][-MAKER] entry.
std::optional<MemoryModule> parseModule(std::string_view entry, std::string& error) {
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos) {
        error = "memory module \"" + std::string(entry) + "\" needs the form SLOT=TYPE-SIZE";
        return std::nullopt;
    }
    MemoryModule module;
    const auto slot = parseSlot(entry.substr(0, equals));
    if (!slot) {
        error =
            "unknown memory slot \"" + std::string(entry.substr(0, equals)) + "\" (A0, A1, B0, B1, C0, C1)";
        return std::nullopt;
    }
    module.slot = *slot;
    const auto fields = split(entry.substr(equals + 1), '-');
    const auto type = parseType(fields[0]);
    if (!type || fields.size() < 2) {
        error = "memory module \"" + std::string(entry) + "\" needs a type (DDR, DDR2, DDR3) and a size";
        return std::nullopt;
    }
    module.type = *type;
    module.dataRate = kDefaultRates[module.type == MemoryType::Ddr    ? 0
                                    : module.type == MemoryType::Ddr2 ? 1
                                                                      : 2];
    const auto size = parseSize(fields[1]);
    if (!size) {
        error = "memory size \"" + std::string(fields[1]) + "\" is not a size in megabytes or gigabytes";
        return std::nullopt;
    }
    module.sizeMegabytes = *size;
    for (std::size_t i = 2; i < fields.size(); ++i) {
        const auto field = upper(fields[i]);
        if (field.size() == 2 && field[1] == 'R' && (field[0] == '1' || field[0] == '2')) {
            module.ranks = field[0] - '0';
        } else if (const auto rate = parseNumber(field)) {
            module.dataRate = *rate;
        } else if (const auto maker = parseMaker(field)) {
            module.maker = *maker;
        } else {
            error = "memory module field \"" + std::string(fields[i]) +
                    "\" is not a rank count, a rate or a maker";
            return std::nullopt;
        }
    }
    module.serial = 0x4D500000U + static_cast<std::uint32_t>(module.slot) * 0x1111U + 0x0A2CU;
    error = checkModule(module);
    if (!error.empty())
        return std::nullopt;
    return module;
}

} // namespace

std::string_view memoryTypeName(MemoryType type) {
    switch (type) {
    case MemoryType::Ddr:
        return "DDR";
    case MemoryType::Ddr2:
        return "DDR2";
    case MemoryType::Ddr3:
        return "DDR3";
    }
    return "";
}

const SpeedGrade* findSpeedGrade(MemoryType type, int dataRate) {
    for (const auto& grade : kSpeedGrades)
        if (grade.type == type && grade.dataRate == dataRate)
            return &grade;
    return nullptr;
}

int chipDensityMegabits(const MemoryModule& module) {
    if (module.ranks < 1 || module.ranks > 2 || module.sizeMegabytes % module.ranks != 0)
        return 0;
    // Eight x8 chips make a 64-bit rank, so a rank of N megabytes is made of N-megabit chips.
    const int density = module.sizeMegabytes / module.ranks;
    for (const auto& range : kChipRanges)
        if (range.type == module.type)
            for (int size = range.smallestMegabits; size <= range.largestMegabits; size *= 2)
                if (size == density)
                    return density;
    return 0;
}

std::string checkModule(const MemoryModule& module) {
    if (module.slot >= kMemorySlots)
        return "memory slot out of range";
    if (module.maker >= std::size(kMemoryMakers))
        return "unknown memory maker";
    if (!findSpeedGrade(module.type, module.dataRate))
        return std::string(memoryTypeName(module.type)) + " modules do not come at " +
               std::to_string(module.dataRate) + " MT/s";
    if (chipDensityMegabits(module) == 0)
        return std::string(memoryTypeName(module.type)) + " modules do not come with " +
               std::to_string(module.sizeMegabytes) + " MB in " + std::to_string(module.ranks) + " rank(s)";
    return {};
}

std::optional<std::vector<MemoryModule>> parseMemoryModules(std::string_view text, std::string& error) {
    error.clear();
    std::vector<MemoryModule> modules;
    if (upper(text) == "NONE")
        return modules;
    for (const auto entry : split(text, ',')) {
        auto module = parseModule(entry, error);
        if (!module)
            return std::nullopt;
        const bool taken = std::any_of(modules.begin(), modules.end(),
                                       [&](const MemoryModule& other) { return other.slot == module->slot; });
        if (taken) {
            error = "memory slot " + std::string(kSlotNames[module->slot]) + " is given twice";
            return std::nullopt;
        }
        modules.push_back(*module);
    }
    return modules;
}

} // namespace solvane::sim
