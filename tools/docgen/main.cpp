// docgen: writes the manual page and the bash completion from the command-line option table.
// Usage: docgen MANUAL_PAGE BASH_COMPLETION
#include "app/BashCompletion.h"
#include "app/CommandLineOptions.h"
#include "app/ManualPage.h"
#include "solvane/Version.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool write(const char* path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        std::fprintf(stderr, "docgen: cannot write %s\n", path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: docgen MANUAL_PAGE BASH_COMPLETION\n");
        return 2;
    }
    using namespace solvane::app;
    const bool written = write(argv[1], manualPage(commandLineOptions(), solvane::kVersion)) &&
                         write(argv[2], bashCompletion(commandLineOptions()));
    return written ? EXIT_SUCCESS : EXIT_FAILURE;
}
