#pragma once

#include "hw/VideoBiosVersion.h"
#include "hw/VideoControllerQuery.h"
#include "hw/driver/IoDriver.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace solvane::hw {

// Finds the graphics BIOS version when the graphics library cannot tell it: the display controller
// on buses 0 to 32 through the I/O driver's configuration read, the parser of its vendor, the
// parser's marker in the legacy video BIOS window through the driver's memory read, and the version
// text at the first match. Made, run once and dropped by the motherboard information page. Every
// failure (no driver, no controller, a vendor without a parser, no marker, an unreadable image)
// ends with an empty version; nothing is reported.
class GraphicsBiosProbe {
public:
    // driver may be null (no driver: nothing is found).
    GraphicsBiosProbe(IoDriver* driver, const VideoControllerQuery& controllers);

    void Run();

    // The adapter's name from the management interface, trimmed.
    const std::string& adapterName() const { return m_adapterName; }
    const std::string& version() const { return m_version; }
    // The parser the scan chose; None until Run, and when no controller was found.
    VideoBiosParser parser() const { return m_parser; }

    // The last bus the scan looks at.
    static constexpr std::uint32_t kLastBus = 32;

private:
    VideoBiosParser findDisplayController();
    std::optional<std::uint32_t> readConfigDword(std::uint32_t pciAddress, std::uint32_t offset);
    std::vector<std::uint32_t> searchMarker(std::string_view marker);
    void runParser(VideoBiosParser parser);

    IoDriver* m_driver;
    const VideoControllerQuery& m_controllers;
    std::string m_adapterName;
    std::string m_version;
    VideoBiosParser m_parser = VideoBiosParser::None;
};

} // namespace solvane::hw
