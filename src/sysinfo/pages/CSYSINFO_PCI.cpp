#include "sysinfo/pages/CSYSINFO_PCI.h"

#include "sysinfo/PciFunctionEntries.h"
#include "sysinfo/pages/PciPageIds.h"
#include "sysinfo/pages/PciPageLayout.h"
#include "ui/ControlId.h"
#include "ui/PopupMenu.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTreeWidget>
#include <algorithm>

namespace solvane::sysinfo::pages {

namespace ids = pci_ids;
namespace layout = pci_layout;

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

QString colourStyle(ui::ColorRef colour, int pixels) {
    return QStringLiteral("color: %1; font-size: %2px;").arg(colour.toQColor().name()).arg(pixels);
}

// The list view and the drop-down in the skin's dark colours, the chosen row in the accent.
QString listStyle() {
    const auto name = [](ui::ColorRef colour) { return colour.toQColor().name(); };
    return QStringLiteral("QTreeView, QComboBox { background: %1; color: %2; border: 1px solid %3; }"
                          "QTreeView::item:selected, QComboBox QAbstractItemView::item:selected"
                          " { background: %4; color: %5; }"
                          "QHeaderView, QHeaderView::section { background: %3; color: %6; border: none;"
                          " padding: 2px; }"
                          "QAbstractScrollArea::corner { background: %1; }")
        .arg(name(layout::kListBackground), name(layout::kListText), name(layout::kListHeading),
             name(layout::kValueColour), name(layout::kSelectedText), name(layout::kCaptionColour));
}

struct WidthControl {
    PciHexWidth width;
    int controlId;
    int commandId;
    std::string_view caption;
};
constexpr std::array<WidthControl, 3> kWidthControls{{
    {PciHexWidth::Byte, ids::kByteWidth, ids::kByteCommand, "BYTE"},
    {PciHexWidth::Word, ids::kWordWidth, ids::kWordCommand, "WORD"},
    {PciHexWidth::Dword, ids::kDwordWidth, ids::kDwordCommand, "DWORD"},
}};

struct EntryControl {
    int controlId;
    std::string_view caption;
};
constexpr std::array<EntryControl, 3> kEntryControls{{
    {ids::kBusEntry, "Bus"},
    {ids::kDeviceEntry, "Device"},
    {ids::kFunctionEntry, "Func"},
}};

constexpr std::array<ui::MenuItem, 1> kSelectMenuItems{{{ids::kSelectCommand, "Select"}}};
constexpr std::array<ui::MenuItem, 3> kWidthMenuItems{{
    {ids::kByteCommand, "BYTE"},
    {ids::kWordCommand, "WORD"},
    {ids::kDwordCommand, "DWORD"},
}};
constexpr std::array<ui::MenuItem, 2> kModeMenuItems{{
    {ids::kEasyCommand, "Easy"},
    {ids::kExpertCommand, "Expert"},
}};

constexpr std::array<std::string_view, 4> kListColumns{"PCI Device", "Bus#", "Dev#", "Func#"};

} // namespace

CSYSINFO_PCI::CSYSINFO_PCI(const PciScan& scan, hw::Falwick& pci, platform::Prompt& prompt, NameLookup names,
                           QWidget* parent)
    : TStackedPage(ids::kDialog, parent), m_view(scan, pci), m_prompt(prompt), m_names(std::move(names)) {
    setObjectName(QStringLiteral("CSYSINFO_PCI"));
}

void CSYSINFO_PCI::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    SetBitmap(ui::skin::kPageBackgroundId);
    buildListView();
    buildHeaderLabels();
    buildConfigurationView();
    fillLists();
    if (!m_view.scan().devices.empty()) {
        m_dropDown->setCurrentIndex(0);
        showRow(0);
    }
    applyMode();
}

void CSYSINFO_PCI::buildListView() {
    m_list = new QTreeWidget(this);
    ui::setControlId(*m_list, ids::kDeviceList);
    m_list->setGeometry(layout::kDeviceList);
    m_list->setStyleSheet(listStyle());
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setColumnCount(static_cast<int>(kListColumns.size()));
    QStringList headings;
    for (const auto heading : kListColumns)
        headings << text(heading);
    m_list->setHeaderLabels(headings);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->setColumnWidth(0, layout::kNameColumnWidth);
    for (int column = 1; column < m_list->columnCount(); ++column) {
        m_list->setColumnWidth(column, layout::kNumberColumnWidth);
        m_list->headerItem()->setTextAlignment(column, Qt::AlignCenter);
    }
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this,
            [this](QPoint position) { onListRightClick(m_list->viewport()->mapToGlobal(position)); });
    // A click anywhere in the list, a row or the empty area below, is the list's click.
    m_list->viewport()->installEventFilter(this);
}

