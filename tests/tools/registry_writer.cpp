// Rewrites two registry values in a tight loop until killed, so a test can kill it at random
// moments and check the registry file stays whole. "Text" is written before "Counter", so a file
// between the two writes holds Counter = Text - 1, and otherwise Counter = Text.
#include "platform/FileRegistry.h"

#include <iostream>
#include <string>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::cerr << "usage: registry_writer FILE\n";
        return 2;
    }
    auto opened = solvane::platform::FileRegistry::open(argv[1]);
    if (!opened.notice.empty()) {
        std::cerr << opened.notice << '\n';
        return 1;
    }
    auto& registry = *opened.registry;
    constexpr std::string_view kKey = "Software\\Tarvok\\SolvaneCenter2\\Batch";
    std::uint32_t next = registry.readDword(kKey, "Counter").value_or(0) + 1;
    std::cout << "ready" << std::endl;
    for (;; ++next) {
        if (!registry.writeString(kKey, "Text", std::to_string(next)) || !registry.writeDword(kKey, "Counter", next)) {
            std::cerr << registry.lastError() << '\n';
            return 1;
        }
    }
}
