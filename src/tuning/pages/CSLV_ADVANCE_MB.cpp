#include "tuning/pages/CSLV_ADVANCE_MB.h"

#include "power/PowerModeNames.h"
#include "tuning/AdvancedCaptions.h"
#include "tuning/OptionListLines.h"
#include "tuning/pages/AdvancedPageIds.h"
#include "tuning/pages/AdvancedPageLayout.h"
#include "tuning/pages/CList0.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QGroupBox>
#include <QMouseEvent>

namespace solvane::tuning::pages {

namespace ids = advanced_ids;
namespace layout = advanced_layout;

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

constexpr std::string_view kNotAvailable = "N/A.";
constexpr std::array<int, 3> kGroupTitlePictures{ui::skin::kTitleCpuId, ui::skin::kTitleDdrId,
                                                 ui::skin::kTitleMchIchFanId};

} // namespace

CSLV_ADVANCE_MB::CSLV_ADVANCE_MB(Context context, QWidget* parent)
    : TStackedPage(ids::kDialog, parent), m_context(context),
      m_list(OptionListState(context.state.routines, context.state.modes, context.commands)),
      m_profiles(context.registry, kMotherboardProfiles, context.state.modes, context.commands) {
    setObjectName(QStringLiteral("CSLV_ADVANCE_MB"));
}

CSLV_ADVANCE_MB::~CSLV_ADVANCE_MB() = default;

void CSLV_ADVANCE_MB::buildControls() {
    const int columnWidth = layout::kReadoutBand.width() / static_cast<int>(ids::kReadouts.size());
    for (std::size_t i = 0; i < ids::kReadouts.size(); ++i) {
        const int x = layout::kReadoutBand.x() + static_cast<int>(i) * columnWidth;
        auto* caption = new QLabel(text(layout::kReadoutCaptions[i]), this);
        ui::setControlId(*caption, ids::kReadouts[i].captionId);
        caption->setStyleSheet(ui::palette::captionStyle());
        caption->setAlignment(Qt::AlignCenter);
        caption->setGeometry(x, layout::kReadoutBand.y(), columnWidth, 20);
        auto* value = new ui::CLabel(this, &m_context.scheduler);
        ui::setControlId(*value, ids::kReadouts[i].valueId);
        value->SetTransparent(true).SetTextColor(ui::palette::kSavingGreen).SetFontSize(13).SetFontBold(true);
        value->SetStaticStyle({ui::StaticAlign::Center, true});
        value->setGeometry(x, layout::kReadoutBand.y() + 22, columnWidth, 26);
        m_readoutCaptions[i] = caption;
        m_readoutValues[i] = value;
    }

    for (std::size_t group = 0; group < layout::kGroupBoxes.size(); ++group) {
        const QRect box = layout::kGroupBoxes[group];
        auto* frame = new QGroupBox(this);
        ui::setControlId(*frame, ids::kGroups[group]);
        frame->setGeometry(box);
        frame->setStyleSheet(ui::palette::titledGroupFrameStyle());
        auto* title = new QLabel(this);
        ui::setControlId(*title, ids::kGroupTitles[group]);
        title->setPixmap(QPixmap::fromImage(ui::SkinResources::program().bitmap(kGroupTitlePictures[group])));
        title->setGeometry(box.x() + layout::kTitleLeft, box.y() + layout::kTitleTop, 110, 18);
        if (group > 0) {
            m_groupParts[2 * (group - 1)] = frame;
            m_groupParts[2 * (group - 1) + 1] = title;
        }
    }

    for (const auto& row : kAdvancedRows) {
        auto& controls = m_rows[static_cast<std::size_t>(row.setting)];
        controls.label = new QLabel(text(row.label), this);
        ui::setControlId(*controls.label, row.labelId);
        controls.label->setStyleSheet(ui::palette::captionStyle());
        controls.button =
            makeCaptionedButton(this, row.buttonId, text(kValueButtonText), ui::skin::kValueButtonIds);
        const int setting = row.setting;
        connect(controls.button, &QAbstractButton::clicked, this,
                [this, setting] { OnValueButton(setting); });
    }

    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        auto* radio = makeCaptionedButton(this, ids::kModeRadios[i], text(layout::kRadioCaptions[i]),
                                          ui::skin::kPlainButtonIds, ui::CxSkinButton::Kind::RadioButton);
        radio->SetRadioGroup(1);
        const auto mode = static_cast<power::PowerMode>(i);
        radio->SetToolTipText(text(power::modeTitle(mode)));
        radio->setGeometry(layout::kRadioLeft +
                               static_cast<int>(i) * (layout::kRadioWidth + layout::kRadioGap),
                           layout::kBottomTop, layout::kRadioWidth, layout::kRadioHeight);
        connect(radio, &QAbstractButton::clicked, this, [this, mode] { OnModeRadio(mode); });
        m_radios[i] = radio;
    }

    m_profileControls = std::make_unique<ProfileControls>(
        *this, m_profiles, m_context.prompt, m_context.state.modes,
        ProfileControls::Ids{ids::kLoad, ids::kSave, ids::kCancel, ids::kNameEdit},
        ProfileControls::Places{layout::kLoad, layout::kSave, layout::kCancel, layout::kNameEdit},
        [this] { m_timers->startCaptionRefresh(); });
}