void CSYSINFO_PCI::buildHeaderLabels() {
    for (std::size_t index = 0; index < ids::kHeaderLabels.size(); ++index) {
        const auto& label = ids::kHeaderLabels[index];
        const int top = layout::kHeaderTop + static_cast<int>(index) * layout::kHeaderPitch;
        auto* caption = new QLabel(text(kPciHeaderNames[static_cast<std::size_t>(label.value)]) + u':', this);
        caption->setStyleSheet(colourStyle(layout::kCaptionColour, 11));
        caption->setGeometry(layout::kHeaderLeft, top, layout::kHeaderWidth, layout::kHeaderCaptionHeight);
        auto* value = new ui::CLabel(this);
        ui::setControlId(*value, label.controlId);
        value->SetTransparent(true).SetTextColor(layout::kValueColour).SetFontSize(10).SetFontBold(true);
        value->setGeometry(layout::kHeaderLeft + 6, top + layout::kHeaderCaptionHeight,
                           layout::kHeaderWidth - 6, layout::kHeaderValueHeight);
        m_headerValues[label.value] = value;
    }
}

void CSYSINFO_PCI::buildConfigurationView() {
    m_dropDown = new QComboBox(this);
    ui::setControlId(*m_dropDown, ids::kDeviceDropDown);
    m_dropDown->setGeometry(layout::kDeviceDropDown);
    m_dropDown->setStyleSheet(listStyle());
    connect(m_dropDown, &QComboBox::activated, this, [this](int index) { showRow(index); });

    auto* widthGroup = new QButtonGroup(this); // exclusive: one width at a time
    const int boxWidth = layout::kWidthBoxes.width() / static_cast<int>(kWidthControls.size());
    for (std::size_t index = 0; index < kWidthControls.size(); ++index) {
        const auto& control = kWidthControls[index];
        auto* box = new QCheckBox(text(control.caption), this);
        ui::setControlId(*box, control.controlId);
        box->setStyleSheet(colourStyle(layout::kCaptionColour, 11));
        box->setGeometry(layout::kWidthBoxes.x() + static_cast<int>(index) * boxWidth,
                         layout::kWidthBoxes.y(), boxWidth, layout::kWidthBoxes.height());
        widthGroup->addButton(box);
        const auto width = control.width;
        connect(box, &QAbstractButton::clicked, this, [this, width] { selectWidth(width); });
        m_widthBoxes[width] = box;
    }
    m_widthBoxes[m_view.width()]->setChecked(true);

    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,2}")), this);
    int left = layout::kHexLeft;
    for (std::size_t index = 0; index < kEntryControls.size(); ++index) {
        auto* caption = new QLabel(text(kEntryControls[index].caption), this);
        caption->setStyleSheet(colourStyle(layout::kCaptionColour, 11));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        caption->setGeometry(left, layout::kEntriesTop, layout::kEntryCaptionWidth - 6, layout::kEntryHeight);
        left += layout::kEntryCaptionWidth;
        auto* entry = new QLineEdit(this);
        ui::setControlId(*entry, kEntryControls[index].controlId);
        entry->setMaxLength(kPciEntryDigits);
        entry->setValidator(validator);
        entry->setGeometry(left, layout::kEntriesTop, layout::kEntryWidth, layout::kEntryHeight);
        left += layout::kEntryWidth + 8;
        connect(entry, &QLineEdit::textEdited, this, [this, index] { onEntryEdited(index); });
        m_entries[index] = entry;
        m_entryCaptions[index] = caption;
    }
    m_apply = new QPushButton(QStringLiteral("Apply"), this);
    ui::setControlId(*m_apply, ids::kApply);
    m_apply->setGeometry(layout::kApply);
    m_apply->setEnabled(false);
    connect(m_apply, &QPushButton::clicked, this, [this] { onApply(); });

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(layout::kHexFontPixels);
    // The row heading is one control of sixteen lines: the rows beside it keep its line pitch.
    const int pitch = std::max(QFontMetrics(fixed).lineSpacing(), layout::kHexMinimumRowPitch);
    const auto addText = [&](int controlId, QRect box, ui::ColorRef colour) {
        auto* label = new QLabel(this);
        ui::setControlId(*label, controlId);
        label->setFont(fixed);
        label->setStyleSheet(QStringLiteral("color: %1;").arg(colour.toQColor().name()));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(box);
        label->installEventFilter(this); // the right-click menu of the view
        return label;
    };
    m_columnHeading =
        addText(ids::kColumnHeading,
                QRect(layout::kHexTextLeft, layout::kHexHeadingTop, layout::kHexTextWidth, pitch),
                layout::kHeadingColour);
    m_rowHeading =
        addText(ids::kRowHeading,
                QRect(layout::kHexLeft, layout::kHexRowTop, layout::kHexTextLeft - layout::kHexLeft,
                      pitch * static_cast<int>(kPciHexRows)),
                layout::kHeadingColour);
    m_rowHeading->setText(QString::fromStdString(pciHexRowHeading()));
    for (std::size_t row = 0; row < kPciHexRows; ++row)
        m_hexRows[row] =
            addText(ids::kFirstHexRow + static_cast<int>(row),
                    QRect(layout::kHexTextLeft, layout::kHexRowTop + static_cast<int>(row) * pitch,
                          layout::kHexTextWidth, pitch),
                    layout::kValueColour);
    m_noFunctionNote = new QLabel(this);
    ui::setControlId(*m_noFunctionNote, ids::kNoFunctionNote);
    m_noFunctionNote->setGeometry(layout::kNoFunctionNote);
    m_noFunctionNote->setStyleSheet(colourStyle(layout::kNoteColour, 11));
    showHexRows();
}

