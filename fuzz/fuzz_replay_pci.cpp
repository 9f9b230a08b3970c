// Feeds arbitrary text to the lspci -x dump parser: it must never read outside its input, and every
// function it accepts must hold whole rows of at least the standard header.
#include "hw/replay/ReplayPci.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = solvane::hw::parsePciDump(text);
    if (parsed.ok()) {
        for (const auto& function : parsed.value()) {
            if (function.config.size() < 64 || function.config.size() > 4096 ||
                function.config.size() % 16 != 0 || function.device > 31 || function.function > 7)
                std::abort();
            static_cast<void>(function.vendorId() + function.deviceId() + function.classCode());
        }
    } else if (parsed.error().empty()) {
        std::abort();
    }
    return 0;
}
