#include "hw/BoardModelNames.h"

#include "hw/TextRow.h"

namespace solvane::hw {

std::optional<std::string_view> findBoardModelNameRecord(std::string_view boardCode) {
    for (const auto record : kBoardModelNameRecords) {
        auto row = record;
        if (takeRowField(row) == boardCode)
            return record;
    }
    return std::nullopt;
}

std::string_view boardModelName(std::string_view record, std::size_t number) {
    if (number == 0)
        return {};
    auto row = record;
    takeRowField(row); // the board code
    for (std::size_t index = 1;; ++index) {
        const auto name = takeRowField(row);
        if (!name)
            return {};
        if (index == number)
            return *name;
    }
}

} // namespace solvane::hw