void CSYSINFO_PCI::fillLists() {
    for (const auto& device : m_view.scan().devices) {
        const auto fields = pciRowFields(device.row);
        auto* item = new QTreeWidgetItem(m_list);
        QString tip;
        if (m_names)
            if (const auto name = m_names(device.vendorId, device.deviceId))
                tip = QString::fromStdString(*name);
        for (int column = 0; column < m_list->columnCount(); ++column) {
            if (fields)
                item->setText(column, text((*fields)[static_cast<std::size_t>(column)]));
            if (column > 0)
                item->setTextAlignment(column, Qt::AlignCenter);
            if (!tip.isEmpty())
                item->setToolTip(column, tip);
        }
        m_dropDown->addItem(fields ? text((*fields)[0]) : QString());
        if (!tip.isEmpty())
            m_dropDown->setItemData(m_dropDown->count() - 1, tip, Qt::ToolTipRole);
    }
    m_list->ensurePolished();
    const int chrome = m_list->header()->sizeHint().height() + 2 * m_list->frameWidth();
    m_list->resize(layout::kDeviceList.width(),
                   layout::wholeRowsHeight(layout::kDeviceList.height(), chrome, m_list->sizeHintForRow(0)));
}

void CSYSINFO_PCI::showRow(int index) {
    if (m_view.showRow(index))
        showShownDevice();
}

void CSYSINFO_PCI::showShownDevice() {
    const auto& shown = m_view.shown();
    if (!shown)
        return;
    for (const auto& [value, label] : m_headerValues)
        label->SetText(QString::fromStdString(shown->header[static_cast<std::size_t>(value)]));
    const auto entries = pciEntryTexts(shown->address);
    for (std::size_t index = 0; index < m_entries.size(); ++index)
        m_entries[index]->setText(QString::fromStdString(entries[index]));
    m_apply->setEnabled(false);
    // Both lists follow the function on show; an unlisted one leaves them without a choice.
    const auto row = m_view.shownRow();
    m_dropDown->setCurrentIndex(row.value_or(-1));
    if (row)
        m_list->setCurrentItem(m_list->topLevelItem(*row));
    else
        m_list->clearSelection();
    m_noFunctionNote->setText(
        shown->answers ? QString()
                       : QStringLiteral("No function answers at %1:%2.%3; every byte reads FF.")
                             .arg(QString::fromStdString(entries[0]), QString::fromStdString(entries[1]),
                                  QString::fromStdString(entries[2].substr(1))));
    showHexRows();
}

void CSYSINFO_PCI::showHexRows() {
    m_columnHeading->setText(QString::fromStdString(pciHexColumnHeading(m_view.width())));
    const auto rows = m_view.hexRows();
    for (std::size_t row = 0; row < rows.size(); ++row)
        m_hexRows[row]->setText(m_view.shown() ? QString::fromStdString(rows[row]) : QString());
}

