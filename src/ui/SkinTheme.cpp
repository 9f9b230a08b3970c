#include "ui/SkinTheme.h"

#include "ui/Palette.h"

#include <QApplication>
#include <QStyleFactory>

namespace solvane::ui {

QPalette skinPalette() {
    using namespace palette;
    QPalette colours;
    const auto set = [&colours](QPalette::ColorRole role, ColorRef color) {
        colours.setColor(QPalette::All, role, color.toQColor());
    };
    set(QPalette::Window, kWell);
    set(QPalette::WindowText, kText);
    set(QPalette::Base, kField);
    set(QPalette::AlternateBase, kPanel);
    set(QPalette::Text, kFieldText);
    set(QPalette::PlaceholderText, kTextDim);
    set(QPalette::Button, kFace);
    set(QPalette::ButtonText, kText);
    set(QPalette::BrightText, kAmber);
    set(QPalette::Highlight, kSelection);
    set(QPalette::HighlightedText, kText);
    set(QPalette::ToolTipBase, kToolTipGround);
    set(QPalette::ToolTipText, kText);
    set(QPalette::Link, kAccent);
    set(QPalette::LinkVisited, kAccent);
    set(QPalette::Light, kLineBright);
    set(QPalette::Midlight, kLine);
    set(QPalette::Mid, kLine);
    set(QPalette::Dark, kInk);
    set(QPalette::Shadow, kInk);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        colours.setColor(QPalette::Disabled, role, kTextOff.toQColor());
    colours.setColor(QPalette::Disabled, QPalette::Button, kFaceOff.toQColor());
    return colours;
}

QString skinControlsStyle() {
    using namespace palette;
    return QStringLiteral("QComboBox QAbstractItemView { color: %1; background: %2; selection-color: %3;"
                          " selection-background-color: %4; border: 1px solid %5; }"
                          "QToolTip { color: %3; background: %6; border: 1px solid %5; }")
        .arg(css(kFieldText), css(kField), css(kText), css(kSelection), css(kLine), css(kToolTipGround));
}

void applySkinTheme(QApplication& application) {
    if (auto* style = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(style);
    QApplication::setPalette(skinPalette());
    application.setStyleSheet(skinControlsStyle());
}

} // namespace solvane::ui
