#pragma once

#include "ui/ColorRef.h"
#include "ui/SkinResources.h"

#include <QDialog>
#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>

namespace solvane::ui {

// A dialog whose background is a bitmap and whose window can take the shape of the bitmap's
// non-transparent pixels. The main window and every stacked page derive from it.
//
// Life cycle: InitDialog() runs the dialog's initialisation (OnInitDialog) once, before the dialog
// is shown or used as a page; DestroyWindow() runs OnDestroy once when the dialog's window goes
// away. DoModal() does both around the modal loop.
class CBitmapDialog : public QDialog {
    Q_OBJECT
public:
    enum class Ownership {
        Copy,      // the dialog keeps its own copy of the bitmap
        Reference, // the dialog draws the caller's bitmap, which must outlive it or be replaced
    };

    explicit CBitmapDialog(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // Background from a bitmap file. False, and no background, when the file is not a bitmap. Only
    // its header is read here: the pixels are decoded when the background is first drawn, and
    // dropped again while the dialog is hidden, so a page that is not shown holds no picture.
    bool SetBitmap(const QString& fileName);
    // Background from a bitmap resource's file, as above. False, and no background, for an
    // unknown resource or a file that is not a bitmap.
    bool SetBitmap(int resourceId, const SkinResources& resources = SkinResources::program());
    void SetBitmap(const QImage& bitmap, Ownership ownership);
    // Drops the background; the dialog then paints its default background.
    void FreeBitmap();
    // The current background, decoded from its file if it is not at the moment; none without a
    // background or when its file can no longer be read.
    const QImage* bitmap() const;
    bool ownsBitmap() const { return m_ownsBitmap; }

    // Shaped: the window shows only the background's pixels that differ from the transparent
    // colour. Each of these setters rebuilds the shape at once.
    void SetShaped(bool shaped);
    bool shaped() const { return m_shaped; }
    void SetTransparentColor(ColorRef color);
    ColorRef transparentColor() const { return m_transparentColor; }

    // Static text controls (plain QLabel children) show the background through them; off, they
    // paint the dialog's background colour.
    void SetStaticTransparent(bool transparent);
    // A press anywhere on the background followed by a move with the button held drags the window.
    void SetClickAnywhereMove(bool drag) { m_drag = drag; }

    void InitDialog();
    void DestroyWindow();
    // Runs the dialog modally: initialisation, the modal loop, then the window's destruction.
    virtual int DoModal();

protected:
    // The dialog's initialisation (WM_INITDIALOG); overrides call the base first.
    virtual void OnInitDialog() {}
    // The window is going away (WM_DESTROY); overrides end by calling the base.
    virtual void OnDestroy() {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;

private:
    void backgroundChanged();
    void rebuildRegion();
    void coverWithBitmap();
    void applyStaticTransparency(QWidget& child) const;

    bool m_shaped = false;
    bool m_transparentStatics = true;
    // Pure red, the colour the skin art paints outside a window's shape.
    ColorRef m_transparentColor{0x0000FF};
    bool m_drag = false;
    bool m_ownsBitmap = false;
    bool m_hasBitmap = false;
    // The background's file when it came from one (decoded only while needed), and its size.
    QString m_bitmapFile;
    QSize m_bitmapSize;
    // The pixels drawn: the caller's image, the dialog's copy, or null while a file's pixels are
    // not decoded.
    mutable const QImage* m_bitmap = nullptr;
    mutable QImage m_ownedBitmap;
    bool m_initialised = false;
    bool m_destroyed = false;
    // A press on the background that becomes a move once the pointer travels far enough.
    bool m_dragPending = false;
    QPointF m_pressedAt;
    // Dragging by hand where the window system cannot move the window itself.
    bool m_draggingByHand = false;
    QPointF m_dragOffset;
};

} // namespace solvane::ui
