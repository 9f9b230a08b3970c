#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace solvane::hw {

// Model names of the Tarvok boards, one text record per board: the four-digit board code, then one
// or more model names, every field ended by ";". The information page shows the first name unless
// the board's variant rules pick another (2904 has one name per board revision).
inline constexpr std::array<std::string_view, 17> kBoardModelNameRecords = {
    "2901;Alder-A1;",   "2902;Alder-A2;",
    "2903;Alder-A3;",   "2904;Birch-B1;Birch-B2;Birch-B3;Birch-B4;Birch-B5;",
    "2905;Cedar-C1;",   "2906;Cedar-C2;",
    "2907;Cedar-C3;",   "2908;Dogwood-D1;",
    "2909;Dogwood-D2;", "2910;Elm-E1;",
    "2911;Cedar-C4;",   "2912;Cedar-C5;",
    "2913;Birch-B6;",   "2914;Dogwood-D3;",
    "2915;Elm-E2;",     "2916;Elm-E3;",
    "2917;Elm-E4;",
};

// Kept in the same table area and the same field form: processor signatures (hexadecimal CPUID
// family, model and stepping) with their codenames, and Super I/O chip identifiers with chip names.
inline constexpr std::array<std::string_view, 3> kProcessorCodenameRecords = {
    "106A4;NehalemC0;",
    "106A2;Nehalem Bloomfield;",
    "106A0;Nehalem;",
};
inline constexpr std::array<std::string_view, 2> kSuperIoChipRecords = {
    "0x2307;F71889F;",
    "0x4105;F71882FG;",
};

// The record whose code field is exactly boardCode ("2904"); empty when the table has none.
std::optional<std::string_view> findBoardModelNameRecord(std::string_view boardCode);
// Name number (counted from 1) of a record; empty when the record holds fewer names.
std::string_view boardModelName(std::string_view record, std::size_t number);

namespace detail {

constexpr bool isWellFormedRecord(std::string_view record, std::size_t codeLength) {
    return record.size() > codeLength + 1 && record.back() == ';' && record.find(';') == codeLength &&
           record.find(";;") == std::string_view::npos;
}

constexpr bool modelRecordsAreOrdered() {
    for (std::size_t i = 0; i < kBoardModelNameRecords.size(); ++i) {
        const auto record = kBoardModelNameRecords[i];
        if (!isWellFormedRecord(record, 4))
            return false;
        if (i > 0 && !(kBoardModelNameRecords[i - 1].substr(0, 4) < record.substr(0, 4)))
            return false;
    }
    return true;
}

} // namespace detail

// Every record has a four-digit code and at least one name; codes are unique and ascending.
static_assert(detail::modelRecordsAreOrdered());
static_assert(kBoardModelNameRecords.front().starts_with("2901;") &&
              kBoardModelNameRecords.back().starts_with("2917;"));
static_assert(detail::isWellFormedRecord(kProcessorCodenameRecords[0], 5) &&
              detail::isWellFormedRecord(kProcessorCodenameRecords[1], 5) &&
              detail::isWellFormedRecord(kProcessorCodenameRecords[2], 5));
static_assert(detail::isWellFormedRecord(kSuperIoChipRecords[0], 6) &&
              detail::isWellFormedRecord(kSuperIoChipRecords[1], 6));

} // namespace solvane::hw
