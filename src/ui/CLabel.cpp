#include "ui/CLabel.h"

#include "platform/QtScheduler.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace solvane::ui {

CLabel::CLabel(QWidget* parent, platform::Scheduler* scheduler)
    : QLabel(parent), m_scheduler(scheduler),
      m_opener([](const QString& text) { QDesktopServices::openUrl(QUrl::fromUserInput(text)); }) {
    // Values and captions are shown as they are, never as markup.
    setTextFormat(Qt::PlainText);
}

CLabel::~CLabel() {
    if (m_scheduler != nullptr)
        m_scheduler->killTimers(this);
}

platform::Scheduler& CLabel::scheduler() {
    if (m_scheduler == nullptr) {
        m_ownScheduler = std::make_unique<platform::QtScheduler>();
        m_scheduler = m_ownScheduler.get();
    }
    return *m_scheduler;
}

CLabel& CLabel::redraw() {
    // Repainting a label without a background repaints the parent under it as well.
    update();
    return *this;
}

CLabel& CLabel::changeFont(const std::function<void(QFont&)>& change) {
    QFont changed = font();
    change(changed);
    setFont(changed);
    return redraw();
}

CLabel& CLabel::SetBkColor(ColorRef color, ColorRef gradientEnd, Fill fill) {
    m_gradient = fill == Fill::Gradient;
    m_gradientStart = color;
    m_gradientEnd = gradientEnd;
    m_background = m_gradient ? std::nullopt : std::optional<ColorRef>(color);
    return redraw();
}

CLabel& CLabel::SetTextColor(ColorRef color) {
    m_textColor = color;
    return redraw();
}

CLabel& CLabel::SetText(const QString& text) {
    // Read-outs are set on every refresh; most keep their text, and repainting one repaints the
    // background under it as well.
    if (text == this->text())
        return *this;
    setText(text);
    return redraw();
}

CLabel& CLabel::SetFontBold(bool bold) {
    return changeFont([bold](QFont& font) { font.setWeight(bold ? QFont::Bold : QFont::Normal); });
}

CLabel& CLabel::SetFontName(const QString& face) {
    return changeFont([&face](QFont& font) { font.setFamilies({face}); });
}

CLabel& CLabel::SetFontUnderline(bool underline) {
    return changeFont([underline](QFont& font) { font.setUnderline(underline); });
}

CLabel& CLabel::SetFontItalic(bool italic) {
    return changeFont([italic](QFont& font) { font.setItalic(italic); });
}

CLabel& CLabel::SetFontSize(int points) {
    return changeFont([points](QFont& font) { font.setPointSize(std::max(points, 1)); });
}

CLabel& CLabel::SetSunken(bool sunken) {
    m_sunken = sunken;
    updateFrame();
    return redraw();
}

CLabel& CLabel::SetBorder(bool border) {
    m_border = border;
    updateFrame();
    return redraw();
}

CLabel& CLabel::SetTransparent(bool transparent) {
    m_transparent = transparent;
    return redraw();
}

CLabel& CLabel::FlashText(bool flash) {
    setFlash(FlashMode::Text, flash);
    return redraw();
}

CLabel& CLabel::FlashBackground(bool flash) {
    setFlash(FlashMode::Background, flash);
    return redraw();
}

void CLabel::setFlash(FlashMode mode, bool on) {
    if (!on) {
        m_flashMode = FlashMode::None;
        m_flashOff = false;
        scheduler().killTimer(this, kFlashTimerId);
        return;
    }
    m_flashMode = mode;
    scheduler().setTimer(this, kFlashTimerId, kFlashPeriodMs, [this] { onFlashTimer(); });
}

void CLabel::onFlashTimer() {
    m_flashOff = !m_flashOff;
    redraw();
}

CLabel& CLabel::SetLink(bool link, LinkAction action) {
    m_notify = link;
    m_linkAction = action;
    updateCursor();
    return redraw();
}

CLabel& CLabel::SetLinkCursor(std::optional<QCursor> cursor) {
    m_linkCursor = std::move(cursor);
    updateCursor();
    return redraw();
}

CLabel& CLabel::Set3DText(bool on, Relief relief) {
    m_text3d = on;
    m_relief = relief;
    return redraw();
}

CLabel& CLabel::SetRotationAngle(int degrees, bool rotate) {
    m_rotationTenths = degrees * 10;
    m_rotate = rotate;
    return redraw();
}

CLabel& CLabel::SetText3DHiliteColor(ColorRef color) {
    m_highlight = color;
    return redraw();
}

CLabel& CLabel::SetStaticStyle(StaticStyle style) {
    m_style = style;
    return redraw();
}

void CLabel::updateFrame() {
    const int margin = (m_border ? 1 : 0) + (m_sunken ? 1 : 0);
    setContentsMargins(margin, margin, margin, margin);
}

void CLabel::updateCursor() {
    if (m_notify && m_linkCursor)
        setCursor(*m_linkCursor);
    else
        unsetCursor();
}

void CLabel::mousePressEvent(QMouseEvent* event) {
    QLabel::mousePressEvent(event);
    if (!m_notify || event->button() != Qt::LeftButton)
        return;
    if (m_linkAction == LinkAction::NotifyParent)
        emit linkNotification(kLinkNotification);
    else if (m_opener)
        m_opener(text());
}

void CLabel::paintBackground(QPainter& painter, const QRect& area) const {
    if (!m_gradient) {
        painter.fillRect(
            area, m_background.value_or(ColorRef::fromQColor(palette().color(QPalette::Button))).toQColor());
        return;
    }
    for (const auto& band : gradientBands(m_gradientStart, m_gradientEnd, area.width()))
        painter.fillRect(QRect(area.left() + band.left, area.top(), band.right - band.left, area.height()),
                         band.color.toQColor());
}

void CLabel::paintFrame(QPainter& painter) const {
    QRect edge = rect();
    if (m_border) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawRect(edge.adjusted(0, 0, -1, -1));
        edge.adjust(1, 1, -1, -1);
    }
    if (m_sunken) {
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(edge.topLeft(), edge.topRight());
        painter.drawLine(edge.topLeft(), edge.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(edge.bottomLeft(), edge.bottomRight());
        painter.drawLine(edge.topRight(), edge.bottomRight());
    }
}

void CLabel::paintText(QPainter& painter, const QRect& area) const {
    QColor color = m_textColor.toQColor();
    // In the off phase the text takes the background brush's colour and vanishes; a gradient has
    // no brush, so its text turns black.
    if (m_flashMode == FlashMode::Text && m_flashOff)
        color = m_background.value_or(ColorRef()).toQColor();
    QString shown = text();
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    painter.setFont(font());
    painter.setPen(color);
    if (m_rotate) {
        painter.translate(area.center() + QPointF(0.5, 0.5));
        painter.rotate(-m_rotationTenths / 10.0);
        painter.drawText(QPointF(-painter.fontMetrics().horizontalAdvance(shown) / 2.0, 0.0), shown);
        return;
    }
    const int flags = labelTextFlags(m_style, text());
    painter.drawText(area, flags, shown);
    if (!m_text3d)
        return;
    const QPoint shift = m_relief == Relief::Raised ? QPoint(1, 1) : QPoint(-1, -1);
    painter.setPen(m_highlight.toQColor());
    painter.drawText(area.translated(shift), flags, shown);
}

void CLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    if (!m_transparent)
        paintBackground(painter, area);
    paintFrame(painter);
    paintText(painter, area);
}

} // namespace solvane::ui
