#include "sysinfo/ProcessorFields.h"

#include <array>

namespace solvane::sysinfo {

namespace {

// Removed one after the other, each everywhere: the empty speed first, then the padding.
constexpr std::array<std::string_view, 2> kRemovedTexts{"@ 0000 ", "    "};

} // namespace

std::string cleanProcessorName(std::string_view version) {
    std::string name(version);
    for (const auto removed : kRemovedTexts)
        for (auto at = name.find(removed); at != std::string::npos; at = name.find(removed, at))
            name.erase(at, removed.size());
    return name;
}

std::optional<ProcessorSignature> processorSignature(std::string_view processorId) {
    if (processorId.size() < 3)
        return std::nullopt;
    const auto last = processorId.size() - 1;
    return ProcessorSignature{processorId[last - 2], processorId[last - 1], processorId[last]};
}

} // namespace solvane::sysinfo
