#include "board/BoardTraits.h"

namespace solvane::board {

const BoardTraits& traitsOfText(std::string_view codeText) {
    const auto* found =
        std::find_if(kBoardTraits.begin(), kBoardTraits.end(),
                     [codeText](const BoardTraits& row) { return std::to_string(row.code) == codeText; });
    return found == kBoardTraits.end() ? kNoTraits : *found;
}

bool digitsIn(std::string_view text, int code) {
    return text.find(std::to_string(code)) != std::string_view::npos;
}

} // namespace solvane::board
