#include "power/pages/CSLV_NOVICE.h"

#include "power/BasicPagePlan.h"
#include "power/BasicPageReadouts.h"
#include "power/ThisPcPage.h"
#include "power/pages/BasicPageLayout.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/PopupMenu.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <algorithm>

namespace solvane::power::pages {

namespace {

constexpr ui::ColorRef kValueColour = ui::palette::kAccent;
constexpr ui::ColorRef kTotalColour = ui::palette::kSavingGreen;

const BasicReadoutControl& controlOf(int valueId) {
    return *std::find_if(kBasicReadouts.begin(), kBasicReadouts.end(),
                         [&](const BasicReadoutControl& control) { return control.valueId == valueId; });
}

} // namespace

CSLV_NOVICE::CSLV_NOVICE(PowerSavingSession& session, PowerSavingState& state, platform::Scheduler& scheduler,
                         QWidget* parent)
    : TStackedPage(kDialogId, parent), m_session(session), m_state(state), m_scheduler(scheduler) {
    setObjectName(QStringLiteral("CSLV_NOVICE"));
}

void CSLV_NOVICE::buildControls() {
    const auto addValue = [&](int valueId, QRect box, ui::ColorRef colour, int points) {
        auto* label = new ui::CLabel(this, &m_scheduler);
        ui::setControlId(*label, valueId);
        label->SetTransparent(true).SetTextColor(colour).SetFontSize(points).SetFontBold(true);
        label->setGeometry(box);
        m_values[valueId] = label;
    };
    const auto addCaption = [&](int valueId, std::string_view text, QRect box, Qt::Alignment alignment) {
        auto* caption = new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), this);
        ui::setControlId(*caption, controlOf(valueId).captionId);
        caption->setStyleSheet(ui::palette::captionStyle());
        caption->setAlignment(alignment | Qt::AlignVCenter);
        caption->setGeometry(box);
        m_captions[valueId] = caption;
    };

    const int totalWidth = kTotalsBand.width / static_cast<int>(kTotals.size());
    for (std::size_t i = 0; i < kTotals.size(); ++i) {
        const int x = kTotalsBand.x + static_cast<int>(i) * totalWidth;
        const auto& control = controlOf(kTotals[i]);
        addCaption(control.valueId, control.caption, QRect(x, kTotalsBand.y, totalWidth, 20),
                   Qt::AlignHCenter);
        addValue(control.valueId, QRect(x, kTotalsBand.y + 22, totalWidth, 28), kTotalColour, 15);
        m_values[control.valueId]->SetStaticStyle({ui::StaticAlign::Center, true});
    }

    for (const auto& panel : kPanels) {
        auto* group = new QGroupBox(this);
        ui::setControlId(*group, panel.groupId);
        group->setGeometry(panel.box.x, panel.box.y, panel.box.width, panel.box.height);
        group->setStyleSheet(QStringLiteral("QGroupBox { border: 1px solid %1; border-radius: 6px; }")
                                 .arg(ui::palette::css(ui::palette::kLine)));
        auto* title = new QLabel(this);
        ui::setControlId(*title, panel.titleId);
        title->setPixmap(QPixmap::fromImage(ui::SkinResources::program().bitmap(panel.titleBitmap)));
        title->setGeometry(panel.box.x + 8, panel.box.y + 6, 150, 18);
        for (const int row : panel.rows) {
            if (row == 0)
                break;
            const auto& control = controlOf(row);
            addCaption(row, control.caption, QRect(), Qt::AlignLeft);
            addValue(row, QRect(), kValueColour, 10);
        }
    }

    m_message = new QLabel(this);
    ui::setControlId(*m_message, basic_ids::kMessageLine);
    m_message->setGeometry(kMessageLine.x, kMessageLine.y, kMessageLine.width, kMessageLine.height);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setStyleSheet(
        QStringLiteral("color: %1; font-weight: bold;").arg(ui::palette::css(ui::palette::kAmber)));

    const int buttonsWidth = 3 * kModeButtonWidth + 2 * kModeButtonGap;
    const int left = (width() - buttonsWidth) / 2;
    for (std::size_t i = 0; i < kModeButtons.size(); ++i) {
        const auto& layout = kModeButtons[i];
        auto* button = new ui::CxSkinButton(this, ui::CxSkinButton::Kind::RadioButton);
        ui::setControlId(*button, layout.controlId);
        button->SetRadioGroup(1);
        button->SetSkin(ui::CxSkinButton::SkinIds::ofStates(layout.bitmaps));
        button->SetToolTipText(
            QString::fromUtf8(layout.tooltip.data(), static_cast<qsizetype>(layout.tooltip.size())));
        button->setGeometry(left + static_cast<int>(i) * (kModeButtonWidth + kModeButtonGap), kModeButtonTop,
                            kModeButtonWidth, kModeButtonHeight);
        const auto mode = static_cast<PowerMode>(i);
        connect(button, &QAbstractButton::clicked, this, [this, mode] { selectMode(mode); });
        m_modeButtons[i] = button;
    }
}

