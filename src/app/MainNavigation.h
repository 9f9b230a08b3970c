#pragma once

#include "board/BoardTraits.h"
#include "power/BasicPageIds.h"
#include "sysinfo/MemoryDialog.h"
#include "sysinfo/pages/MotherboardPageIds.h"
#include "sysinfo/pages/PciPageIds.h"
#include "tuning/pages/AdvancedPageIds.h"
#include "ui/MainWindowIds.h"

#include <functional>
#include <map>
#include <string>

namespace solvane::app {

// The main window's navigation between its two groups of pages: which buttons show and which are
// enabled (a disabled button marks the current section or page), and which page each action
// shows. Board rules decide which pages a board has. Plain logic: the window applies the states.
// The buttons are the main window's (ui/MainWindowIds.h); the pages are named by their own ids.
class MainNavigation {
public:
    struct ButtonState {
        bool visible = true;
        bool enabled = true;
    };

    // The pages the buttons lead to, by their own ids.
    static constexpr int kBasicPage = power::basic_ids::kDialog;
    static constexpr int kMemoryPage = sysinfo::memory_dialog::kDialogId;
    static constexpr int kPciPage = sysinfo::pages::pci_ids::kDialog;
    static constexpr int kAdvancedPage = tuning::pages::advanced_ids::kDialog;
    static constexpr int kMotherboardPage = sysinfo::pages::motherboard_ids::kDialog;
    static constexpr int kLedPage = ui::main_window_ids::kLedPage;

    // showPage shows a page; the window then reports the change back through pageChanged.
    MainNavigation(int boardCode, std::string boardString, std::string baseboardVersion,
                   std::function<void(int pageId)> showPage);

    // On a PC that is not a supported board: the advanced motherboard and LED pages, which only a
    // Tarvok board can serve, step aside; their buttons never show and nothing leads to them.
    void hideBoardPages();
    // The page can be reached (a snapshot of every page leaves out the others).
    bool pageReachable(int pageId) const;

    // A navigation button was clicked.
    void onButton(int buttonId);
    void systemInformation();
    void product();
    void advanced();
    void pageChanged(int pageId, bool active);

    const ButtonState& button(int buttonId) const;
    const std::map<int, ButtonState>& buttons() const { return m_buttons; }
    int lastSystemPage() const { return m_lastSystemPage; }
    int lastProductPage() const { return m_lastProductPage; }
    int lastAdvancedPage() const { return m_lastAdvancedPage; }

private:
    void show(int buttonId, bool visible) {
        m_buttons[buttonId].visible = visible && !(m_boardPagesHidden && leadsToBoardPage(buttonId));
    }
    static bool leadsToBoardPage(int buttonId);
    void enable(int buttonId, bool enabled) { m_buttons[buttonId].enabled = enabled; }
    bool buttonsAre(board::PageButtons buttons) const {
        return board::traitsOf(m_boardCode).pageButtons == buttons;
    }
    // Some choices recognise the board by its digits anywhere in the board string.
    bool boardStringShows(board::PageButtons buttons) const {
        return board::foundWith(m_boardString,
                                [buttons](const board::BoardTraits& t) { return t.pageButtons == buttons; });
    }
    bool settingsPages() const {
        return !buttonsAre(board::PageButtons::NoSettingsPages) &&
               !buttonsAre(board::PageButtons::InformationOnly);
    }
    // Revision 5.0 of such a board has no LED page.
    bool ledless() const {
        return board::traitsOf(m_boardCode).revisionFiveWithoutLeds && m_baseboardVersion == "5.0";
    }

    int m_boardCode;
    std::string m_boardString;
    std::string m_baseboardVersion;
    std::function<void(int)> m_showPage;
    std::map<int, ButtonState> m_buttons;
    bool m_boardPagesHidden = false;
    // Last pages shown in each group: system information 1 memory, 2 PCI, 4 motherboard; product
    // 5 basic, 6 advanced; advanced 7 motherboard settings, 8 LED settings. -1 before any.
    int m_lastSystemPage = -1;
    int m_lastProductPage = -1;
    int m_lastAdvancedPage = -1;
};

} // namespace solvane::app
