#include "ui/CBitmapDialog.h"

#include "ui/CLabel.h"
#include "ui/SkinRegion.h"

#include <QApplication>
#include <QChildEvent>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWindow>

namespace solvane::ui {

CBitmapDialog::CBitmapDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

bool CBitmapDialog::SetBitmap(const QString& fileName) {
    FreeBitmap();
    const QSize size = QImageReader(fileName).size();
    if (!size.isValid())
        return false;
    m_bitmapFile = fileName;
    m_bitmapSize = size;
    m_ownsBitmap = true;
    m_hasBitmap = true;
    backgroundChanged();
    return true;
}

bool CBitmapDialog::SetBitmap(int resourceId, const SkinResources& resources) {
    const auto file = resources.bitmapFile(resourceId);
    if (!file) {
        FreeBitmap();
        return false;
    }
    return SetBitmap(*file);
}

void CBitmapDialog::SetBitmap(const QImage& bitmap, Ownership ownership) {
    QImage copy = ownership == Ownership::Copy ? bitmap.convertToFormat(QImage::Format_RGB32) : QImage();
    FreeBitmap();
    if (ownership == Ownership::Copy) {
        m_ownedBitmap = std::move(copy);
        m_bitmap = &m_ownedBitmap;
    } else {
        m_bitmap = &bitmap;
    }
    m_bitmapSize = bitmap.size();
    m_ownsBitmap = ownership == Ownership::Copy;
    m_hasBitmap = true;
    backgroundChanged();
}

void CBitmapDialog::FreeBitmap() {
    m_ownedBitmap = QImage();
    m_bitmap = nullptr;
    m_bitmapFile.clear();
    m_bitmapSize = QSize();
    m_ownsBitmap = false;
    m_hasBitmap = false;
    backgroundChanged();
}

const QImage* CBitmapDialog::bitmap() const {
    if (m_hasBitmap && m_bitmap == nullptr) {
        m_ownedBitmap = loadBitmapFile(m_bitmapFile);
        if (!m_ownedBitmap.isNull())
            m_bitmap = &m_ownedBitmap;
    }
    return m_bitmap;
}

void CBitmapDialog::backgroundChanged() {
    coverWithBitmap();
    rebuildRegion();
    update();
}

void CBitmapDialog::coverWithBitmap() {
    // A bitmap that covers the whole dialog paints every pixel of it: what lies behind (the main
    // window's own background behind a page) need not be painted first.
    const bool covers = m_hasBitmap && m_bitmapSize.width() >= width() && m_bitmapSize.height() >= height();
    setAttribute(Qt::WA_OpaquePaintEvent, covers);
}

void CBitmapDialog::SetShaped(bool shaped) {
    m_shaped = shaped;
    rebuildRegion();
}

void CBitmapDialog::SetTransparentColor(ColorRef color) {
    m_transparentColor = color;
    rebuildRegion();
}

void CBitmapDialog::SetStaticTransparent(bool transparent) {
    m_transparentStatics = transparent;
    for (auto* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        applyStaticTransparency(*child);
}

void CBitmapDialog::InitDialog() {
    if (m_initialised)
        return;
    m_initialised = true;
    OnInitDialog();
}

void CBitmapDialog::DestroyWindow() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    OnDestroy();
    hide();
}

int CBitmapDialog::DoModal() {
    InitDialog();
    const int result = exec();
    DestroyWindow();
    return result;
}

void CBitmapDialog::rebuildRegion() {
    // The window keeps its full rectangle until a bitmap gives it a shape.
    if (!m_shaped || bitmap() == nullptr) {
        clearMask();
        return;
    }
    setMask(opaqueRegion(*bitmap(), m_transparentColor, size()));
}

void CBitmapDialog::applyStaticTransparency(QWidget& child) const {
    // Value labels paint their own background; only plain static texts follow the dialog.
    if (qobject_cast<QLabel*>(&child) != nullptr && qobject_cast<CLabel*>(&child) == nullptr)
        child.setAutoFillBackground(!m_transparentStatics);
}

void CBitmapDialog::paintEvent(QPaintEvent* event) {
    if (bitmap() == nullptr) {
        // A background file gone since it was set (the program removed while it runs): the default
        // background, which Qt leaves to the dialog while it expects the bitmap to cover it.
        if (m_hasBitmap)
            QPainter(this).fillRect(event->rect(), palette().window());
        QDialog::paintEvent(event);
        return;
    }
    // Unscaled from the top-left corner; a bitmap smaller than the window leaves the rest to the
    // default background. Rectangle by rectangle of what needs painting: a read-out that changed
    // repaints the background under it alone, as a plain copy that Qt does in this thread rather
    // than splitting a clipped blend into jobs for its thread pool.
    QPainter painter(this);
    const QRect covered = bitmap()->rect() & rect();
    for (const QRect& area : event->region()) {
        const QRect drawn = area & covered;
        if (drawn.isEmpty())
            continue;
        painter.setClipRect(drawn);
        painter.drawImage(drawn.topLeft(), *bitmap(), drawn);
    }
}

void CBitmapDialog::mousePressEvent(QMouseEvent* event) {
    QDialog::mousePressEvent(event);
    if (!m_drag || event->button() != Qt::LeftButton)
        return;
    // The move starts only once the pointer travels with the button held: a click or a tap alone
    // never hands the pointer to a move that would then wait for a release it already missed.
    m_dragPending = true;
    m_dragOffset = event->globalPosition() - QPointF(window()->pos());
    m_pressedAt = event->globalPosition();
}

void CBitmapDialog::mouseMoveEvent(QMouseEvent* event) {
    const bool held = (event->buttons() & Qt::LeftButton) != 0;
    if (!held)
        m_dragPending = m_draggingByHand = false;
    if (m_dragPending &&
        (event->globalPosition() - m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
        m_dragPending = false;
        // The window system's own move: it ends the drag on release wherever that happens, and it
        // is the only way to move a window where clients cannot place themselves.
        QWindow* handle = window()->windowHandle();
        if (handle != nullptr && handle->startSystemMove())
            return;
        m_draggingByHand = true;
    }
    if (m_draggingByHand) {
        window()->move((event->globalPosition() - m_dragOffset).toPoint());
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CBitmapDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragPending = m_draggingByHand = false;
    QDialog::mouseReleaseEvent(event);
}

void CBitmapDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    coverWithBitmap();
    // The shape covers the part of the bitmap inside the window, so it follows the window's size.
    if (m_shaped)
        rebuildRegion();
}

void CBitmapDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // Nothing draws a hidden dialog: a background from a file gives its pixels back, to be decoded
    // again when the dialog is next drawn (minimised, put away or a page not shown).
    if (!m_bitmapFile.isEmpty()) {
        m_bitmap = nullptr;
        m_ownedBitmap = QImage();
    }
}

bool CBitmapDialog::event(QEvent* event) {
    if (event->type() == QEvent::ChildPolished) {
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            applyStaticTransparency(*child);
    }
    return QDialog::event(event);
}

} // namespace solvane::ui
