#pragma once

#include "ui/ColorRef.h"
#include "ui/SkinPicture.h"
#include "ui/SkinResources.h"

#include <QAbstractButton>
#include <QImage>
#include <QRegion>
#include <array>

namespace solvane::ui {

// An owner-drawn push button, check box or radio button painted from up to six pictures (normal,
// pressed, hover, disabled, focus, mask), with hover tracking, an optional tooltip and an optional
// non-rectangular shape taken from its mask.
//
// Check boxes and radio buttons keep their own check state (GetCheck/SetCheck): a click on the
// button, or the space bar, toggles a check box and checks a radio button before clicked() is
// emitted. A radio button that becomes checked unchecks the other skin buttons of its radio group
// among its siblings.
class CxSkinButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Kind {
        PushButton = 0,
        CheckBox = 2,
        RadioButton = 4,
    };
    enum class Border {
        None,
        ThreeD, // a raised edge, sunken while pressed
    };

    // The pictures by resource number; 0 leaves a state empty.
    struct SkinIds {
        int normal = 0;
        int pressed = 0;
        int hover = 0;
        int disabled = 0;
        int focus = 0;
        int mask = 0;

        // The four state pictures in the order the dialogs list them: normal, pressed, hover,
        // disabled.
        static SkinIds ofStates(const std::array<int, 4>& pictures) {
            return {pictures[0], pictures[1], pictures[2], pictures[3]};
        }
    };
    // The four state pictures from files; focus and mask by resource number.
    struct SkinFiles {
        QString normal;
        QString pressed;
        QString hover;
        QString disabled;
        int focusId = 0;
        int maskId = 0;
    };
    struct SkinPictures {
        QImage normal;
        QImage pressed;
        QImage hover;
        QImage disabled;
        QImage focus;
        QImage mask;
    };

    explicit CxSkinButton(QWidget* parent = nullptr, Kind kind = Kind::PushButton);

    // The kind a dialog's button style makes: an auto check box (both low bits set) or an auto
    // radio button (bits 0 and 3), else a push button.
    static constexpr Kind kindFromStyle(unsigned style) {
        if ((style & 0x3U) == 0x3U)
            return Kind::CheckBox;
        if ((style & 0x9U) == 0x9U)
            return Kind::RadioButton;
        return Kind::PushButton;
    }

    // Replaces all six pictures. A missing disabled picture shows the normal one.
    void SetSkin(const SkinIds& ids, DrawMode mode = DrawMode::Stretch, Border border = Border::None,
                 int focusMargin = 0, const SkinResources& resources = SkinResources::program());
    // Replaces all six pictures. A state whose file cannot be loaded stays empty.
    void SetSkin(const SkinFiles& files, DrawMode mode = DrawMode::Stretch, Border border = Border::None,
                 int focusMargin = 0, const SkinResources& resources = SkinResources::program());
    void SetSkin(SkinPictures pictures, DrawMode mode = DrawMode::Stretch, Border border = Border::None,
                 int focusMargin = 0);

    void SetToolTipText(const QString& text) { setToolTip(text); }
    // Returns the previous text colour.
    ColorRef SetTextColor(ColorRef color);
    ColorRef textColor() const { return m_textColor; }
    // The cursor shown over the button; an unknown number (0) restores the default cursor.
    void SetBtnCursor(int cursorId, const SkinResources& resources = SkinResources::program());

    bool GetCheck() const { return m_checked; }
    void SetCheck(bool checked);
    Kind kind() const { return m_kind; }
    // Radio buttons with the same group number and parent are partners (the dialog group).
    void SetRadioGroup(int group) { m_radioGroup = group; }
    int radioGroup() const { return m_radioGroup; }
    // A radio partner became checked: this button gives up its check.
    void OnPartnerChecked();

    bool isHovering() const { return m_hover; }
    // The left button went down on this button and has not come up.
    bool isHeldByMouse() const { return m_pressed; }
    DrawMode drawMode() const { return m_drawMode; }
    // The shape taken from the mask (empty without one).
    const QRegion& shapeRegion() const { return m_region; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool hitButton(const QPoint& position) const override;

private:
    void clickCheck();
    const QImage& pictureForState() const;
    void drawCaption(QPainter& painter, QRect textRect, const QColor& color) const;

    Kind m_kind;
    bool m_checked = false;
    bool m_hover = false;
    bool m_pressed = false;
    int m_radioGroup = 0;
    SkinPictures m_pictures;
    int m_focusMargin = 0;
    ColorRef m_textColor;
    QRegion m_region;
    Border m_border = Border::None;
    DrawMode m_drawMode = DrawMode::Stretch;
};

} // namespace solvane::ui
