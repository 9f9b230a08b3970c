#pragma once

#include "host/SensorSource.h"

namespace solvane::host {

// Readings through libsensors, with the system's sensors configuration. libsensors keeps one
// process-wide state: it is set up by the first source and torn down with the last.
class LibsensorsSource final : public SensorSource {
public:
    LibsensorsSource();
    ~LibsensorsSource() override;
    LibsensorsSource(const LibsensorsSource&) = delete;
    LibsensorsSource& operator=(const LibsensorsSource&) = delete;

    std::vector<SensorReading> read() override;
    std::string origin() const override { return "libsensors"; }

private:
    bool m_ready = false;
};

} // namespace solvane::host
