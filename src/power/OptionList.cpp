#include "power/OptionList.h"

#include <array>
#include <cstdio>

namespace solvane::power {

std::string_view OptionList::text(SettingValue index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= texts.size())
        return {};
    return texts[static_cast<std::size_t>(index)];
}

std::string formatVoltageOption(const OptionPiece& piece, int index, VoltageText style) {
    if (piece.divisor == 0)
        return std::string(kAutoOption);
    const int numerator = piece.start + piece.step * (index - piece.first);
    const double volts = piece.base + static_cast<double>(numerator) / piece.divisor;
    std::array<char, 32> buffer{};
    if (style == VoltageText::Signed)
        std::snprintf(buffer.data(), buffer.size(), "%s%.3f V", volts < 0 ? "" : "+", volts);
    else
        std::snprintf(buffer.data(), buffer.size(), "%.3f V", volts);
    return buffer.data();
}

OptionList buildOptionList(const OptionListSpec& layout) {
    OptionList list;
    list.texts.reserve(layout.size());
    for (const auto text : layout.fixedTexts)
        list.texts.emplace_back(text);
    for (const auto& piece : layout.pieces)
        for (int i = piece.first; i <= piece.last; ++i)
            list.texts.push_back(formatVoltageOption(piece, i, layout.style));
    list.codes = layout.codes;
    list.defaultIndex = layout.defaultIndex;
    return list;
}

} // namespace solvane::power
