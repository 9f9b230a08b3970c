#include "tuning/pages/CSLV_ADVANCE_LED.h"

#include "tuning/LedCaptions.h"
#include "tuning/OptionListLines.h"
#include "tuning/PciCardProbe.h"
#include "tuning/pages/AdvancedPageLayout.h"
#include "tuning/pages/CList0.h"
#include "tuning/pages/LedPageIds.h"
#include "tuning/pages/LedPageLayout.h"
#include "ui/BoardPictureLayout.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/SkinCatalogue.h"

#include <QGroupBox>
#include <QMouseEvent>
#include <algorithm>

namespace solvane::tuning::pages {

namespace ids = led_ids;
namespace layout = led_layout;

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

const ui::skin::BoardPicture& boardPictureOf(BoardPictureKind kind) {
    return kind == BoardPictureKind::Small ? ui::skin::kSmallBoardPicture : ui::skin::kFullBoardPicture;
}

const ui::skin::BoardSite* siteOf(std::span<const ui::skin::BoardSite> sites, int controlId) {
    const auto found = std::find_if(sites.begin(), sites.end(), [controlId](const ui::skin::BoardSite& site) {
        return site.controlId == controlId;
    });
    return found == sites.end() ? nullptr : &*found;
}

QSize bitmapSize(int bitmapId) {
    const auto bitmap = ui::skin::bitmapById(bitmapId);
    return bitmap ? QSize(bitmap->width, bitmap->height) : QSize();
}

} // namespace

CSLV_ADVANCE_LED::CSLV_ADVANCE_LED(Context context, QWidget* parent)
    : TStackedPage(ids::kDialog, parent), m_context(context),
      m_list(OptionListState(context.state.routines, context.state.modes, context.commands)),
      m_profiles(context.registry, kLedProfiles, context.state.modes, context.commands) {
    setObjectName(QStringLiteral("CSLV_ADVANCE_LED"));
}

CSLV_ADVANCE_LED::~CSLV_ADVANCE_LED() = default;

void CSLV_ADVANCE_LED::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    const auto& platform = m_context.state.platform;
    m_plan = ledPagePlan(platform.BoardCode, platform.biosVersion, platform.CpuVendor);
    // Without the picture's file the page shows no picture.
    SetBitmap(m_context.skins.filePath(boardPictureOf(m_plan.picture).file));
    for (const int image : lamp_image::kAll)
        m_lampPictures[image] = QPixmap::fromImage(m_context.skins.bitmap(image));
    buildBoardPicture();
    buildRows();
    m_profileControls = std::make_unique<ProfileControls>(
        *this, m_profiles, m_context.prompt, m_context.state.modes,
        ProfileControls::Ids{ids::kLoad, ids::kSave, ids::kCancel, ids::kNameEdit},
        ProfileControls::Places{layout::kLoad, layout::kSave, layout::kCancel, layout::kNameEdit},
        [this] { m_timers->startCaptionRefresh(); });
    m_pciCard = pciCardPresent(m_context.pci, m_context.ieee1394Bus);
    m_timers =
        std::make_unique<LedPageTimers>(m_context.scheduler, this,
                                        LedPageTimers::Work{.refreshLamps = [this] { refreshLamps(); },
                                                            .refreshCaptions = [this] { refreshCaptions(); },
                                                            .blink = [this](bool phaseOn) { blink(phaseOn); },
                                                            .listOpen = [this] { return m_list.isOpen(); }});
    refreshCaptions();
    refreshLamps();
    m_timers->start();
}

void CSLV_ADVANCE_LED::OnSetActive() {
    refreshCaptions();
    refreshLamps();
}

void CSLV_ADVANCE_LED::OnDestroy() {
    m_timers.reset();
    TStackedPage::OnDestroy();
}

