#include "sim/SimulatedPexmon.h"

namespace solvane::sim {

namespace {

// At most the characters the program's buffers hold.
std::string fitted(std::string_view text) {
    return std::string(text.substr(0, hw::Pexmon::kTextBufferSize - 1));
}

// The version of an NVIDIA video BIOS: the word after "Version " in its sign-on text.
std::string_view nvidiaBiosVersion(std::string_view signOn) {
    constexpr std::string_view kMarker = "Version ";
    const auto at = signOn.find(kMarker);
    if (at == std::string_view::npos)
        return {};
    const auto rest = signOn.substr(at + kMarker.size());
    return rest.substr(0, rest.find(' '));
}

} // namespace

int SimulatedPexmon::Init() {
    const auto vendor = m_board.graphics().vendor;
    m_ready = vendor != GraphicsVendor::Intel && !m_board.options().faults.pexmonUnusable;
    return m_ready ? 1 : 0;
}

void SimulatedPexmon::GetVGABIOSVersion(std::string& text) {
    const auto& card = m_board.graphics();
    if (m_ready && card.vendor == GraphicsVendor::Nvidia)
        text = fitted(nvidiaBiosVersion(card.signOn));
}

void SimulatedPexmon::GetDriverVersion(std::string& text) {
    if (m_ready)
        text = fitted(m_board.graphics().driverVersion);
}

} // namespace solvane::sim
