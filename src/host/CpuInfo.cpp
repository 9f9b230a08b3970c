#include "host/CpuInfo.h"

#include "platform/KeyValueLines.h"

#include <array>
#include <charconv>

namespace solvane::host {

namespace {

constexpr unsigned kExtendedFamilyBase = 0x0F; // families above 15 carry the excess in the extended field
constexpr unsigned kExtendedModelFamily = 6;   // families 6 and 15 carry the model's high nibble apart

std::optional<unsigned> number(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The flags of CPUID leaf 1 EDX, by bit, as the kernel names them ("" for bits it does not list).
constexpr std::array<std::string_view, 32> kEdxFlags{
    "fpu",  "vme",  "de",   "pse", "tsc",  "msr", "pae",   "mce", "cx8",     "apic", "",
    "sep",  "mtrr", "pge",  "mca", "cmov", "pat", "pse36", "pn",  "clflush", "",     "dts",
    "acpi", "mmx",  "fxsr", "sse", "sse2", "ss",  "ht",    "tm",  "ia64",    "pbe",
};

std::uint32_t edxFeatures(std::string_view flags) {
    std::uint32_t edx = 0;
    while (!flags.empty()) {
        const auto end = flags.find(' ');
        const auto flag = flags.substr(0, end);
        flags.remove_prefix(end == std::string_view::npos ? flags.size() : end + 1);
        for (std::size_t bit = 0; bit < kEdxFlags.size(); ++bit)
            if (!flag.empty() && kEdxFlags[bit] == flag)
                edx |= 1U << bit;
    }
    return edx;
}

} // namespace

std::optional<unsigned> CpuInfo::signature() const {
    if (!family || !model || !stepping)
        return std::nullopt;
    const unsigned baseFamily = *family < kExtendedFamilyBase ? *family : kExtendedFamilyBase;
    const unsigned extendedFamily = *family - baseFamily;
    const bool extendedModel = baseFamily == kExtendedModelFamily || baseFamily == kExtendedFamilyBase;
    const unsigned baseModel = *model & 0x0F;
    const unsigned extendedModelBits = extendedModel ? (*model >> 4) & 0x0F : 0;
    return (extendedFamily & 0xFF) << 20 | extendedModelBits << 16 | (baseFamily & 0x0F) << 8 |
           baseModel << 4 | (*stepping & 0x0F);
}

CpuInfo parseCpuInfo(std::string_view text) {
    CpuInfo info;
    bool firstProcessor = true;
    for (const auto& [key, value] : platform::keyValueLines(text)) {
        if (key == "processor") {
            firstProcessor = info.processors == 0;
            ++info.processors;
            continue;
        }
        if (!firstProcessor)
            continue;
        if (key == "vendor_id")
            info.vendor = value;
        else if (key == "model name")
            info.modelName = value;
        else if (key == "cpu family")
            info.family = number(value);
        else if (key == "model")
            info.model = number(value);
        else if (key == "stepping")
            info.stepping = number(value);
        else if (key == "flags")
            info.features = edxFeatures(value);
    }
    return info;
}

} // namespace solvane::host
