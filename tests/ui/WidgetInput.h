#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

// Synthetic input delivered straight to a widget, as the window system delivers it to the widget
// that holds the mouse.
namespace solvane::test {

inline void sendMouse(QWidget& widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(position), widget.mapToGlobal(QPointF(position)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

inline void mouseMove(QWidget& widget, QPoint position, Qt::MouseButtons held = Qt::NoButton) {
    sendMouse(widget, QEvent::MouseMove, position, Qt::NoButton, held);
}

inline void mousePress(QWidget& widget, QPoint position) {
    sendMouse(widget, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
}

inline void mouseRelease(QWidget& widget, QPoint position) {
    sendMouse(widget, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
}

inline void click(QWidget& widget, QPoint position = {2, 2}) {
    mousePress(widget, position);
    mouseRelease(widget, position);
}

inline void mouseLeave(QWidget& widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}

inline void key(QWidget& widget, int keyCode, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, keyCode, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, keyCode, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

// What the widget paints, as plain 32-bit pixels.
inline QImage render(QWidget& widget) {
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Text without smoothing, so every text pixel has exactly the colour it was drawn in.
inline void useCrispFont(QWidget& widget, int pixelSize = 0) {
    QFont crisp = widget.font();
    crisp.setStyleStrategy(QFont::NoAntialias);
    if (pixelSize > 0)
        crisp.setPixelSize(pixelSize);
    widget.setFont(crisp);
}

// A parent filled with one colour, to see what a child leaves visible.
inline void fillBackground(QWidget& widget, QSize size, QColor color) {
    widget.resize(size);
    widget.setAutoFillBackground(true);
    QPalette colors = widget.palette();
    colors.setColor(QPalette::Window, color);
    widget.setPalette(colors);
}

inline QImage solidImage(int width, int height, QColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace solvane::test