void CSLV_ADVANCE_LED::buildBoardPicture() {
    const auto& picture = boardPictureOf(m_plan.picture);
    const QPoint origin(picture.board.x, picture.board.y);
    const auto& skins = m_context.skins;
    for (const auto& slot : picture.slotSites) {
        auto* label = new QLabel(this);
        ui::setControlId(*label, slot.controlId);
        label->setPixmap(QPixmap::fromImage(skins.bitmap(slot.bitmapId)));
        label->setGeometry(QRect(origin + QPoint(slot.x, slot.y), bitmapSize(slot.bitmapId)));
        const auto index = static_cast<std::size_t>(
            std::find(kSlotPictures.begin(), kSlotPictures.end(), slot.controlId) - kSlotPictures.begin());
        label->setVisible(index < m_plan.slotsShown.size() && m_plan.slotsShown[index]);
    }
    for (const auto& site : picture.lampSites) {
        auto* label = new QLabel(this);
        ui::setControlId(*label, site.controlId);
        label->setGeometry(QRect(origin + QPoint(site.x, site.y), bitmapSize(site.bitmapId)));
        label->setVisible(m_plan.lampShown(site.controlId));
        m_lamps[site.controlId] = {label, 0};
    }
    for (const auto& led : kLedSwitches) {
        const auto& switchPlan = m_plan.of(led.setting);
        const auto* site = siteOf(picture.spotSites, led.pictureId);
        if (led.pictureId == 0 || site == nullptr)
            continue;
        auto* button = new ui::CxSkinButton(this);
        ui::setControlId(*button, led.pictureId);
        button->SetSkin(ui::CxSkinButton::SkinIds{switchPlan.pictures[0], switchPlan.pictures[1],
                                                  switchPlan.pictures[2], 0},
                        ui::DrawMode::Stretch, ui::CxSkinButton::Border::None, 0, skins);
        button->SetToolTipText(text(led.toolTip));
        button->SetTextColor(led.colour == CaptionColour::Green ? ui::palette::kPictureCaptionGreen
                                                                : ui::palette::kPictureCaptionBlue);
        button->setText(text(switchPlan.pictureCaption));
        button->setGeometry(QRect(origin + QPoint(site->x, site->y), bitmapSize(switchPlan.pictures[0])));
        button->setVisible(switchPlan.pictureShown);
        const int setting = led.setting;
        connect(button, &QAbstractButton::clicked, this, [this, setting] { OnPictureButton(setting); });
        m_switches[static_cast<std::size_t>(setting - kFirstLedSetting)].picture = button;
    }
}

void CSLV_ADVANCE_LED::buildRows() {
    const QRect box = layout::kGroupBox;
    // The group's caption is the title its picture shows; the group box draws it where the board
    // has no title picture.
    auto* frame = new QGroupBox(text(ui::skin::bitmapById(ui::skin::kTitleLedId)->text), this);
    frame->setStyleSheet(m_plan.groupPictureShown
                             ? ui::palette::titledGroupFrameStyle()
                             : ui::palette::captionedGroupFrameStyle(layout::kTitleLeft, layout::kTitleTop));
    auto* title = new QLabel(this);
    ui::setControlId(*title, ids::kLedGroupPicture);
    title->setPixmap(QPixmap::fromImage(m_context.skins.bitmap(ui::skin::kTitleLedId)));
    title->setGeometry(QRect(box.topLeft() + QPoint(layout::kTitleLeft, layout::kTitleTop),
                             bitmapSize(ui::skin::kTitleLedId)));
    title->setVisible(m_plan.groupPictureShown);

    const int buttonLeft = box.right() + 1 - layout::kButtonRightMargin - layout::kValueButtonWidth;
    int line = 0;
    for (const auto& led : kLedSwitches) {
        const auto& switchPlan = m_plan.of(led.setting);
        auto& controls = m_switches[static_cast<std::size_t>(led.setting - kFirstLedSetting)];
        controls.label = new QLabel(text(switchPlan.label), this);
        ui::setControlId(*controls.label, led.labelId);
        controls.label->setStyleSheet(ui::palette::captionStyle());
        controls.button =
            makeCaptionedButton(this, led.buttonId, text(kValueButtonText), ui::skin::kValueButtonIds);
        const int setting = led.setting;
        connect(controls.button, &QAbstractButton::clicked, this,
                [this, setting] { OnValueButton(setting); });
        controls.label->setVisible(switchPlan.shown);
        controls.button->setVisible(switchPlan.shown);
        if (!switchPlan.shown)
            continue;
        // Shown rows fill the group from the top, so hidden rows leave no gaps.
        const int y = box.y() + layout::kFirstRowTop + line++ * layout::kRowPitch;
        controls.label->setGeometry(box.x() + layout::kLabelLeft, y,
                                    buttonLeft - box.x() - layout::kLabelLeft - 4,
                                    layout::kValueButtonHeight);
        controls.button->setGeometry(buttonLeft, y, layout::kValueButtonWidth, layout::kValueButtonHeight);
    }
    // The group's frame closes under its last row.
    frame->setGeometry(
        box.x(), box.y(), box.width(),
        std::min(box.height(), layout::kFirstRowTop + line * layout::kRowPitch + layout::kFrameBottom));
}

