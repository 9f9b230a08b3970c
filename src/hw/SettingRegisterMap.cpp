#include "hw/SettingRegisterMap.h"

#include "board/BoardTraits.h"

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

namespace {

constexpr BoardSet kCpuPhaseWriteBoards{2917, 2916, 2915, 2910, 2912, 2911, 2907,
                                        2903, 2902, 2905, 2904, 2901, 2906};
constexpr BoardSet kCpuPhaseReadBoards{2918, 2916, 2917, 2915, 2910, 2912, 2911, 2907,
                                       2903, 2902, 2905, 2904, 2901, 2909, 2906};
constexpr BoardSet kAllLedBoards{2917, 2916, 2915, 2911, 2910};

bool isNibbleWrite(Setting setting) {
    return setting == Setting::DdrVoltage || setting == Setting::DdrVrefCaA ||
           setting == Setting::MchVoltage || setting == Setting::IchVoltage;
}

bool isNibbleRead(Setting setting) {
    return isNibbleWrite(setting) || setting == Setting::CpuPllVoltage;
}

template <class Row, std::size_t N>
bool anyRow(const std::array<Row, N>& rows, int boardCode, Setting setting, bool needReadBack) {
    for (const auto& row : rows)
        if (row.setting == setting && row.boards.contains(boardCode) && (!needReadBack || row.readBack))
            return true;
    return false;
}

} // namespace

bool hasWriteRow(int boardCode, Setting setting) {
    switch (setting) {
    case Setting::CpuPhase:
        return kCpuPhaseWriteBoards.contains(boardCode);
    case Setting::AllLed:
        return kAllLedBoards.contains(boardCode);
    default:
        break;
    }
    if (setting == Setting::CpuPhaseLed && board::traitsOf(boardCode).phaseLed != board::PhaseLed::Rows)
        return true;
    if (kNibbleBoards.contains(boardCode) && isNibbleWrite(setting))
        return true;
    return anyRow(kCodeRows, boardCode, setting, false) || anyRow(kBitRows, boardCode, setting, false);
}

bool hasReadBack(int boardCode, Setting setting) {
    switch (setting) {
    case Setting::CpuPhase:
        return kCpuPhaseReadBoards.contains(boardCode);
    case Setting::AllLed:
        return false;
    default:
        break;
    }
    if (setting == Setting::CpuPhaseLed && board::traitsOf(boardCode).phaseLed != board::PhaseLed::Rows)
        return true;
    if (kNibbleBoards.contains(boardCode) && isNibbleRead(setting))
        return true;
    for (const auto& row : kPhaseReadRows)
        if (row.setting == setting && row.boards.contains(boardCode))
            return true;
    return anyRow(kCodeRows, boardCode, setting, true) ||
           (indexOf(setting) >= indexOf(Setting::AllLed) && anyRow(kBitRows, boardCode, setting, true));
}

} // namespace solvane::hw
