#pragma once

#include "hw/HardwareLibraries.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "platform/Scheduler.h"
#include "power/PowerSavingSession.h"
#include "tuning/LedLamps.h"
#include "tuning/LedPagePlan.h"
#include "tuning/LedPageTimers.h"
#include "tuning/OptionListState.h"
#include "tuning/ProfileStore.h"
#include "tuning/pages/PageOptionList.h"
#include "tuning/pages/ProfileControls.h"
#include "ui/CxSkinButton.h"
#include "ui/TStackedPage.h"

#include <QLabel>
#include <QLineEdit>
#include <array>
#include <map>
#include <memory>

namespace solvane::tuning::pages {

class CList0;

// The LED page: a row with a label and a ">>" button for each LED switch the board has, the board
// picture with its lamps, slot pictures and picture buttons, and the LED profiles. The lamps mimic
// the board's LEDs from the switches and the active phase counts, and blink while a switch's list
// is open. What a switch does on the board is the main window's apply command's.
class CSLV_ADVANCE_LED final : public ui::TStackedPage {
    Q_OBJECT
public:
    struct Context {
        power::PowerSavingState& state;
        power::BoardCommands& commands;
        platform::Registry& registry;
        platform::Prompt& prompt;
        platform::Scheduler& scheduler;
        hw::Falwick& pci;
        // The bus of the IEEE 1394 controller the PCI scan found (0: none).
        int ieee1394Bus;
        // Where the board picture and the lamp, slot and button pictures are loaded from.
        ui::SkinResources skins = ui::SkinResources::program();
    };

    explicit CSLV_ADVANCE_LED(Context context, QWidget* parent = nullptr);
    ~CSLV_ADVANCE_LED() override;

    // The option list popup, which the main window creates after its pages.
    void SetOptionList(CList0* list) { m_list.setWidget(list); }

    // The ">>" button of a switch (setting 20 to 30).
    void OnValueButton(int setting);
    // The picture button of a switch: toggles it and applies it at once.
    void OnPictureButton(int setting);
    void OnLoad() { m_profileControls->OnLoad(); }
    void OnSave() { m_profileControls->OnSave(); }
    void OnCancel() { m_profileControls->OnCancel(); }
    void OnProfileCommand(int commandId) { m_profileControls->OnProfileCommand(commandId); }
    // The option list was closed from outside (the main window's background).
    void OnListClosed();

    ui::CxSkinButton* valueButton(int setting) const { return controlsOf(setting).button; }
    ui::CxSkinButton* pictureButton(int setting) const { return controlsOf(setting).picture; }
    QLabel* rowLabel(int setting) const { return controlsOf(setting).label; }
    QLabel* lamp(int lampId) const;
    // The picture a lamp shows now (a bitmap resource), 0 for an unknown lamp.
    int lampImage(int lampId) const;
    QLineEdit* nameEdit() const { return m_profileControls->nameEdit(); }
    const LedPagePlan& plan() const { return m_plan; }
    bool pciCard() const { return m_pciCard; }
    const LedPageTimers& timers() const { return *m_timers; }
    const OptionListState& optionList() const { return m_list.state(); }
    ProfileStore& profiles() { return m_profiles; }

    // Shown: the captions and lamps as they are now (the setting commands may have been enabled
    // since the page was created).
    void OnSetActive() override;

protected:
    void OnInitDialog() override;
    void OnDestroy() override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct SwitchControls {
        QLabel* label = nullptr;
        ui::CxSkinButton* button = nullptr;
        ui::CxSkinButton* picture = nullptr;
    };

    const SwitchControls& controlsOf(int setting) const {
        return m_switches[static_cast<std::size_t>(setting - kFirstLedSetting)];
    }
    void buildRows();
    void buildBoardPicture();
    void refreshCaptions();
    void refreshLamps();
    void blink(bool phaseOn);
    void showLamps(const std::vector<LampPicture>& pictures);
    void showList(int setting);

    Context m_context;
    PageOptionList m_list;
    ProfileStore m_profiles;
    LedPagePlan m_plan;
    bool m_pciCard = false;
    std::unique_ptr<LedPageTimers> m_timers;
    std::unique_ptr<ProfileControls> m_profileControls;
    std::array<SwitchControls, kLedSwitchCount> m_switches{};
    struct LampControl {
        QLabel* label = nullptr;
        int image = 0;
    };
    std::map<int, LampControl> m_lamps;
    // The lamp pictures by bitmap resource, loaded once at creation.
    std::map<int, QPixmap> m_lampPictures;
};

} // namespace solvane::tuning::pages
