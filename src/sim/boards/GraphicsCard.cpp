#include "sim/boards/GraphicsCard.h"

#include <algorithm>
#include <string>

namespace solvane::sim {

const GraphicsCard& optionCard(GraphicsVendor vendor) {
    switch (vendor) {
    case GraphicsVendor::Nvidia:
        return kGeForceGtx260;
    case GraphicsVendor::Intel:
        return kIntelG41;
    case GraphicsVendor::Ati:
        break;
    }
    return kRadeonHd4870;
}

std::optional<GraphicsVendor> parseGraphicsVendor(std::string_view text) {
    std::string name(text);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    if (name == "nvidia")
        return GraphicsVendor::Nvidia;
    if (name == "intel")
        return GraphicsVendor::Intel;
    if (name == "ati" || name == "amd")
        return GraphicsVendor::Ati;
    return std::nullopt;
}

} // namespace solvane::sim
