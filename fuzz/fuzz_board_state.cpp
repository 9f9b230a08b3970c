// Feeds arbitrary bytes to the simulated board's state file reader: no crash, and the entries of an
// accepted file are written to a file that reads back to the same entries.
#include "sim/BoardStateFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvane::sim;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const int board : {2917, 2905}) {
        const auto entries = parseBoardState(text, board);
        if (entries && parseBoardState(formatBoardState(board, *entries), board) != entries)
            std::abort();
    }
    return 0;
}
