#include "ui/CxSkinButton.h"

#include "ui/SkinRegion.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <qdrawutil.h>

namespace solvane::ui {

namespace {
// Masks are drawn black where the button is and white where it is not.
constexpr ColorRef kMaskClear{0xFFFFFF};
} // namespace

CxSkinButton::CxSkinButton(QWidget* parent, Kind kind)
    : QAbstractButton(parent), m_kind(kind),
      m_textColor(ColorRef::fromQColor(palette().color(QPalette::ButtonText))) {
    setMouseTracking(true);
}

void CxSkinButton::SetSkin(const SkinIds& ids, DrawMode mode, Border border, int focusMargin,
                           const SkinResources& resources) {
    SkinPictures pictures{resources.bitmap(ids.normal), resources.bitmap(ids.pressed),
                          resources.bitmap(ids.hover),  resources.bitmap(ids.disabled),
                          resources.bitmap(ids.focus),  resources.bitmap(ids.mask)};
    if (pictures.disabled.isNull())
        pictures.disabled = pictures.normal;
    SetSkin(std::move(pictures), mode, border, focusMargin);
}

void CxSkinButton::SetSkin(const SkinFiles& files, DrawMode mode, Border border, int focusMargin,
                           const SkinResources& resources) {
    SetSkin(SkinPictures{loadBitmapFile(files.normal), loadBitmapFile(files.pressed),
                         loadBitmapFile(files.hover), loadBitmapFile(files.disabled),
                         resources.bitmap(files.focusId), resources.bitmap(files.maskId)},
            mode, border, focusMargin);
}

void CxSkinButton::SetSkin(SkinPictures pictures, DrawMode mode, Border border, int focusMargin) {
    m_pictures = std::move(pictures);
    m_drawMode = mode;
    m_border = border;
    m_focusMargin = std::max(focusMargin, 0);
    m_region = QRegion();
    if (!m_pictures.mask.isNull()) {
        const QImage& mask = m_pictures.mask;
        m_region = opaqueRegion(mask, kMaskClear, mask.size());
        if (mode == DrawMode::Copy)
            resize(mask.size());
        setMask(m_region);
    } else {
        clearMask();
    }
    update();
}

ColorRef CxSkinButton::SetTextColor(ColorRef color) {
    const ColorRef previous = m_textColor;
    m_textColor = color;
    update();
    return previous;
}

void CxSkinButton::SetBtnCursor(int cursorId, const SkinResources& resources) {
    if (const auto cursor = resources.cursor(cursorId))
        setCursor(*cursor);
    else
        unsetCursor();
}

void CxSkinButton::SetCheck(bool checked) {
    m_checked = m_kind != Kind::PushButton && checked;
    if (m_kind == Kind::RadioButton && m_checked && parentWidget() != nullptr) {
        for (auto* partner : parentWidget()->findChildren<CxSkinButton*>(Qt::FindDirectChildrenOnly))
            if (partner != this && partner->m_radioGroup == m_radioGroup)
                partner->OnPartnerChecked();
    }
    update();
}

void CxSkinButton::OnPartnerChecked() {
    if (!m_checked)
        return;
    m_checked = false;
    update();
}

void CxSkinButton::clickCheck() {
    if (m_kind == Kind::CheckBox)
        SetCheck(!m_checked);
    else if (m_kind == Kind::RadioButton)
        SetCheck(true);
}

const QImage& CxSkinButton::pictureForState() const {
    if (m_pictures.normal.isNull())
        return m_pictures.normal;
    if (!m_pictures.hover.isNull() && m_hover)
        return m_pictures.hover;
    if (!m_pictures.focus.isNull() && hasFocus())
        return m_pictures.focus;
    return m_pictures.normal;
}

void CxSkinButton::drawCaption(QPainter& painter, QRect textRect, const QColor& color) const {
    painter.setPen(color);
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void CxSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect item = rect();
    const int inset = m_focusMargin + 2;
    QRect textRect = item.adjusted(inset, 0, -inset, 0);
    const QImage& mask = m_pictures.mask;
    const QColor face = palette().color(QPalette::Button);

    auto drawPicture = [&](const QImage& picture) {
        if (picture.isNull())
            painter.fillRect(item, face);
        else
            drawSkinPicture(painter, item, picture, mask, m_drawMode);
    };

    if (!isEnabled()) {
        drawPicture(m_pictures.disabled);
        if (m_border == Border::ThreeD)
            qDrawWinButton(&painter, item, palette(), false);
        // Embossed: a light copy one pixel down-right of the grey caption.
        drawCaption(painter, textRect, palette().color(QPalette::Light));
        drawCaption(painter, textRect.translated(-1, -1),
                    palette().color(QPalette::Disabled, QPalette::Text));
        return;
    }
    if (isDown() || m_checked) {
        drawPicture(m_pictures.pressed);
        textRect.translate(1, 1);
        if (m_border == Border::ThreeD)
            qDrawWinButton(&painter, item, palette(), true);
    } else {
        drawPicture(pictureForState());
        if (m_border == Border::ThreeD)
            qDrawWinButton(&painter, item, palette(), false);
        if (hasFocus() && m_focusMargin > 0) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = item.adjusted(m_focusMargin, m_focusMargin, -m_focusMargin, -m_focusMargin);
            style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
        }
    }
    drawCaption(painter, textRect, m_textColor.toQColor());
}

void CxSkinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mousePressEvent(event);
        return;
    }
    // Pressing ends hover tracking; the next move after the release starts it again.
    m_hover = false;
    QAbstractButton::mousePressEvent(event);
    m_pressed = isDown();
}

void CxSkinButton::mouseMoveEvent(QMouseEvent* event) {
    if (m_pressed && (event->buttons() & Qt::LeftButton) != 0) {
        // The pushed look follows the cursor while the button holds the mouse.
        const bool over = hitButton(event->position().toPoint());
        if (over != isDown())
            setDown(over);
        return;
    }
    if (!m_pressed && !m_hover) {
        m_hover = true;
        update();
    }
}

void CxSkinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractButton::mouseReleaseEvent(event);
        return;
    }
    // Releasing outside the button neither toggles nor checks it.
    if (m_pressed && hitButton(event->position().toPoint()))
        clickCheck();
    m_pressed = false;
    QAbstractButton::mouseReleaseEvent(event);
}

void CxSkinButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CxSkinButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        clickCheck();
    QAbstractButton::keyPressEvent(event);
}

void CxSkinButton::focusOutEvent(QFocusEvent* event) {
    if (m_pressed) {
        if (mouseGrabber() == this)
            releaseMouse();
        m_pressed = false;
        setDown(false);
    }
    QAbstractButton::focusOutEvent(event);
}

void CxSkinButton::leaveEvent(QEvent* event) {
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

bool CxSkinButton::hitButton(const QPoint& position) const {
    return m_region.isEmpty() ? rect().contains(position) : m_region.contains(position);
}

} // namespace solvane::ui
