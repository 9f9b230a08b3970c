#pragma once

#include "ui/ColorRef.h"
#include "ui/LabelPainting.h"

#include <QCursor>
#include <QLabel>
#include <functional>
#include <memory>
#include <optional>

namespace solvane::platform {
class Scheduler;
class QtScheduler;
} // namespace solvane::platform

namespace solvane::ui {

// The text label of every value on every page: colours, fonts, a solid or gradient background or
// none, flashing text, three-dimensional and rotated text and a link mode. Every setter redraws
// the label and returns it, so calls can be chained.
//
// Flashing runs on the label's window timer 1 through a scheduler: the one given at construction
// (tests pass a virtual clock) or one of its own on Qt's event loop.
class CLabel : public QLabel {
    Q_OBJECT
public:
    static constexpr int kFlashTimerId = 1;
    static constexpr unsigned kFlashPeriodMs = 500;
    // The notification a link label sends its parent when clicked in notify-parent mode.
    static constexpr int kLinkNotification = 0x8200;

    enum class Fill { Solid, Gradient };
    enum class FlashMode { None, Text, Background };
    enum class Relief { Raised, Sunken };
    enum class LinkAction {
        OpenText,     // a click opens the label's text (a web address) with the desktop
        NotifyParent, // a click emits linkNotification
    };
    using LinkOpener = std::function<void(const QString&)>;

    explicit CLabel(QWidget* parent = nullptr, platform::Scheduler* scheduler = nullptr);
    ~CLabel() override;

    // Solid: the colour fills the label. Gradient: bands from the colour to the end colour.
    CLabel& SetBkColor(ColorRef color, ColorRef gradientEnd = ColorRef(), Fill fill = Fill::Solid);
    CLabel& SetTextColor(ColorRef color);
    CLabel& SetText(const QString& text);
    CLabel& SetFontBold(bool bold);
    // Qt finds glyphs for every character itself, so the face name needs no character set.
    CLabel& SetFontName(const QString& face);
    CLabel& SetFontUnderline(bool underline);
    CLabel& SetFontItalic(bool italic);
    CLabel& SetFontSize(int points);
    // A thin sunken edge inside the label.
    CLabel& SetSunken(bool sunken);
    // A one-pixel border around the label.
    CLabel& SetBorder(bool border);
    // No background at all: what lies under the label shows through.
    CLabel& SetTransparent(bool transparent);
    CLabel& FlashText(bool flash);
    // Runs the flash timer without changing the painting.
    CLabel& FlashBackground(bool flash);
    // A link label reacts to clicks; the others ignore them.
    CLabel& SetLink(bool link, LinkAction action = LinkAction::OpenText);
    CLabel& SetLinkCursor(std::optional<QCursor> cursor);
    CLabel& Set3DText(bool on, Relief relief = Relief::Raised);
    // Text rotated counter-clockwise about the label's centre, in degrees.
    CLabel& SetRotationAngle(int degrees, bool rotate);
    CLabel& SetText3DHiliteColor(ColorRef color);

    CLabel& SetStaticStyle(StaticStyle style);
    // What opens the text of a link label; the desktop's URL handler by default.
    void SetLinkOpener(LinkOpener opener) { m_opener = std::move(opener); }

    ColorRef textColor() const { return m_textColor; }
    FlashMode flashMode() const { return m_flashMode; }
    // True in the phase of flashing in which the text is hidden.
    bool flashOff() const { return m_flashOff; }

signals:
    void linkNotification(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    CLabel& redraw();
    CLabel& changeFont(const std::function<void(QFont&)>& change);
    void setFlash(FlashMode mode, bool on);
    void onFlashTimer();
    void updateFrame();
    void updateCursor();
    platform::Scheduler& scheduler();
    void paintBackground(QPainter& painter, const QRect& area) const;
    void paintFrame(QPainter& painter) const;
    void paintText(QPainter& painter, const QRect& area) const;

    platform::Scheduler* m_scheduler;
    std::unique_ptr<platform::QtScheduler> m_ownScheduler;
    ColorRef m_textColor{0x00FF00};
    // The solid background; none while the gradient is on.
    std::optional<ColorRef> m_background = ColorRef(0x7E7E7E);
    bool m_gradient = false;
    ColorRef m_gradientStart;
    ColorRef m_gradientEnd;
    FlashMode m_flashMode = FlashMode::None;
    bool m_flashOff = false;
    bool m_transparent = false;
    bool m_sunken = false;
    bool m_border = false;
    bool m_text3d = false;
    Relief m_relief = Relief::Raised;
    ColorRef m_highlight{0xFFFFFF};
    bool m_rotate = false;
    // Escapement in tenths of a degree.
    int m_rotationTenths = 0;
    // A link label reports clicks (the static's notify style); off until SetLink turns it on.
    bool m_notify = false;
    LinkAction m_linkAction = LinkAction::OpenText;
    std::optional<QCursor> m_linkCursor;
    StaticStyle m_style;
    LinkOpener m_opener;
};

} // namespace solvane::ui
