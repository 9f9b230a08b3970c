#pragma once

#include <QColor>
#include <cstdint>

namespace solvane::ui {

// A colour as the dialogs, skins and colour tables give it: 0x00BBGGRR, red in the low byte. So
// 0x0000FF is pure red and 0xFF0000 pure blue.
class ColorRef {
public:
    constexpr ColorRef() = default;
    constexpr explicit ColorRef(std::uint32_t bgr) : m_value(bgr & 0xFFFFFFU) {}
    static constexpr ColorRef fromRgb(int red, int green, int blue) {
        return ColorRef(
            static_cast<std::uint32_t>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16)));
    }
    static ColorRef fromQColor(const QColor& color) {
        return fromRgb(color.red(), color.green(), color.blue());
    }

    constexpr int red() const { return static_cast<int>(m_value & 0xFFU); }
    constexpr int green() const { return static_cast<int>((m_value >> 8) & 0xFFU); }
    constexpr int blue() const { return static_cast<int>((m_value >> 16) & 0xFFU); }
    constexpr std::uint32_t value() const { return m_value; }
    QColor toQColor() const { return QColor(red(), green(), blue()); }

    friend constexpr bool operator==(ColorRef, ColorRef) = default;

private:
    std::uint32_t m_value = 0;
};

} // namespace solvane::ui
