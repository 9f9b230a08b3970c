#include "sysinfo/SuperIoIdentity.h"

#include "hw/BoardModelNames.h"
#include "hw/TextRow.h"

namespace solvane::sysinfo {

namespace {

// Identification registers of logical device 4.
constexpr std::uint8_t kChipIdLow = 0x20;
constexpr std::uint8_t kChipIdHigh = 0x21;
constexpr std::uint8_t kVendorIdLow = 0x23;
constexpr std::uint8_t kVendorIdHigh = 0x24;
// The Fintek vendor id, high byte 0x34 in register 0x24, low byte 0x19 in register 0x23.
constexpr std::uint8_t kFintekHigh = 0x34;
constexpr std::uint8_t kFintekLow = 0x19;
constexpr std::string_view kFintek = "Fintek";
constexpr std::size_t kChipIdDigits = 4;
constexpr std::uint8_t kReadFlag = 1;

} // namespace

SuperIoIdentity identifySuperIo(hw::Ostrel& superIo) {
    const auto read = [&superIo](std::uint8_t reg) {
        return superIo.Get_EFERs(hw::Ostrel::kSuperIoConfigPort, hw::Ostrel::kIdentificationDevice, reg, 0,
                                 kReadFlag);
    };
    SuperIoIdentity identity;
    const auto vendorHigh = read(kVendorIdHigh);
    const auto vendorLow = read(kVendorIdLow);
    if (vendorHigh != kFintekHigh || vendorLow != kFintekLow)
        return identity;
    identity.vendor = kFintek;
    const auto chipHigh = read(kChipIdHigh);
    const auto chipLow = read(kChipIdLow);
    const std::uint32_t chipId = chipHigh * 256U + chipLow;
    for (const auto record : hw::kSuperIoChipRecords) {
        auto row = record;
        const auto code = hw::takeRowField(row);
        const auto name = hw::takeRowField(row);
        if (code && name && hw::readHexCode(*code, kChipIdDigits) == chipId) {
            identity.chip = *name;
            break;
        }
    }
    return identity;
}

} // namespace solvane::sysinfo