void CSLV_ADVANCE_LED::refreshCaptions() {
    if (!m_context.state.routines.checksEnabled)
        return;
    for (const auto& led : kLedSwitches)
        if (const auto caption = ledCaption(led.setting, m_context.state.modes))
            controlsOf(led.setting).button->setText(text(*caption));
}

void CSLV_ADVANCE_LED::refreshLamps() {
    showLamps(lampPictures(m_context.state.modes.CurrentValues, ledPhaseCounts(m_context.state), m_pciCard));
}

void CSLV_ADVANCE_LED::blink(bool phaseOn) {
    if (m_list.isOpen())
        showLamps(blinkPictures(m_list.openIndex(), phaseOn, ledPhaseCounts(m_context.state)));
}

void CSLV_ADVANCE_LED::showLamps(const std::vector<LampPicture>& pictures) {
    for (const auto& picture : pictures) {
        const auto found = m_lamps.find(picture.lampId);
        if (found == m_lamps.end() || found->second.image == picture.image)
            continue;
        found->second.image = picture.image;
        found->second.label->setPixmap(m_lampPictures[picture.image]);
    }
}

QLabel* CSLV_ADVANCE_LED::lamp(int lampId) const {
    const auto found = m_lamps.find(lampId);
    return found == m_lamps.end() ? nullptr : found->second.label;
}

int CSLV_ADVANCE_LED::lampImage(int lampId) const {
    const auto found = m_lamps.find(lampId);
    return found == m_lamps.end() ? 0 : found->second.image;
}

void CSLV_ADVANCE_LED::OnValueButton(int setting) {
    m_timers->startBlinking();
    if (m_list.toggle(setting) == OptionListState::Toggle::Open)
        showList(setting);
    else
        m_list.hide();
    m_timers->startCaptionRefresh();
}

void CSLV_ADVANCE_LED::OnPictureButton(int setting) {
    auto& modes = m_context.state.modes;
    auto& value = modes.CurrentValues[static_cast<std::size_t>(setting)];
    if (value == 0 || value == 1)
        value = 1 - value;
    modes.PendingSettingIndex = setting;
    m_context.commands.send(power::BoardCommand::WriteSetting);
    m_timers->startCaptionRefresh();
}

void CSLV_ADVANCE_LED::showList(int setting) {
    const auto current = m_context.state.modes.CurrentValues[static_cast<std::size_t>(setting)];
    m_list.show(setting, ledOptionListLines(current), 0, ListKind::LedSwitch, ListOpens::Below,
                *valueButton(setting), advanced_layout::kOptionListSize);
}

void CSLV_ADVANCE_LED::OnListClosed() {
    m_list.close();
}

void CSLV_ADVANCE_LED::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        m_profileControls->showMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && m_list.isOpen())
        OnListClosed();
    TStackedPage::mousePressEvent(event);
}

} // namespace solvane::tuning::pages
