#include "ui/ColorLine.h"

namespace solvane::ui {

namespace {

int colorIndexOr(int index, int fallback) {
    return index >= 0 && index < static_cast<int>(kListColors.size()) ? index : fallback;
}

} // namespace

QString encodeColorLine(int textIndex, int backIndex, const QString& text) {
    QString stored;
    stored.reserve(text.size() + 2);
    stored += QChar(colorIndexOr(textIndex, kPlainTextIndex) + 1);
    stored += QChar(colorIndexOr(backIndex, kPlainBackIndex) + 1);
    for (const QChar c : text)
        stored += c == u'\r' || c == u'\n' ? QChar(u' ') : c;
    return stored;
}

ColorLine decodeColorLine(const QString& stored) {
    if (stored.size() < 2)
        return {kPlainTextIndex, kPlainBackIndex, stored};
    return {colorIndexOr(stored[0].unicode() - 1, kPlainTextIndex),
            colorIndexOr(stored[1].unicode() - 1, kPlainBackIndex), stored.mid(2)};
}

} // namespace solvane::ui