void CSLV_ADVANCE_MB::applyBoardLayout() {
    std::array<int, 3> lines{};
    for (const auto& row : kAdvancedRows) {
        const auto& plan = m_plan.rows[static_cast<std::size_t>(row.setting)];
        auto& controls = m_rows[static_cast<std::size_t>(row.setting)];
        controls.label->setText(text(plan.label));
        controls.label->setVisible(plan.shown);
        controls.button->setVisible(plan.shown);
        // A row of a setting the board lacks reads "N/A." and cannot open a list; the Smart Fan
        // button keeps the fan speed it shows.
        const bool lacking = !rowHasSetting(row, m_context.state);
        if (plan.notAvailable || (lacking && row.kind != ListKind::Fan))
            controls.button->setText(text(kNotAvailable));
        controls.button->setEnabled(plan.enabled && !lacking);
        if (!plan.shown)
            continue;
        // Shown rows fill their group from the top, so hidden rows leave no gaps.
        const auto group = static_cast<std::size_t>(row.group);
        const QRect box = layout::kGroupBoxes[group];
        const int y = box.y() + layout::kFirstRowTop + lines[group]++ * layout::kRowPitch;
        const int buttonLeft = box.right() + 1 - layout::kButtonRightMargin - layout::kValueButtonWidth;
        controls.label->setGeometry(box.x() + layout::kLabelLeft, y,
                                    buttonLeft - box.x() - layout::kLabelLeft - 4,
                                    layout::kValueButtonHeight);
        controls.button->setGeometry(buttonLeft, y, layout::kValueButtonWidth, layout::kValueButtonHeight);
    }
    for (auto* part : m_groupParts)
        part->setVisible(m_plan.ddrAndMchGroupsShown);
    for (std::size_t i = 0; i < m_readoutValues.size(); ++i) {
        m_readoutCaptions[i]->setVisible(m_plan.readoutsShown);
        m_readoutValues[i]->setVisible(m_plan.readoutsShown);
    }
    for (auto* radio : m_radios)
        radio->setVisible(m_plan.radiosShown);
}

void CSLV_ADVANCE_MB::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    SetBitmap(ui::skin::kPageBackgroundId);
    buildControls();
    m_plan = advancedPagePlan(m_context.state.platform.BoardCode);
    m_timers = std::make_unique<AdvancedPageTimers>(
        m_context.scheduler, this, m_context.state.modes,
        AdvancedPageTimers::Work{.refreshReadouts = [this] { refreshReadouts(); },
                                 .refreshRadios = [this] { refreshRadios(); },
                                 .refreshCaptions = [this] { refreshCaptions(); },
                                 .listOpen = [this] { return m_list.isOpen(); }});
    refreshReadouts();
    m_timers->start();
    refreshRadios();
    applyBoardLayout();
    refreshCaptions();
}

void CSLV_ADVANCE_MB::OnSetActive() {
    refreshRadios();
    refreshCaptions();
}

