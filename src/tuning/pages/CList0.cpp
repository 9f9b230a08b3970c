#include "tuning/pages/CList0.h"

#include "tuning/pages/AdvancedPageIds.h"
#include "tuning/pages/AdvancedPageLayout.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"

#include <QVBoxLayout>

namespace solvane::tuning::pages {

namespace {

// A pop-up of the main window rather than a window of its own: no task-bar entry, and placed
// beside its button by the program also where the window system places top-level windows itself.
// It stands above other windows while shown, so it closes before any question is asked and
// whenever the main window is minimised, hidden or moved.
constexpr Qt::WindowFlags kPopupFlags = Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;

} // namespace

CList0::CList0(QWidget* parent) : QWidget(parent, kPopupFlags), m_list(new ui::CXListBox(this)) {
    setObjectName(QStringLiteral("CList0"));
    ui::setControlId(*this, advanced_ids::kOptionListDialog);
    ui::setControlId(*m_list, advanced_ids::kOptionList);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->SetColorTables(ui::palette::kListTextOnDark, ui::palette::kListGroundOnDark);
    m_list->setStyleSheet(
        QStringLiteral("QListWidget { background: %1; border: 1px solid %2; }")
            .arg(ui::palette::css(ui::palette::kField), ui::palette::css(ui::palette::kLine)));
    // The short lists (phases, fan, LED switches) take a fifth of the full height, below the list
    // box's own minimum size hint.
    m_list->setMinimumSize(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    resize(advanced_layout::kOptionListSize);
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { selectionChanged(); });
}

void CList0::Fill(const std::vector<OptionLine>& lines, int top) {
    const QSignalBlocker quiet(m_list);
    m_list->Clear();
    m_options.clear();
    for (const auto& line : lines) {
        m_list->AddLine(line.textColour, line.backColour, QString::fromStdString(line.text));
        m_options.push_back(line.option);
    }
    m_list->clearSelection();
    if (top >= 0 && top < m_list->count())
        m_list->scrollToItem(m_list->item(top), QAbstractItemView::PositionAtTop);
    else
        m_list->scrollToTop();
}

void CList0::ShowAt(const QRect& screenRect) {
    setGeometry(screenRect);
    show();
    raise();
}

void CList0::selectionChanged() {
    const auto selected = m_list->selectedItems();
    if (selected.isEmpty() || !m_chosen)
        return;
    const int position = m_list->row(selected.front());
    if (position < 0 || position >= static_cast<int>(m_options.size()))
        return;
    m_chosen(m_options[static_cast<std::size_t>(position)]);
}

} // namespace solvane::tuning::pages
