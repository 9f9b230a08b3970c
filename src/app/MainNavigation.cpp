#include "app/MainNavigation.h"

#include <algorithm>
#include <array>

namespace solvane::app {

using namespace ui::main_window_ids;

namespace {

// A page that becomes active disables the buttons leading to it and is remembered in its group.
struct PageRecord {
    int pageId;
    std::array<int, 3> disabled; // 0 ends the list
    int systemPage;
    int productPage;
    int advancedPage;
};

constexpr std::array<PageRecord, 6> kPageRecords{{
    {MainNavigation::kBasicPage, {kProduct, kBasic, 0}, -1, 5, -1},
    {MainNavigation::kMemoryPage, {kSystemInfo, kMemory, 0}, 1, -1, -1},
    {MainNavigation::kPciPage, {kSystemInfo, kPci, 0}, 2, -1, -1},
    {MainNavigation::kMotherboardPage, {kSystemInfo, kMotherboardInfo, 0}, 4, -1, -1},
    {MainNavigation::kAdvancedPage, {kProduct, kAdvanced, kMotherboardSettings}, -1, 6, 7},
    {MainNavigation::kLedPage, {kProduct, kAdvanced, kLedSettings}, -1, 6, 8},
}};

// The buttons that lead to the pages only a Tarvok board can serve.
constexpr std::array<int, 3> kBoardPageButtons{kAdvanced, kMotherboardSettings, kLedSettings};

constexpr std::array<int, 9> kNavigationButtons{kSystemInfo, kProduct, kMotherboardInfo, kMemory,
                                                kPci,        kBasic,   kAdvanced,        kMotherboardSettings,
                                                kLedSettings};

} // namespace

MainNavigation::MainNavigation(int boardCode, std::string boardString, std::string baseboardVersion,
                               std::function<void(int)> showPage)
    : m_boardCode(boardCode), m_boardString(std::move(boardString)),
      m_baseboardVersion(std::move(baseboardVersion)), m_showPage(std::move(showPage)) {
    for (const int id : kNavigationButtons)
        m_buttons[id] = ButtonState{};
}

const MainNavigation::ButtonState& MainNavigation::button(int buttonId) const {
    static const ButtonState kNone{false, false};
    const auto found = m_buttons.find(buttonId);
    return found == m_buttons.end() ? kNone : found->second;
}

bool MainNavigation::leadsToBoardPage(int buttonId) {
    return std::ranges::find(kBoardPageButtons, buttonId) != kBoardPageButtons.end();
}

void MainNavigation::hideBoardPages() {
    m_boardPagesHidden = true;
    for (const int id : kBoardPageButtons)
        show(id, false);
}

bool MainNavigation::pageReachable(int pageId) const {
    return !(m_boardPagesHidden && (pageId == kAdvancedPage || pageId == kLedPage));
}

void MainNavigation::onButton(int buttonId) {
    if (m_boardPagesHidden && leadsToBoardPage(buttonId))
        return;
    switch (buttonId) {
    case kSystemInfo:
        systemInformation();
        break;
    case kProduct:
        product();
        break;
    case kAdvanced:
        advanced();
        break;
    case kMotherboardInfo:
        m_showPage(kMotherboardPage);
        break;
    case kMemory:
        m_showPage(kMemoryPage);
        break;
    case kPci:
        m_showPage(kPciPage);
        break;
    case kBasic:
        m_showPage(kBasicPage);
        show(kMotherboardSettings, false);
        show(kLedSettings, false);
        break;
    case kMotherboardSettings:
        m_showPage(kAdvancedPage);
        break;
    case kLedSettings:
        m_showPage(kLedPage);
        break;
    default:
        break;
    }
}

void MainNavigation::systemInformation() {
    if (button(kSystemInfo).enabled)
        m_showPage(m_lastSystemPage == 1 ? kMemoryPage : m_lastSystemPage == 2 ? kPciPage : kMotherboardPage);
    show(kMotherboardInfo, true);
    if (buttonsAre(board::PageButtons::NoSettingsPages)) {
        show(kMemory, false);
        show(kPci, false);
    } else if (buttonsAre(board::PageButtons::PciInMemoryPlace)) {
        show(kMemory, false);
        show(kPci, true); // in the memory button's place on these boards
        if (ledless())
            show(kLedSettings, false);
    } else if (boardStringShows(board::PageButtons::InformationOnly)) {
        show(kMemory, false);
        show(kPci, false);
        show(kMotherboardSettings, false);
        show(kLedSettings, false);
    } else {
        show(kMemory, true);
        show(kPci, true);
    }
    for (const int id : {kBasic, kAdvanced, kMotherboardSettings, kLedSettings})
        show(id, false);
}

void MainNavigation::product() {
    if (m_lastProductPage == 6) {
        if (m_lastAdvancedPage == 7)
            m_showPage(kAdvancedPage);
        else if (m_lastAdvancedPage == 8)
            m_showPage(kLedPage);
    } else {
        m_showPage(kBasicPage);
    }
    for (const int id : {kMemory, kPci, kMotherboardInfo})
        show(id, false);
    show(kBasic, true);
    show(kAdvanced, true);
    if (!buttonsAre(board::PageButtons::NoSettingsPages)) {
        show(kMotherboardSettings, m_lastProductPage == 6);
        show(kLedSettings, m_lastProductPage == 6);
    }
    if (buttonsAre(board::PageButtons::InformationOnly)) {
        show(kMotherboardSettings, false);
        show(kLedSettings, false);
        show(kAdvanced, false);
    }
    if (buttonsAre(board::PageButtons::PciInMemoryPlace) ||
        boardStringShows(board::PageButtons::PciInMemoryPlace)) {
        show(kMemory, false);
        if (ledless())
            show(kLedSettings, false);
    }
}

void MainNavigation::advanced() {
    m_showPage(m_lastAdvancedPage == 8 ? kLedPage : kAdvancedPage);
    if (settingsPages()) {
        show(kMotherboardSettings, true);
        show(kLedSettings, true);
    }
    if (ledless())
        show(kLedSettings, false);
}

void MainNavigation::pageChanged(int pageId, bool active) {
    if (!active) {
        for (const int id : {kSystemInfo, kMotherboardInfo, kProduct, kBasic, kAdvanced})
            enable(id, true);
        const bool settingsUsable = !buttonsAre(board::PageButtons::NoSettingsPages);
        for (const int id : {kMemory, kPci})
            if (settingsUsable)
                enable(id, true);
        enable(kMotherboardSettings, settingsUsable);
        enable(kLedSettings, settingsUsable);
        return;
    }
    for (const auto& record : kPageRecords) {
        if (record.pageId != pageId)
            continue;
        for (const int id : record.disabled)
            if (id != 0)
                enable(id, false);
        if (record.systemPage >= 0)
            m_lastSystemPage = record.systemPage;
        if (record.productPage >= 0)
            m_lastProductPage = record.productPage;
        if (record.advancedPage >= 0)
            m_lastAdvancedPage = record.advancedPage;
    }
}

} // namespace solvane::app
