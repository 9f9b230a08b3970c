#include "sysinfo/pages/CSYSINFO_MEMORY.h"

#include "sysinfo/pages/MemoryPageLayout.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QGroupBox>
#include <QLabel>

namespace solvane::sysinfo::pages {

namespace {

namespace ids = memory_dialog;

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

QRect boxRect(const Box& box) {
    return {box.x, box.y, box.width, box.height};
}

} // namespace

CSYSINFO_MEMORY::CSYSINFO_MEMORY(hw::Hoblin& smbus, SmbusLibrary library,
                                 MemoryInformation::StatusSource status,
                                 MemoryInformation::SpdImageSource images, platform::Scheduler& scheduler,
                                 QWidget* parent)
    : TStackedPage(kDialogId, parent), m_information(smbus, library, std::move(status), std::move(images)),
      m_scheduler(scheduler) {
    setObjectName(QStringLiteral("CSYSINFO_MEMORY"));
}

void CSYSINFO_MEMORY::buildControls() {
    const auto addGroup = [&](std::string_view title, const Box& box) {
        auto* group = new QGroupBox(text(title), this);
        group->setGeometry(boxRect(box));
        // The section-title picture carries the caption on screen.
        group->setStyleSheet(ui::palette::titledGroupFrameStyle());
    };
    const auto addCaption = [&](std::string_view caption, QRect box) {
        auto* label = new QLabel(text(caption), this);
        label->setStyleSheet(ui::palette::captionStyle());
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setGeometry(box);
    };
    const auto addField = [&](int controlId, QRect box, ui::ColorRef colour) {
        auto* label = new ui::CLabel(this, &m_scheduler);
        ui::setControlId(*label, controlId);
        label->SetTransparent(true).SetTextColor(colour).SetFontSize(10).SetFontBold(true);
        label->setGeometry(box.adjusted(0, 5, 0, 0)); // text sits at the top: level it with its caption
        m_fields[controlId] = label;
    };

    addGroup("SPD", kSpdGroup);
    addGroup("Timings Table", kTimingsGroup);

    for (const auto& field : kStatusFields) {
        addCaption(field.caption, boxRect(field.captionBox));
        addField(field.fieldId, boxRect(field.valueBox), ui::palette::kSavingGreen);
    }

    m_slotList = new QComboBox(this);
    ui::setControlId(*m_slotList, ids::kSlotList);
    m_slotList->setStyleSheet(ui::palette::dropDownStyle());
    m_slotList->setGeometry(boxRect(kSlotListBox));
    addField(ids::kMemoryType, boxRect(kMemoryTypeBox).adjusted(0, -3, 0, 0), ui::palette::kAccent);
    for (const auto& field : kModuleFields) {
        addCaption(field.caption, boxRect(field.captionBox));
        addField(field.fieldId, boxRect(field.valueBox), ui::palette::kAccent);
    }

    for (std::size_t row = 0; row < kTimingRows; ++row) {
        const int y = kTimingFirstRowY + static_cast<int>(row) * kTimingRowHeight;
        addCaption(ids::kTimingCaptions[row],
                   QRect(kTimingCaptionX, y, kTimingCaptionWidth, kTimingRowHeight - 3));
        for (std::size_t column = 0; column < kTimingColumns; ++column)
            addField(ids::kTimingFields[row][column],
                     QRect(kTimingFirstColumnX + static_cast<int>(column) * kTimingColumnWidth, y,
                           kTimingColumnWidth - 8, kTimingRowHeight - 3),
                     ui::palette::kAccent);
    }

    for (const auto& title : {std::pair{ids::kSpdTitle.controlId, ui::skin::kTitleSpdId},
                              std::pair{ids::kTimingsTitle.controlId, ui::skin::kTitleTimingsId}}) {
        auto* picture = new QLabel(this);
        ui::setControlId(*picture, title.first);
        picture->setPixmap(QPixmap::fromImage(ui::SkinResources::program().bitmap(title.second)));
    }
}

void CSYSINFO_MEMORY::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    SetBitmap(ids::kBackgroundBitmap);
    buildControls();

    const bool refreshing = m_information.initialise();
    for (const auto& slot : m_information.modules())
        m_slotList->addItem(text(slot.name));
    if (!m_information.modules().empty())
        m_slotList->setCurrentIndex(0);
    // Connected after filling, so the list's own first selection does not decode the module twice.
    connect(m_slotList, &QComboBox::currentIndexChanged, this,
            [this](int index) { onSelectionChanged(index); });
    showFields();
    if (refreshing)
        m_scheduler.setTimer(this, ids::kStatusTimer, ids::kStatusPeriodMs, [this] { onTimer(); });
    placeTitlePictures();
}

void CSYSINFO_MEMORY::placeTitlePictures() {
    for (const auto& title : {ids::kSpdTitle, ids::kTimingsTitle})
        if (auto* picture = ui::findControl(*this, title.controlId)) {
            picture->setGeometry(title.x, title.y, title.width, title.height);
            picture->raise();
        }
}

void CSYSINFO_MEMORY::onSelectionChanged(int index) {
    if (m_information.showModule(index))
        showFields();
}

void CSYSINFO_MEMORY::onTimer() {
    m_information.refreshStatus();
    showFields();
}

void CSYSINFO_MEMORY::showFields() {
    for (const auto& [controlId, value] : m_information.fields())
        if (const auto label = m_fields.find(controlId); label != m_fields.end())
            if (label->second->text() != QString::fromStdString(value))
                label->second->SetText(QString::fromStdString(value));
}

void CSYSINFO_MEMORY::OnDestroy() {
    m_scheduler.killTimers(this);
    TStackedPage::OnDestroy();
}

QString CSYSINFO_MEMORY::fieldText(int controlId) const {
    const auto label = m_fields.find(controlId);
    return label == m_fields.end() ? QString() : label->second->text();
}

} // namespace solvane::sysinfo::pages
