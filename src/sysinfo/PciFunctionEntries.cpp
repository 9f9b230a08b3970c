#include "sysinfo/PciFunctionEntries.h"

#include "hw/TextRow.h"

#include <cstdio>

namespace solvane::sysinfo {

PciEntriesApplied applyPciEntries(const std::array<std::string_view, 3>& entries) {
    PciEntriesApplied applied;
    bool complete = true;
    std::array<std::uint8_t, 3> numbers{};
    for (std::size_t index = 0; index < entries.size(); ++index) {
        std::string text(entries[index]);
        if (text.size() == 1)
            text.insert(0, "0");
        complete = complete && !text.empty();
        numbers[index] = static_cast<std::uint8_t>(hw::readHexCode(text, kPciEntryDigits));
        applied.entries[index] = std::move(text);
    }
    if (complete)
        applied.address = PciAddress{numbers[0], numbers[1], numbers[2]};
    return applied;
}

std::array<std::string, 3> pciEntryTexts(PciAddress address) {
    std::array<std::string, 3> texts;
    const std::array<unsigned, 3> numbers{address.bus, address.device, address.function};
    for (std::size_t index = 0; index < texts.size(); ++index) {
        char text[4];
        std::snprintf(text, sizeof text, "%.2X", numbers[index]);
        texts[index] = text;
    }
    return texts;
}

} // namespace solvane::sysinfo
