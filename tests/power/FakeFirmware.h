#pragma once

#include "hw/HardwareLibraries.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace solvane::test {

// The firmware library's SMBIOS calls over a table held in the test. Nothing else of it is used by
// the identification.
class FakeFirmware final : public hw::Ostrel {
public:
    std::vector<std::uint8_t> table;
    std::optional<std::uint32_t> reportedLength; // a length other than the table's own
    bool delivers = true;                        // GetDMIData succeeds
    int dataCalls = 0;

    std::uint8_t Get_EFERs(std::uint16_t, std::uint8_t, std::uint8_t, std::uint8_t, std::uint8_t) override {
        return 0xFF;
    }
    std::uint8_t GetCmosAddressByte(std::uint8_t, std::uint16_t) override { return 0; }
    void WriteCmosAddressByte(std::uint8_t, std::uint8_t, std::uint16_t) override {}
    void FanControl(std::uint8_t, std::uint8_t, int) override {}
    std::uint32_t GetDMILength(std::uint32_t* length) override {
        const auto size = reportedLength.value_or(static_cast<std::uint32_t>(table.size()));
        if (length != nullptr)
            *length = size;
        return size;
    }
    bool GetDMIData(std::uint8_t* buffer, std::uint32_t size) override {
        ++dataCalls;
        if (!delivers)
            return false;
        std::copy_n(table.begin(), std::min<std::size_t>(size, table.size()), buffer);
        return true;
    }
};

} // namespace solvane::test
