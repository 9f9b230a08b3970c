#pragma once

#include "hw/Hardware.h"

#include <string>
#include <vector>

namespace solvane::hw {

// The operating system's management interface asked about the display adapters: the class
// "Win32_VideoController" and its properties "Name" and "DriverVersion". A query returns one value
// per adapter instance that holds the property as a text; no adapter, no value.
class VideoControllerQuery {
public:
    enum class Property { Name, DriverVersion };

    virtual ~VideoControllerQuery() = default;
    virtual std::vector<std::string> values(Property property) const = 0;
};

// The first value of a query, as the pages use it; empty when there is no adapter.
std::string firstValue(const VideoControllerQuery& query, VideoControllerQuery::Property property);

// The query answered by a hardware back-end: the simulated board's graphics card, the host's DRM
// device, or nothing. A back-end that knows neither a name nor a driver has no adapter instance.
class BackendVideoControllers final : public VideoControllerQuery {
public:
    explicit BackendVideoControllers(const Hardware& hardware) : m_hardware(hardware) {}
    std::vector<std::string> values(Property property) const override;

private:
    const Hardware& m_hardware;
};

} // namespace solvane::hw
