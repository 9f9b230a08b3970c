#include "hw/SettingRegisterMap.h"

namespace solvane::hw {

namespace {

struct OwnList {
    BoardSet boards;
    Setting setting;
    std::span<const std::uint8_t> codes;
};

constexpr std::array<OwnList, 6> kOwnLists{{
    {{2911}, Setting::CpuVoltage, k2911CpuVoltageCodes},
    {{2911}, Setting::DdrVoltage, k2911DdrVoltageCodes},
    {{2911}, Setting::MchVoltage, k2911MchVoltageCodes},
    {{2911}, Setting::IchVoltage, k2911IchVoltageCodes},
    {{2902, 2905}, Setting::CpuVoltage, k2902CpuVoltageCodes},
    {{2902, 2905}, Setting::VttFsbVoltage, k2902VttFsbVoltageCodes},
}};

} // namespace

std::span<const std::uint8_t> ownCodeList(int boardCode, Setting setting) {
    for (const auto& own : kOwnLists)
        if (own.boards.contains(boardCode) && own.setting == setting)
            return own.codes;
    return {};
}

std::span<const std::uint8_t> codeList(CodeListId list, int boardCode, Setting setting) {
    switch (list) {
    case CodeListId::A:
        return kCodeListA;
    case CodeListId::B:
        return kCodeListB;
    case CodeListId::C:
        return kCodeListC;
    case CodeListId::Own:
        return ownCodeList(boardCode, setting);
    }
    return {};
}

std::uint8_t neutralCode(CodeListId list) {
    switch (list) {
    case CodeListId::A:
        return 0x40;
    case CodeListId::B:
        return 0xC0;
    case CodeListId::C:
        return 0x80;
    case CodeListId::Own:
        break;
    }
    return 0x00;
}

} // namespace solvane::hw
