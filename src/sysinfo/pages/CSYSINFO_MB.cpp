#include "sysinfo/pages/CSYSINFO_MB.h"

#include "sysinfo/pages/MotherboardPageIds.h"
#include "sysinfo/pages/MotherboardPageLayout.h"
#include "ui/ControlId.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"
#include "ui/SkinResources.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>

namespace solvane::sysinfo::pages {

namespace ids = motherboard_ids;
namespace layout = motherboard_layout;

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

enum class Panel { Left, Right };

// The single-value rows: panel and row top. Family, Model and Stepping share their own row.
struct ValueRow {
    MotherboardValue value;
    Panel panel;
    int top;
};
constexpr int row(int base, int index) {
    return base + index * layout::kRowPitch;
}
constexpr std::array<ValueRow, 14> kValueRows{{
    {MotherboardValue::Manufacturer, Panel::Left, row(layout::kUpperTop, 0)},
    {MotherboardValue::ProductName, Panel::Left, row(layout::kUpperTop, 1)},
    // rows 2 to 4: north bridge, south bridge, Super I/O
    {MotherboardValue::SerialNumber, Panel::Left, row(layout::kUpperTop, 5)},
    {MotherboardValue::VendorName, Panel::Left, row(layout::kLowerTop, 0)},
    {MotherboardValue::Version, Panel::Left, row(layout::kLowerTop, 1)},
    {MotherboardValue::BuildDate, Panel::Left, row(layout::kLowerTop, 2)},
    {MotherboardValue::ProcessorName, Panel::Right, row(layout::kUpperTop, 0)},
    {MotherboardValue::CoreVoltage, Panel::Right, row(layout::kUpperTop, 1)},
    {MotherboardValue::ExternalClock, Panel::Right, row(layout::kUpperTop, 2)},
    {MotherboardValue::NumberOfProcessors, Panel::Right, row(layout::kUpperTop, 3)},
    {MotherboardValue::ProcessorId, Panel::Right, row(layout::kUpperTop, 4)},
    {MotherboardValue::Chipset, Panel::Right, row(layout::kLowerTop, 0)},
    {MotherboardValue::BiosVersion, Panel::Right, row(layout::kLowerTop, 1)},
    {MotherboardValue::DriverVersion, Panel::Right, row(layout::kLowerTop, 2)},
}};
constexpr int kNorthBridgeTop = row(layout::kUpperTop, 2);
constexpr int kSouthBridgeTop = row(layout::kUpperTop, 3);
constexpr int kSuperIoTop = row(layout::kUpperTop, 4);
constexpr std::array<MotherboardValue, 3> kSignatureValues{MotherboardValue::Family, MotherboardValue::Model,
                                                           MotherboardValue::Stepping};

struct Group {
    int groupId;
    int titleId;
    int pictureId;
    QRect rect;
};
constexpr std::array<Group, 4> kGroups{{
    {ids::kMotherboardGroup, ids::kMotherboardTitle, ui::skin::kTitleMotherboardId,
     layout::kMotherboardGroup},
    {ids::kProcessorGroup, ids::kProcessorTitle, ui::skin::kTitleProcessorId, layout::kProcessorGroup},
    {ids::kBiosGroup, ids::kBiosTitle, ui::skin::kTitleBiosId, layout::kBiosGroup},
    {ids::kVgaGroup, ids::kVgaTitle, ui::skin::kTitleVgaId, layout::kVgaGroup},
}};

int controlOf(MotherboardValue value) {
    for (const auto& label : ids::kValueLabels)
        if (label.value == value)
            return label.controlId;
    return 0;
}

std::string captionOf(MotherboardValue value) {
    return std::string(kMotherboardValueCaptions[static_cast<std::size_t>(value)]);
}

} // namespace

CSYSINFO_MB::CSYSINFO_MB(std::function<MotherboardInfo()> gather, std::function<std::string()> coreVoltage,
                         platform::Scheduler& scheduler, QWidget* parent)
    : TStackedPage(ids::kDialog, parent), m_gather(std::move(gather)), m_coreVoltage(std::move(coreVoltage)),
      m_scheduler(scheduler) {
    setObjectName(QStringLiteral("CSYSINFO_MB"));
}

CSYSINFO_MB::~CSYSINFO_MB() {
    m_scheduler.killTimers(this);
}

void CSYSINFO_MB::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    SetBitmap(ui::SkinResources::program().filePath(ui::skin::kStackBackgroundFile));
    m_info = m_gather();
    buildGroups();
    buildValueRows();
    auto* hidden = new QLabel(this);
    ui::setControlId(*hidden, ids::kHiddenValue);
    hidden->hide();
    m_scheduler.setTimer(this, ids::kCoreVoltageTimer, ids::kCoreVoltagePeriodMs, [this] { onTimer(); });
}

