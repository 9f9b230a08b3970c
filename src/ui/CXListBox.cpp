#include "ui/CXListBox.h"

#include "ui/PopupMenu.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <algorithm>

namespace solvane::ui {

namespace {

constexpr auto kContextMenu = std::to_array<MenuItem>({
    {CXListBox::kCommandSelectAll, "Select All"},
    {CXListBox::kCommandCopy, "Copy"},
    {CXListBox::kCommandClear, "Clear"},
});

struct ListCommand {
    int commandId;
    void (CXListBox::*run)();
};
constexpr std::array<ListCommand, 3> kCommands{{
    {CXListBox::kCommandSelectAll, &CXListBox::SelectAll},
    {CXListBox::kCommandCopy, &CXListBox::Copy},
    {CXListBox::kCommandClear, &CXListBox::Clear},
}};

// The most lines dropped at once when the list is full.
constexpr int kOverflowDrop = 20;

QTextOption tabbedOption(const std::array<int, CXListBox::kTabStopCount>& stops) {
    QTextOption option(Qt::AlignLeft | Qt::AlignVCenter);
    option.setWrapMode(QTextOption::NoWrap);
    QList<qreal> positions;
    positions.reserve(static_cast<qsizetype>(stops.size()));
    for (const int stop : stops)
        positions.push_back(stop);
    option.setTabArray(positions);
    return option;
}

// Draws each line in its own colours, or in the highlight colours while selected.
class ColorLineDelegate final : public QStyledItemDelegate {
public:
    explicit ColorLineDelegate(CXListBox& list) : QStyledItemDelegate(&list), m_list(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const ColorLine line = decodeColorLine(index.data(Qt::DisplayRole).toString());
        const bool selected = (option.state & QStyle::State_Selected) != 0;
        const QPalette& palette = option.palette;
        const QColor back =
            selected ? palette.color(QPalette::Highlight) : m_list.groundColor(line.backIndex);
        const QColor fore =
            selected ? palette.color(QPalette::HighlightedText) : m_list.textColor(line.textIndex);
        painter->fillRect(option.rect, back);
        painter->setPen(fore);
        painter->setFont(option.font);
        painter->drawText(QRectF(option.rect), line.text, tabbedOption(m_list.tabStops()));
        if ((option.state & QStyle::State_HasFocus) != 0) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor = back;
            m_list.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, &m_list);
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {m_list.horizontalExtent(), m_list.itemHeight()};
    }

private:
    CXListBox& m_list;
};

} // namespace

CXListBox::CXListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setUniformItemSizes(true);
    setItemDelegate(new ColorLineDelegate(*this));
    updateMetrics();
}

void CXListBox::SetTabSize(int characters) {
    m_tabSize = std::max(characters, 1);
    updateMetrics();
}

void CXListBox::SetColorTables(const std::array<ColorRef, 16>& text, const std::array<ColorRef, 16>& ground) {
    m_textColors = text;
    m_groundColors = ground;
    viewport()->update();
}

void CXListBox::updateMetrics() {
    const QFontMetrics metrics(font());
    m_itemHeight = metrics.height();
    m_digitWidth = metrics.horizontalAdvance(QLatin1Char('0'));
    for (int k = 0; k < kTabStopCount; ++k)
        m_tabStops[static_cast<std::size_t>(k)] = (k + 1) * m_digitWidth * m_tabSize;
    doItemsLayout();
}

void CXListBox::changeEvent(QEvent* event) {
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateMetrics();
}

bool CXListBox::makeRoom() {
    if (count() < m_maxLines)
        return true;
    if (count() < 2)
        return false;
    const int drop = std::min(kOverflowDrop, count() - 1);
    setUpdatesEnabled(false);
    for (int i = 0; i < drop; ++i)
        delete takeItem(0);
    setUpdatesEnabled(true);
    return count() < m_maxLines;
}

void CXListBox::AddLine(int textIndex, int backIndex, const QString& text) {
    if (!m_colorMode) {
        textIndex = kPlainTextIndex;
        backIndex = kPlainBackIndex;
    }
    if (!makeRoom())
        return;
    const QString stored = encodeColorLine(textIndex, backIndex, text);
    addItem(stored);
    measure(stored.mid(2));
    scrollToItem(item(count() - 1), QAbstractItemView::PositionAtTop);
    clearSelection();
}

void CXListBox::measure(const QString& text) {
    std::array<int, kTabStopCount + 1> stops{};
    std::copy(m_tabStops.begin(), m_tabStops.end(), stops.begin());
    const int width =
        QFontMetrics(font()).size(Qt::TextExpandTabs | Qt::TextSingleLine, text, 0, stops.data()).width() +
        style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (width <= m_widest)
        return;
    m_widest = width;
    m_horizontalExtent = width + width / 32;
    doItemsLayout();
}

void CXListBox::Clear() {
    clear();
    m_widest = 0;
    m_horizontalExtent = 0;
}

void CXListBox::Copy() {
    QString lines;
    for (int row = 0; row < count(); ++row)
        if (item(row)->isSelected())
            lines += line(row).text + u'\n';
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines);
}

void CXListBox::SelectAll() {
    selectAll();
}

void CXListBox::OnCommand(int commandId) {
    for (const auto& command : kCommands)
        if (command.commandId == commandId)
            (this->*command.run)();
}

ColorLine CXListBox::line(int row) const {
    const QListWidgetItem* stored = item(row);
    return stored != nullptr ? decodeColorLine(stored->text()) : ColorLine{};
}

void CXListBox::contextMenuEvent(QContextMenuEvent* event) {
    if (m_contextMenuId == kNoContextMenu) {
        QListWidget::contextMenuEvent(event);
        return;
    }
    const auto menu = buildPopupMenu(kContextMenu, this);
    if (const auto command = trackPopupMenu(*menu, event->globalPos()))
        OnCommand(*command);
}

} // namespace solvane::ui
