// Feeds arbitrary bytes to the registry file reader: no crash, no read outside the input, and a
// file that was accepted is written back in a form that reads to the same text again.
#include "platform/RegEditFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvane::platform;
    RegistryKeyTree tree;
    const auto parsed = parseRegEdit(std::string_view(reinterpret_cast<const char*>(data), size), tree);
    if (!parsed.ok) {
        if (parsed.error.empty())
            std::abort();
        return 0;
    }
    const auto saved = formatRegEdit(tree);
    RegistryKeyTree reread;
    if (!parseRegEdit(saved, reread).ok || formatRegEdit(reread) != saved)
        std::abort();
    return 0;
}