void CSLV_ADVANCE_MB::OnDestroy() {
    m_timers.reset();
    TStackedPage::OnDestroy();
}

void CSLV_ADVANCE_MB::SetOptionList(CList0* list) {
    m_list.setWidget(list);
}

void CSLV_ADVANCE_MB::refreshReadouts() {
    auto* monitor = m_context.session.monitor();
    if (monitor == nullptr)
        return;
    const auto readouts = advancedReadouts(m_context.state.platform.BoardCode, monitor->readouts(),
                                           m_context.session.measurement().values().FanRpm);
    const std::array<const std::string*, 4> values{&readouts.totalSaving, &readouts.currentSaving,
                                                   &readouts.savingPercentage, &readouts.totalConsumption};
    for (std::size_t i = 0; i < values.size(); ++i)
        m_readoutValues[i]->SetText(QString::fromStdString(*values[i]));
    m_rows[static_cast<std::size_t>(power::Setting::SmartFan)].button->setText(
        QString::fromStdString(readouts.fanCaption));
}

void CSLV_ADVANCE_MB::refreshRadios() {
    const auto active = m_context.state.modes.ActiveMode;
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        auto* radio = m_radios[i];
        const bool selected = static_cast<int>(active) == static_cast<int>(i);
        radio->SetCheck(selected);
        radio->SetBtnCursor(selected ? 0 : ids::kPointingCursor);
        if (i > 0)
            radio->setEnabled(m_context.state.routines.checksEnabled);
        radio->update();
    }
}

void CSLV_ADVANCE_MB::refreshCaptions() {
    if (!m_context.state.routines.checksEnabled)
        return;
    for (const auto& row : kAdvancedRows)
        if (const auto caption = rowCaption(row, m_context.state))
            m_rows[static_cast<std::size_t>(row.setting)].button->setText(QString::fromStdString(*caption));
}

void CSLV_ADVANCE_MB::OnValueButton(int row) {
    if (m_list.toggle(row) == OptionListState::Toggle::Open)
        showList(row);
    else
        m_list.hide();
    m_timers->startCaptionRefresh();
}

void CSLV_ADVANCE_MB::showList(int row) {
    const auto& advancedRow = kAdvancedRows[static_cast<std::size_t>(row)];
    m_list.show(row, optionListLines(advancedRow, m_context.state),
                optionListTop(m_context.state.modes.CurrentValues[static_cast<std::size_t>(row)]),
                advancedRow.kind, advancedRow.opens, *valueButton(row), layout::kOptionListSize);
}

void CSLV_ADVANCE_MB::OnListClosed() {
    m_list.close();
}

void CSLV_ADVANCE_MB::OnModeRadio(power::PowerMode mode) {
    auto& modes = m_context.state.modes;
    if (modes.ActiveMode != mode)
        m_timers->startCaptionRefresh();
    m_timers->recordMode(mode);
    modes.selectMode(mode);
    refreshRadios();
}

void CSLV_ADVANCE_MB::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        m_profileControls->showMenu(event->globalPosition().toPoint());
        return;
    }
    if (event->button() == Qt::LeftButton && m_list.isOpen())
        OnListClosed();
    TStackedPage::mousePressEvent(event);
}

void CSLV_ADVANCE_MB::OnLoad() {
    m_profileControls->OnLoad();
}

void CSLV_ADVANCE_MB::OnSave() {
    m_profileControls->OnSave();
}

void CSLV_ADVANCE_MB::OnCancel() {
    m_profileControls->OnCancel();
}

void CSLV_ADVANCE_MB::OnProfileCommand(int commandId) {
    m_profileControls->OnProfileCommand(commandId);
}

ui::CxSkinButton* CSLV_ADVANCE_MB::modeRadio(power::PowerMode mode) const {
    return mode == power::PowerMode::None ? nullptr : m_radios[static_cast<std::size_t>(mode)];
}

QString CSLV_ADVANCE_MB::readoutText(int valueId) const {
    for (std::size_t i = 0; i < ids::kReadouts.size(); ++i)
        if (ids::kReadouts[i].valueId == valueId)
            return m_readoutValues[i]->text();
    return {};
}

} // namespace solvane::tuning::pages