void CSYSINFO_MB::buildGroups() {
    const auto& resources = ui::SkinResources::program();
    for (const auto& group : kGroups) {
        auto* frame = new QFrame(this);
        ui::setControlId(*frame, group.groupId);
        frame->setGeometry(group.rect);
        frame->setStyleSheet(
            QStringLiteral("border: 1px solid %1; border-radius: 4px; background: transparent;")
                .arg(layout::kGroupLine.toQColor().name()));
        auto* title = new QLabel(this);
        ui::setControlId(*title, group.titleId);
        const QPixmap picture = QPixmap::fromImage(resources.bitmap(group.pictureId));
        title->setPixmap(picture);
        title->setGeometry(group.rect.x() + layout::kTitleInset, group.rect.y() - layout::kTitleRaise,
                           picture.width(), picture.height());
    }
}

ui::CLabel* CSYSINFO_MB::addCaption(const QString& caption, int x, int top, int width) {
    auto* label = new ui::CLabel(this, &m_scheduler);
    label->SetTransparent(true).SetTextColor(layout::kCaptionColour).SetFontSize(layout::kCaptionPixels);
    label->SetStaticStyle({ui::StaticAlign::LeftNoWordWrap, false});
    label->SetText(caption);
    label->setGeometry(x, top, width, layout::kRowHeight);
    return label;
}

ui::CLabel* CSYSINFO_MB::addValue(int controlId, const std::string& value, int x, int top, int width) {
    auto* label = new ui::CLabel(this, &m_scheduler);
    ui::setControlId(*label, controlId);
    label->SetTransparent(true)
        .SetTextColor(layout::kValueColour)
        .SetFontSize(layout::kValuePixels)
        .SetFontBold(true)
        .SetStaticStyle({ui::StaticAlign::LeftNoWordWrap, false});
    label->SetText(text(value));
    label->setToolTip(text(value)); // long processor and adapter names do not fit their field
    label->setGeometry(x, top, width, layout::kRowHeight);
    return label;
}

void CSYSINFO_MB::addMakerRow(int captionId, const std::string& caption, int vendorId, int chipId,
                              const std::string& vendor, const std::string& chip, int top) {
    auto* captionLabel = addCaption(text(caption), layout::kLeftCaptionX, top, layout::kLeftCaptionWidth);
    if (captionId != 0)
        ui::setControlId(*captionLabel, captionId);
    addValue(vendorId, vendor, layout::kLeftValueX, top, layout::kVendorWidth);
    const int chipX = layout::kLeftValueX + layout::kVendorWidth + layout::kChipGap;
    addValue(chipId, chip, chipX, top, layout::kLeftValueWidth - layout::kVendorWidth - layout::kChipGap);
}

void CSYSINFO_MB::buildValueRows() {
    for (const auto& valueRow : kValueRows) {
        const bool left = valueRow.panel == Panel::Left;
        addCaption(text(captionOf(valueRow.value)), left ? layout::kLeftCaptionX : layout::kRightCaptionX,
                   valueRow.top, left ? layout::kLeftCaptionWidth : layout::kRightCaptionWidth);
        auto* label = addValue(controlOf(valueRow.value), m_info.value(valueRow.value).value_or(""),
                               left ? layout::kLeftValueX : layout::kRightValueX, valueRow.top,
                               left ? layout::kLeftValueWidth : layout::kRightValueWidth);
        if (valueRow.value == MotherboardValue::CoreVoltage)
            m_coreVoltageLabel = label;
        if (valueRow.value == MotherboardValue::ProcessorName) {
            label->SetFontSize(layout::kLongValuePixels).SetFontBold(false);
            label->setGeometry(layout::kRightCaptionX, valueRow.top + layout::kLongValueDrop,
                               layout::kLongValueWidth, layout::kRowHeight);
        }
    }
    const auto& bridges = m_info.bridges;
    addMakerRow(ids::kNorthBridgeCaption, bridges.north.caption, ids::kNorthBridgeVendor,
                ids::kNorthBridgeChip, bridges.north.vendor, bridges.north.chip, kNorthBridgeTop);
    addMakerRow(ids::kSouthBridgeCaption, bridges.south.caption, ids::kSouthBridgeVendor,
                ids::kSouthBridgeChip, bridges.south.vendor, bridges.south.chip, kSouthBridgeTop);
    addMakerRow(0, std::string(kSuperIoCaption), ids::kSuperIoVendor, ids::kSuperIoChip,
                m_info.superIo.vendor, m_info.superIo.chip, kSuperIoTop);
    for (std::size_t index = 0; index < kSignatureValues.size(); ++index) {
        const auto value = kSignatureValues[index];
        const int x = layout::kRightCaptionX + static_cast<int>(index) * layout::kSignaturePitch;
        addCaption(text(captionOf(value)), x, layout::kSignatureTop, layout::kSignatureCaptionWidth);
        // Without a processor identifier the page leaves these fields as the template has them: empty.
        addValue(controlOf(value), m_info.value(value).value_or(""), x + layout::kSignatureCaptionWidth,
                 layout::kSignatureTop, layout::kSignatureValueWidth);
    }
}

void CSYSINFO_MB::onTimer() {
    const auto voltage = text(m_coreVoltage ? m_coreVoltage() : std::string());
    m_coreVoltageLabel->SetText(voltage);
    m_coreVoltageLabel->setToolTip(voltage);
}

} // namespace solvane::sysinfo::pages
