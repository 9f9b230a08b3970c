// Feeds arbitrary bytes to the SPD image parser (binary or hex text) and to the slot parser: no read
// outside the input, and an accepted image always has the size of a real EEPROM.
#include "hw/replay/ReplaySpd.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvane::hw;
    const auto image = parseSpdImage(std::span<const std::uint8_t>(data, size));
    if (image.ok() ? image.value().size() < kSpdMinimumBytes || image.value().size() > kSpdMaximumBytes
                   : image.error().empty())
        std::abort();
    const auto slot = parseSpdSlot(std::string_view(reinterpret_cast<const char*>(data), size));
    if (slot.ok() && (slot.value() < 0xA0 || slot.value() > 0xAE || (slot.value() & 1) != 0))
        std::abort();
    return 0;
}
