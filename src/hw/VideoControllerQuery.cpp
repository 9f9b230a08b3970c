#include "hw/VideoControllerQuery.h"

namespace solvane::hw {

std::string firstValue(const VideoControllerQuery& query, VideoControllerQuery::Property property) {
    const auto values = query.values(property);
    return values.empty() ? std::string() : values.front();
}

std::vector<std::string> BackendVideoControllers::values(Property property) const {
    auto name = m_hardware.videoControllerName();
    auto driverVersion = m_hardware.videoDriverVersion();
    if (name.empty() && driverVersion.empty())
        return {};
    return {property == Property::Name ? std::move(name) : std::move(driverVersion)};
}

} // namespace solvane::hw
