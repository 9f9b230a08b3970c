#include "sysinfo/MemoryModuleDecoder.h"

#include "sysinfo/ByteCodeTable.h"
#include "sysinfo/Ddr3SpdLayout.h"
#include "sysinfo/Ddr4SpdLayout.h"
#include "sysinfo/Ddr5SpdLayout.h"
#include "sysinfo/Jep106.h"
#include "sysinfo/MemoryTables.h"
#include "sysinfo/SpdModuleDecoders.h"

#include <cstdio>

namespace solvane::sysinfo {

namespace {

using namespace ddr3_spd;

// The continuation count lives in the low four bits; bit 7 is its parity.
constexpr unsigned kContinuationMask = 0x0F;

std::string hexByte(std::uint8_t byte) {
    char text[4];
    std::snprintf(text, sizeof text, "%.2X", byte);
    return text;
}

std::string partNumber(std::span<const std::uint8_t> spd) {
    std::string part;
    for (std::size_t offset = kPartNumberFirst; offset <= kPartNumberLast; ++offset)
        if (const auto character = findRowText(kPartNumberCharacterRows, byteAt(spd, offset)))
            part += *character;
    return part;
}

std::string serialNumber(std::span<const std::uint8_t> spd) {
    std::string serial;
    for (std::size_t offset = kSerialLast + 1; offset-- > kSerialFirst;)
        serial += hexByte(byteAt(spd, offset));
    return serial;
}

std::string manufacturer(std::span<const std::uint8_t> spd) {
    const int bank = static_cast<int>(byteAt(spd, kContinuationCount) & kContinuationMask) + 1;
    return std::string(jep106Name(bank, byteAt(spd, kManufacturerCode)));
}

std::string weekYearText(const SpdModuleDetails& module) {
    if (!module.week || !module.year)
        return {};
    char text[16];
    std::snprintf(text, sizeof text, "%.2d / %.2d", *module.week, *module.year % 100);
    return text;
}

std::string sizeText(const SpdModuleDetails& module) {
    std::string text;
    if (module.sizeMegabytes != 0) {
        text = std::to_string(module.sizeMegabytes) + " MBytes (" + std::to_string(module.ranks) + "Rx" +
               std::to_string(module.deviceWidthBits);
        if (module.dieCount > 1)
            text += ", " + std::to_string(module.dieCount) + " dies";
        text += ")";
    }
    const auto add = [&text](std::string_view problem) {
        text += (text.empty() ? "" : ", ") + std::string(problem);
    };
    if (module.crcFailed())
        add("CRC error");
    if (!module.note.empty())
        add("incomplete SPD");
    return text;
}

} // namespace

std::optional<ModuleFieldTexts> MemoryModuleTexts::pageFields() const {
    if (ddr3)
        return ddr3;
    if (spd)
        return spdFieldTexts(*spd);
    return std::nullopt;
}

std::string spdTypeText(const SpdModuleDetails& module) {
    return module.form.empty() ? module.generation : module.generation + " " + module.form;
}

ModuleFieldTexts spdFieldTexts(const SpdModuleDetails& module) {
    return {sizeText(module),  weekYearText(module), module.manufacturer,
            module.partNumber, module.serialNumber,  spdTimingsTable(module)};
}

MemoryModuleTexts decodeMemoryModule(std::span<const std::uint8_t> spd) {
    const std::uint8_t type = byteAt(spd, kMemoryType);
    MemoryModuleTexts texts{std::string(memoryTypeText(type)), std::nullopt, std::nullopt};
    if (type == ddr4_spd::kTypeCode || type == ddr5_spd::kTypeCode) {
        texts.spd = type == ddr4_spd::kTypeCode ? decodeDdr4Module(spd) : decodeDdr5Module(spd);
        texts.memoryType = spdTypeText(*texts.spd);
        return texts;
    }
    if (type != kDdr3TypeCode)
        return texts;
    ModuleFieldTexts ddr3;
    ddr3.moduleSize = std::string(
        moduleSizeText(byteAt(spd, kDensity), byteAt(spd, kOrganisation)).value_or(std::string_view{}));
    ddr3.partNumber = partNumber(spd);
    ddr3.serialNumber = serialNumber(spd);
    ddr3.manufacturer = manufacturer(spd);
    // Week and year are binary-coded decimal: printed in hexadecimal they show their decimal digits.
    ddr3.weekYear = hexByte(byteAt(spd, kWeek)) + " / " + hexByte(byteAt(spd, kYear));
    ddr3.timings = ddr3TimingsTable(spd);
    texts.ddr3 = std::move(ddr3);
    return texts;
}

} // namespace solvane::sysinfo