std::optional<ThisPcPage> CSLV_NOVICE::thisPcPage() const {
    const auto* monitor = m_session.monitor();
    if (monitor == nullptr || monitor->thisPc() == nullptr)
        return std::nullopt;
    return power::thisPcPage(*monitor->thisPc(), m_session.measurement().values());
}

void CSLV_NOVICE::showThisPcTitles(const ThisPcPage& page) {
    for (std::size_t i = 0; i < kPanels.size(); ++i) {
        auto* title = qobject_cast<QLabel*>(ui::findControl(*this, kPanels[i].titleId));
        const auto text = page.panelTitles[i];
        title->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        title->setStyleSheet(ui::palette::captionStyle() + QStringLiteral("font-weight: bold;"));
    }
    for (const auto& row : page.rows)
        if (auto caption = m_captions.find(row.valueId); caption != m_captions.end())
            caption->second->setText(QString::fromStdString(row.caption));
}

void CSLV_NOVICE::applyBoardLayout() {
    const auto pc = thisPcPage();
    const auto plan = pc ? pc->layout : basicPagePlan(m_state.platform.BoardCode);
    for (const int total : kTotals) {
        m_values[total]->setVisible(plan.totals);
        m_captions[total]->setVisible(plan.totals);
    }
    // Visible rows fill their panel from the top, so hidden rows leave no gaps.
    for (const auto& panel : kPanels) {
        int row = 0;
        for (const int valueId : panel.rows) {
            if (valueId == 0)
                break;
            const bool shown = plan.panels && plan.hiddenRows.count(valueId) == 0;
            m_values[valueId]->setVisible(shown);
            m_captions[valueId]->setVisible(shown);
            if (!shown)
                continue;
            const int y = panel.box.y + kRowTop + row * kRowHeight;
            const int captionWidth = panel.box.width * 11 / 20;
            m_captions[valueId]->setGeometry(panel.box.x + 10, y, captionWidth - 10, kRowHeight - 2);
            // Value text sits at the top of its label: start it where the caption's line is.
            m_values[valueId]->setGeometry(panel.box.x + captionWidth, y + 6,
                                           panel.box.width - captionWidth - 6, kRowHeight - 8);
            ++row;
        }
        const bool panelShown = row > 0;
        ui::findControl(*this, panel.groupId)->setVisible(panelShown);
        ui::findControl(*this, panel.titleId)->setVisible(panelShown);
    }
    for (auto* button : m_modeButtons)
        button->setVisible(plan.modeButtons);
}

void CSLV_NOVICE::OnInitDialog() {
    TStackedPage::OnInitDialog();
    resize(ui::skin::kPageFrame.width, ui::skin::kPageFrame.height);
    SetBitmap(ui::skin::kPageBackgroundId);
    buildControls();
    m_session.initialise();
    if (auto* monitor = m_session.monitor()) {
        monitor->setModeButtonsChanged([this] { updateModeButtons(); });
        monitor->setRefreshed([this] { showReadouts(); });
        showReadouts();
    }
    // The captions the board renames.
    for (const auto& control : kBasicReadouts) {
        const auto caption = basicReadoutCaption(m_state.platform.BoardCode, control);
        if (auto label = m_captions.find(control.valueId); label != m_captions.end())
            label->second->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    }
    if (const auto pc = thisPcPage())
        showThisPcTitles(*pc);
    updateModeButtons();
    applyBoardLayout();
}

void CSLV_NOVICE::OnDestroy() {
    m_session.shutdown();
    TStackedPage::OnDestroy();
}

void CSLV_NOVICE::showEvent(QShowEvent* event) {
    TStackedPage::showEvent(event);
    if (m_outOfSight) {
        m_outOfSight = false;
        showReadouts();
    }
}

void CSLV_NOVICE::hideEvent(QHideEvent* event) {
    TStackedPage::hideEvent(event);
    m_outOfSight = true;
}

void CSLV_NOVICE::showReadouts() {
    const auto* monitor = m_session.monitor();
    if (monitor == nullptr || m_outOfSight)
        return;
    if (const auto pc = thisPcPage()) {
        showMessage(monitor->message());
        for (const auto& row : pc->rows)
            if (auto value = m_values.find(row.valueId); value != m_values.end()) {
                value->second->SetText(QString::fromStdString(row.text));
                value->second->setToolTip(
                    QString::fromStdString(row.missing.empty() ? row.source : row.missing));
            }
        return;
    }
    for (const auto& readout : basicPageReadouts(m_state, *monitor)) {
        if (readout.valueId == basic_ids::kMessageLine) {
            showMessage(readout.text);
            continue;
        }
        if (auto value = m_values.find(readout.valueId); value != m_values.end())
            value->second->SetText(QString::fromStdString(readout.text));
    }
}