void CSYSINFO_PCI::applyMode() {
    const bool expert = m_view.mode() == PciViewMode::Expert;
    m_list->setVisible(!expert);
    // Without a device there is nothing to choose from.
    m_dropDown->setVisible(expert && !m_view.scan().devices.empty());
    for (auto* widget :
         std::initializer_list<QWidget*>{m_columnHeading, m_rowHeading, m_noFunctionNote, m_apply})
        widget->setVisible(expert);
    for (auto* row : m_hexRows)
        row->setVisible(expert);
    for (auto& [width, box] : m_widthBoxes)
        box->setVisible(expert);
    for (std::size_t index = 0; index < m_entries.size(); ++index) {
        m_entries[index]->setVisible(expert);
        m_entryCaptions[index]->setVisible(expert);
    }
}

std::optional<int> CSYSINFO_PCI::selectedRow() const {
    const auto selected = m_list->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return std::nullopt;
    return selected.front().row();
}

void CSYSINFO_PCI::onListClick() {
    const auto row = selectedRow();
    if (!row)
        return;
    showRow(*row);
    m_list->setFocus();
}

void CSYSINFO_PCI::onListRightClick(QPoint globalPosition) {
    if (!selectedRow())
        return;
    auto menu = ui::buildPopupMenu(kSelectMenuItems, this);
    if (const auto chosen = ui::trackPopupMenu(*menu, globalPosition))
        onMenuCommand(*chosen);
}

void CSYSINFO_PCI::onMenuCommand(int commandId) {
    switch (commandId) {
    case ids::kSelectCommand:
        onListClick();
        return;
    case ids::kEasyCommand:
        m_view.setMode(PciViewMode::Easy);
        applyMode();
        return;
    case ids::kExpertCommand:
        m_view.setMode(PciViewMode::Expert);
        applyMode();
        return;
    default:
        break;
    }
    for (const auto& control : kWidthControls)
        if (control.commandId == commandId)
            selectWidth(control.width);
}

void CSYSINFO_PCI::selectWidth(PciHexWidth width) {
    m_view.setWidth(width);
    m_widthBoxes[width]->setChecked(true);
    showHexRows();
}

void CSYSINFO_PCI::onEntryEdited(std::size_t entry) {
    m_apply->setEnabled(true);
    // A full entry hands the focus on: bus, device, function, then Apply.
    if (m_entries[entry]->text().size() < kPciEntryDigits)
        return;
    if (entry + 1 < m_entries.size()) {
        m_entries[entry + 1]->setFocus();
        m_entries[entry + 1]->selectAll();
    } else {
        m_apply->setFocus();
    }
}

void CSYSINFO_PCI::onApply() {
    const std::array<std::string, 3> typed{m_entries[0]->text().toStdString(),
                                           m_entries[1]->text().toStdString(),
                                           m_entries[2]->text().toStdString()};
    const auto applied = applyPciEntries({typed[0], typed[1], typed[2]});
    for (std::size_t index = 0; index < m_entries.size(); ++index)
        m_entries[index]->setText(QString::fromStdString(applied.entries[index]));
    if (!applied.address) {
        m_prompt.tell(std::string(kPciEntriesMissingMessage));
        return;
    }
    m_view.showFunction(*applied.address);
    showShownDevice();
}

QString CSYSINFO_PCI::headerText(PciHeaderValue value) const {
    const auto label = m_headerValues.find(value);
    return label == m_headerValues.end() ? QString() : label->second->text();
}

bool CSYSINFO_PCI::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && watched == m_list->viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        onListClick();
    if (event->type() == QEvent::MouseButtonPress && watched != m_list->viewport() &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        auto menu = ui::buildPopupMenu(kWidthMenuItems, this);
        for (QAction* action : menu->actions()) {
            action->setCheckable(true);
            action->setChecked(action->data().toInt() ==
                               kWidthControls[static_cast<std::size_t>(m_view.width())].commandId);
        }
        if (const auto chosen =
                ui::trackPopupMenu(*menu, static_cast<QMouseEvent*>(event)->globalPosition().toPoint()))
            onMenuCommand(*chosen);
        return true;
    }
    return TStackedPage::eventFilter(watched, event);
}

void CSYSINFO_PCI::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        TStackedPage::mousePressEvent(event);
        return;
    }
    auto menu = ui::buildPopupMenu(kModeMenuItems, this);
    for (QAction* action : menu->actions()) {
        action->setCheckable(true);
        action->setChecked((action->data().toInt() == ids::kExpertCommand) ==
                           (m_view.mode() == PciViewMode::Expert));
    }
    if (const auto chosen = ui::trackPopupMenu(*menu, event->globalPosition().toPoint()))
        onMenuCommand(*chosen);
}

} // namespace solvane::sysinfo::pages
