#include "tuning/pages/ProfileControls.h"

#include "tuning/ProfileMenu.h"
#include "ui/ControlId.h"
#include "ui/Palette.h"
#include "ui/SkinCatalogue.h"
#include "ui/SkinLayout.h"

#include <QMenu>

namespace solvane::tuning::pages {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

// The longest name the edit takes, as much as its selection covers on a failed check.
constexpr int kNameLength = 260;

} // namespace

ui::CxSkinButton* makeCaptionedButton(QWidget* page, int id, const QString& caption,
                                      const std::array<int, 4>& pictures, ui::CxSkinButton::Kind kind) {
    auto* button = new ui::CxSkinButton(page, kind);
    ui::setControlId(*button, id);
    button->SetSkin(ui::CxSkinButton::SkinIds::ofStates(pictures));
    button->SetTextColor(ui::skin::kButtonCaptionColor);
    button->setText(caption);
    return button;
}

ProfileControls::ProfileControls(QWidget& page, ProfileStore& store, platform::Prompt& prompt,
                                 const power::PowerModeState& modes, Ids ids, Places places,
                                 std::function<void()> afterLoad)
    : m_page(page), m_store(store), m_prompt(prompt), m_modes(modes), m_afterLoad(std::move(afterLoad)) {
    m_load = makeCaptionedButton(&page, ids.load, QStringLiteral("Load"), ui::skin::kPlainButtonIds);
    m_load->SetToolTipText(QStringLiteral("Load Settings"));
    m_load->setGeometry(places.load);
    QObject::connect(m_load, &QAbstractButton::clicked, &page, [this] { OnLoad(); });
    m_save = makeCaptionedButton(&page, ids.save, QStringLiteral("Save"), ui::skin::kPlainButtonIds);
    m_save->SetToolTipText(QStringLiteral("Save Settings"));
    m_save->setGeometry(places.save);
    QObject::connect(m_save, &QAbstractButton::clicked, &page, [this] { OnSave(); });
    m_cancel = makeCaptionedButton(&page, ids.cancel, QStringLiteral("Cancel"), ui::skin::kPlainButtonIds);
    m_cancel->SetToolTipText(QStringLiteral("Cancel Saving"));
    m_cancel->setGeometry(places.cancel);
    QObject::connect(m_cancel, &QAbstractButton::clicked, &page, [this] { OnCancel(); });
    m_nameEdit = new QLineEdit(&page);
    ui::setControlId(*m_nameEdit, ids.nameEdit);
    m_nameEdit->setGeometry(places.nameEdit);
    m_nameEdit->setMaxLength(kNameLength);
    m_nameEdit->setStyleSheet(
        QStringLiteral("QLineEdit { color: %1; background: %2; border: 1px solid %3; padding: 1px 4px; }")
            .arg(ui::palette::css(ui::palette::kAccent), ui::palette::css(ui::palette::kField),
                 ui::palette::css(ui::palette::kLine)));
    QObject::connect(m_nameEdit, &QLineEdit::textChanged, &page, [this](const QString& name) {
        m_naming.onTextChanged(!name.isEmpty());
        applyNamingControls();
    });
    applyNamingControls();
}

void ProfileControls::OnLoad() {
    showMenu(m_load->mapToGlobal(QPoint(0, m_load->height())));
}

void ProfileControls::showMenu(QPoint screenPosition) {
    const auto plan = profileMenuPlan(m_store, m_modes.ActiveMode);
    QMenu menu(&m_page);
    menu.addAction(QString::fromStdString(plan.defaultsText))->setData(plan.defaultsId);
    if (plan.hasSubmenus) {
        menu.addSeparator();
        auto* load = menu.addMenu(text(kLoadUserSettingText));
        auto* remove = menu.addMenu(text(kDeleteUserSettingText));
        for (const auto& slot : plan.entries) {
            load->addAction(QString::fromStdString(slot.name))->setData(slot.loadId);
            remove->addAction(QString::fromStdString(slot.name))->setData(slot.deleteId);
        }
    }
    if (const QAction* chosenAction = menu.exec(screenPosition))
        OnProfileCommand(chosenAction->data().toInt());
}

void ProfileControls::OnProfileCommand(int commandId) {
    const auto command = profileCommandOf(m_store.kind(), commandId);
    if (command == ProfileCommand::LoadDefaults) {
        m_afterLoad();
        m_store.loadDefaults();
        return;
    }
    const auto plan = profileMenuPlan(m_store, m_modes.ActiveMode);
    const auto* slot = plan.slotOf(commandId);
    if (slot == nullptr)
        return;
    if (command == ProfileCommand::Load) {
        m_afterLoad();
        m_store.load(slot->name);
        return;
    }
    const auto answer = m_prompt.ask(
        {deleteQuestion(slot->name), std::string(kDeleteCaption), platform::PromptButtons::OkCancel, 0});
    if (answer == platform::PromptAnswer::Ok)
        m_store.remove(slot->name);
}

void ProfileControls::OnSave() {
    if (m_naming.onSave() == ProfileNaming::SaveStep::StartNaming) {
        applyNamingControls();
        m_nameEdit->setFocus();
        return;
    }
    if (const auto refused = m_store.save(m_nameEdit->text().toStdString())) {
        m_prompt.ask({refused->message, refused->caption, platform::PromptButtons::Ok, 0});
        m_nameEdit->setFocus();
        m_nameEdit->setSelection(0, kNameLength);
        m_naming.onRefused();
    } else {
        m_nameEdit->clear();
        m_naming.onSaved();
    }
    applyNamingControls();
}

void ProfileControls::OnCancel() {
    m_naming.onCancel();
    m_nameEdit->clear();
    applyNamingControls();
}

void ProfileControls::applyNamingControls() {
    const auto controls = m_naming.controls();
    m_save->setEnabled(controls.saveEnabled);
    m_load->setEnabled(controls.loadEnabled);
    m_nameEdit->setVisible(controls.editShown);
    m_cancel->setVisible(controls.cancelShown);
}

} // namespace solvane::tuning::pages