void CSLV_NOVICE::updateModeButtons() {
    const auto active = m_state.modes.ActiveMode;
    for (std::size_t i = 0; i < m_modeButtons.size(); ++i) {
        auto* button = m_modeButtons[i];
        const bool isActive = static_cast<int>(active) == static_cast<int>(i);
        // The refresh asks every 3 seconds; only a change is worth a repaint.
        if (button->GetCheck() == isActive && m_buttonsShown)
            continue;
        button->SetCheck(isActive);
        button->SetBtnCursor(isActive ? 0 : ui::skin::kHandCursorId);
        // Without a supported board, or on a PC without a power profile to switch, only Default can
        // be chosen.
        if (i > 0)
            button->setEnabled(m_session.savingModesAvailable());
        button->update();
    }
    m_buttonsShown = true;
    if (const auto* monitor = m_session.monitor())
        showMessage(monitor->message());
}

void CSLV_NOVICE::showMessage(std::string_view text) {
    // With nothing else to say, the line tells why Optimize and Max cannot be chosen, else on a PC
    // what the machine runs on.
    std::string pcMessage;
    auto shown = text.empty() ? m_session.savingModesReason() : text;
    if (shown.empty())
        if (const auto pc = thisPcPage()) {
            pcMessage = pc->message;
            shown = pcMessage;
        }
    const auto line = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
    // A line too long for its place ends in an ellipsis; its tool tip holds it whole.
    const auto fitted = m_message->fontMetrics().elidedText(line, Qt::ElideRight, m_message->width());
    if (m_message->text() == fitted)
        return;
    m_message->setText(fitted);
    m_message->setToolTip(fitted == line ? QString() : line);
}

bool CSLV_NOVICE::modeAvailable(PowerMode mode) const {
    return mode == PowerMode::Default || m_session.savingModesAvailable();
}

void CSLV_NOVICE::selectMode(PowerMode mode) {
    if (!modeAvailable(mode))
        return;
    if (auto* monitor = m_session.monitor())
        monitor->SelectMode(mode);
    else
        updateModeButtons(); // no power-saving library: nothing can be applied
}

void CSLV_NOVICE::onMenuCommand(int commandId) {
    if (commandId == basic_ids::kMenuPowerHistory && m_openPowerHistory) {
        m_openPowerHistory();
        return;
    }
    const PowerMode mode = commandId == basic_ids::kMenuDefault    ? PowerMode::Default
                           : commandId == basic_ids::kMenuOptimize ? PowerMode::Optimize
                           : commandId == basic_ids::kMenuMax      ? PowerMode::Max
                                                                   : PowerMode::None;
    if (mode == PowerMode::None || !modeAvailable(mode))
        return;
    m_modeButtons[static_cast<std::size_t>(mode)]->SetCheck(true);
    selectMode(mode);
}

void CSLV_NOVICE::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton) {
        TStackedPage::mousePressEvent(event);
        return;
    }
    static constexpr std::array<ui::MenuItem, 3> kModeMenu{{
        {basic_ids::kMenuDefault, "Default"},
        {basic_ids::kMenuOptimize, "Optimize"},
        {basic_ids::kMenuMax, "Max Power Saving"},
    }};
    auto menu = ui::buildPopupMenu(kModeMenu, this);
    for (QAction* action : menu->actions()) {
        action->setCheckable(true);
        const int command = action->data().toInt();
        action->setChecked(command - basic_ids::kMenuDefault == static_cast<int>(m_state.modes.ActiveMode));
        action->setEnabled(modeAvailable(static_cast<PowerMode>(command - basic_ids::kMenuDefault)));
    }
    if (m_openPowerHistory) {
        menu->addSeparator();
        menu->addAction(QStringLiteral("Power History..."))->setData(basic_ids::kMenuPowerHistory);
    }
    if (const auto chosen = ui::trackPopupMenu(*menu, event->globalPosition().toPoint()))
        onMenuCommand(*chosen);
}

bool CSLV_NOVICE::OnPowerBroadcast(int event) {
    if (auto* monitor = m_session.monitor())
        return monitor->OnPowerBroadcast(event);
    return true;
}

QString CSLV_NOVICE::readoutText(int valueId) const {
    if (valueId == basic_ids::kMessageLine)
        return m_message != nullptr ? m_message->text() : QString();
    const auto value = m_values.find(valueId);
    return value == m_values.end() ? QString() : value->second->text();
}

ui::CxSkinButton* CSLV_NOVICE::modeButton(PowerMode mode) const {
    if (mode == PowerMode::None)
        return nullptr;
    return m_modeButtons[static_cast<std::size_t>(mode)];
}

} // namespace solvane::power::pages
