#include "app/MainNavigation.h"

#include "board/BoardTraits.h"
#include "ui/MainWindowIds.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace solvane::app {
namespace {

namespace N = ui::main_window_ids;

// A stack of pages as the main window keeps it: showing a page reports the old one inactive and
// the new one active back to the navigation.
class NavigationRig {
public:
    explicit NavigationRig(int board, std::string version = "1.0")
        : navigation(board, "KX-" + std::to_string(board), std::move(version), [this](int page) {
              if (active != 0)
                  navigation.pageChanged(active, false);
              active = page;
              shown.push_back(page);
              navigation.pageChanged(page, true);
          }) {}

    bool visible(int id) const { return navigation.button(id).visible; }
    bool enabled(int id) const { return navigation.button(id).enabled; }
    // A click reaches a button only when it shows and is enabled.
    void click(int id) {
        if (visible(id) && enabled(id))
            navigation.onButton(id);
    }

    int active = 0;
    std::vector<int> shown;
    MainNavigation navigation;
};

TEST(MainNavigation, StartsOnTheMotherboardPageAndReturnsToTheLastSystemPage) {
    NavigationRig rig(2917);
    rig.navigation.systemInformation(); // the window's start-up step
    EXPECT_EQ(rig.active, MainNavigation::kMotherboardPage);
    EXPECT_FALSE(rig.enabled(N::kSystemInfo)) << "the current section's button is disabled";
    EXPECT_FALSE(rig.visible(N::kBasic));

    rig.click(N::kMemory);
    EXPECT_EQ(rig.active, MainNavigation::kMemoryPage);
    rig.click(N::kProduct);
    EXPECT_EQ(rig.active, MainNavigation::kBasicPage);
    EXPECT_TRUE(rig.visible(N::kBasic) && rig.visible(N::kAdvanced));
    EXPECT_FALSE(rig.visible(N::kMemory));
    rig.click(N::kSystemInfo);
    EXPECT_EQ(rig.active, MainNavigation::kMemoryPage) << "back to the memory page";
}

TEST(MainNavigation, TheProductGroupRemembersTheAdvancedPage) {
    NavigationRig rig(2917);
    rig.navigation.systemInformation();
    rig.click(N::kProduct);
    rig.click(N::kAdvanced);
    EXPECT_EQ(rig.active, MainNavigation::kAdvancedPage);
    EXPECT_TRUE(rig.visible(N::kMotherboardSettings) && rig.visible(N::kLedSettings));
    rig.click(N::kLedSettings);
    EXPECT_EQ(rig.active, MainNavigation::kLedPage);
    EXPECT_FALSE(rig.enabled(N::kLedSettings));
    rig.click(N::kSystemInfo);
    rig.click(N::kProduct);
    EXPECT_EQ(rig.active, MainNavigation::kLedPage);
    rig.click(N::kBasic);
    EXPECT_EQ(rig.active, MainNavigation::kBasicPage);
    EXPECT_FALSE(rig.visible(N::kMotherboardSettings));
}

TEST(MainNavigation, Board2918HasNoMemoryOrPciButtonsAndItsSettingsButtonsStayDisabled) {
    NavigationRig rig(2918);
    rig.navigation.systemInformation();
    EXPECT_FALSE(rig.visible(N::kMemory));
    EXPECT_FALSE(rig.visible(N::kPci));
    rig.click(N::kProduct);
    rig.click(N::kAdvanced);
    EXPECT_EQ(rig.active, MainNavigation::kAdvancedPage);
    EXPECT_FALSE(rig.enabled(N::kMotherboardSettings));
    EXPECT_FALSE(rig.enabled(N::kLedSettings));
    rig.click(N::kBasic);
    rig.click(N::kSystemInfo);
    EXPECT_FALSE(rig.visible(N::kMemory));
    EXPECT_FALSE(rig.enabled(N::kLedSettings));
}

// On 2918 every sequence of clicks, from start-up on, keeps the memory, PCI and both settings
// buttons hidden (the settings buttons disabled too, once a page was left).
TEST(MainNavigation, NoPathOn2918ShowsItsHiddenButtons) {
    const std::vector<int> clickable{
        N::kSystemInfo, N::kProduct,  N::kMotherboardInfo,     N::kMemory,     N::kPci,
        N::kBasic,      N::kAdvanced, N::kMotherboardSettings, N::kLedSettings};
    constexpr std::size_t kDepth = 6;
    std::set<int> pages;
    std::vector<int> path;
    std::function<void()> explore = [&] {
        NavigationRig rig(2918);
        rig.navigation.systemInformation();
        for (const int id : path)
            rig.click(id);
        pages.insert(rig.active);
        const auto where = [&] {
            std::string text = "after";
            for (const int id : path)
                text += " " + std::to_string(id);
            return text;
        };
        EXPECT_FALSE(rig.visible(N::kMemory)) << where();
        EXPECT_FALSE(rig.visible(N::kPci)) << where();
        for (const int id : {N::kMotherboardSettings, N::kLedSettings}) {
            EXPECT_FALSE(rig.visible(id)) << id << " " << where();
            EXPECT_TRUE(path.empty() || !rig.enabled(id)) << id << " " << where();
        }
        if (path.size() == kDepth)
            return;
        for (const int id : clickable) {
            if (!rig.visible(id) || !rig.enabled(id))
                continue;
            path.push_back(id);
            explore();
            path.pop_back();
        }
    };
    explore();
    EXPECT_EQ(pages, (std::set<int>{MainNavigation::kBasicPage, MainNavigation::kAdvancedPage,
                                    MainNavigation::kMotherboardPage}))
        << "the walk reaches every page the board has";
}

TEST(MainNavigation, Boards2908And2909HideTheAdvancedButtons) {
    for (const int board : {2908, 2909}) {
        NavigationRig rig(board);
        rig.navigation.systemInformation();
        EXPECT_FALSE(rig.visible(N::kMemory)) << board;
        rig.click(N::kProduct);
        EXPECT_EQ(rig.active, MainNavigation::kBasicPage);
        EXPECT_FALSE(rig.visible(N::kAdvanced)) << board;
        EXPECT_FALSE(rig.visible(N::kMotherboardSettings)) << board;
        EXPECT_FALSE(rig.visible(N::kLedSettings)) << board;
    }
}

TEST(MainNavigation, Board2904OfRevision5HasNoLedButton) {
    NavigationRig rig(2904, "5.0");
    rig.navigation.systemInformation();
    EXPECT_FALSE(rig.visible(N::kMemory));
    EXPECT_TRUE(rig.visible(N::kPci));
    rig.click(N::kProduct);
    rig.click(N::kAdvanced);
    EXPECT_TRUE(rig.visible(N::kMotherboardSettings));
    EXPECT_FALSE(rig.visible(N::kLedSettings));

    NavigationRig later(2904, "6.0");
    later.navigation.systemInformation();
    later.click(N::kProduct);
    later.click(N::kAdvanced);
    EXPECT_TRUE(later.visible(N::kLedSettings));
}

// The buttons every board offers, walked through as a user would: start-up, the product group,
// the advanced page, the LED page, back to the system information and again to the product group.
TEST(MainNavigation, EveryBoardOffersItsOwnButtons) {
    struct Offer {
        int board;
        const char* version;
        bool memory;   // the memory button in the system-information group
        bool pci;      // the PCI button there
        bool advanced; // the advanced button in the product group
        bool boardSettings;
        bool ledSettings;
        bool settingsUsable; // the two settings buttons can be clicked
    };
    // clang-format off
    const Offer offers[] = {
        {2918, "1.0", false, false, true,  false, false, false},
        {2917, "1.0", true,  true,  true,  true,  true,  true},
        {2916, "1.0", true,  true,  true,  true,  true,  true},
        {2915, "1.0", true,  true,  true,  true,  true,  true},
        {2912, "1.0", true,  true,  true,  true,  true,  true},
        {2911, "1.0", true,  true,  true,  true,  true,  true},
        {2910, "1.0", true,  true,  true,  true,  true,  true},
        {2909, "1.0", false, false, false, false, false, true},
        {2908, "1.0", false, false, false, false, false, true},
        {2907, "1.0", true,  true,  true,  true,  true,  true},
        {2906, "1.0", false, true,  true,  true,  true,  true},
        {2905, "1.0", true,  true,  true,  true,  true,  true},
        {2904, "1.0", false, true,  true,  true,  true,  true},
        {2904, "5.0", false, true,  true,  true,  false, true},
        {2903, "1.0", false, true,  true,  true,  true,  true},
        {2902, "1.0", true,  true,  true,  true,  true,  true},
        {2901, "1.0", true,  true,  true,  true,  true,  true},
        {2917, "5.0", true,  true,  true,  true,  true,  true}, // only 2904 loses its LED page on 5.0
        {1234, "1.0", true,  true,  true,  true,  true,  true}, // a board of no record
    };
    // clang-format on
    for (const auto& board : board::kBoardTraits)
        EXPECT_TRUE(std::any_of(std::begin(offers), std::end(offers),
                                [&](const Offer& offer) { return offer.board == board.code; }))
            << board.code << " has no row";

    for (const auto& offer : offers) {
        SCOPED_TRACE(std::to_string(offer.board) + " revision " + offer.version);
        NavigationRig rig(offer.board, offer.version);
        rig.navigation.systemInformation();
        EXPECT_EQ(rig.active, MainNavigation::kMotherboardPage);
        EXPECT_TRUE(rig.visible(N::kMotherboardInfo));
        EXPECT_EQ(rig.visible(N::kMemory), offer.memory);
        EXPECT_EQ(rig.visible(N::kPci), offer.pci);
        for (const int id : {N::kBasic, N::kAdvanced, N::kMotherboardSettings, N::kLedSettings})
            EXPECT_FALSE(rig.visible(id)) << id << " belongs to the product group";
        if (offer.pci) {
            rig.click(N::kPci);
            EXPECT_EQ(rig.active, MainNavigation::kPciPage);
            EXPECT_FALSE(rig.enabled(N::kPci)) << "the current page's button";
            EXPECT_FALSE(rig.enabled(N::kSystemInfo));
            rig.click(N::kMotherboardInfo);
            EXPECT_EQ(rig.active, MainNavigation::kMotherboardPage);
            EXPECT_TRUE(rig.enabled(N::kPci)) << "a page left gives its button back";
            EXPECT_FALSE(rig.enabled(N::kMotherboardInfo));
        }

        rig.click(N::kProduct);
        EXPECT_EQ(rig.active, MainNavigation::kBasicPage);
        for (const int id :
             {N::kMemory, N::kPci, N::kMotherboardInfo, N::kMotherboardSettings, N::kLedSettings})
            EXPECT_FALSE(rig.visible(id)) << id << " on the basic page";
        EXPECT_TRUE(rig.visible(N::kBasic));
        EXPECT_FALSE(rig.enabled(N::kBasic));
        EXPECT_FALSE(rig.enabled(N::kProduct));
        EXPECT_EQ(rig.visible(N::kAdvanced), offer.advanced);
        EXPECT_TRUE(rig.enabled(N::kAdvanced));
        EXPECT_TRUE(rig.enabled(N::kSystemInfo));
        if (!offer.advanced)
            continue;

        rig.click(N::kAdvanced);
        EXPECT_EQ(rig.active, MainNavigation::kAdvancedPage);
        EXPECT_TRUE(rig.enabled(N::kBasic));
        EXPECT_EQ(rig.visible(N::kMotherboardSettings), offer.boardSettings);
        EXPECT_EQ(rig.visible(N::kLedSettings), offer.ledSettings);
        EXPECT_FALSE(rig.enabled(N::kMotherboardSettings)) << "the current page's button";
        EXPECT_EQ(rig.enabled(N::kLedSettings), offer.settingsUsable);
        if (!offer.ledSettings)
            continue;

        rig.click(N::kLedSettings);
        EXPECT_EQ(rig.active, MainNavigation::kLedPage);
        EXPECT_TRUE(rig.enabled(N::kMotherboardSettings));
        EXPECT_FALSE(rig.enabled(N::kLedSettings));
        rig.click(N::kSystemInfo);
        EXPECT_EQ(rig.active, MainNavigation::kMotherboardPage);
        EXPECT_FALSE(rig.visible(N::kLedSettings));
        rig.click(N::kProduct);
        EXPECT_EQ(rig.active, MainNavigation::kLedPage) << "the product group returns to the LED page";
        EXPECT_TRUE(rig.visible(N::kMotherboardSettings));
        EXPECT_TRUE(rig.visible(N::kLedSettings));
        rig.click(N::kMotherboardSettings);
        EXPECT_EQ(rig.active, MainNavigation::kAdvancedPage);
        rig.click(N::kSystemInfo);
        rig.click(N::kProduct);
        EXPECT_EQ(rig.active, MainNavigation::kAdvancedPage) << "and to the board settings page";
    }
}

// The system-information group recognises the two information-only boards by their digits
// anywhere in the board string, whatever the code says.
TEST(MainNavigation, ABoardStringNamingAnInformationOnlyBoardHidesTheMemoryAndPciButtons) {
    for (const char* boardString : {"KX-2908", "KX2909 Rev 1.x"}) {
        MainNavigation navigation(1234, boardString, "1.0", [](int) {});
        navigation.systemInformation();
        EXPECT_FALSE(navigation.button(N::kMemory).visible) << boardString;
        EXPECT_FALSE(navigation.button(N::kPci).visible) << boardString;
    }
    MainNavigation other(1234, "KX-2917", "1.0", [](int) {});
    other.systemInformation();
    EXPECT_TRUE(other.button(N::kMemory).visible);
    EXPECT_TRUE(other.button(N::kPci).visible);
}

} // namespace
} // namespace solvane::app

namespace solvane::app {
namespace {

// Every page a walk of up to `depth` clicks reaches from the start, on a board or, with the board
// pages hidden, on a PC identified as that board code.
std::set<int> reachablePages(int board, bool onAPc, std::size_t depth = 5) {
    const std::vector<int> clickable{
        N::kSystemInfo, N::kProduct,  N::kMotherboardInfo,     N::kMemory,     N::kPci,
        N::kBasic,      N::kAdvanced, N::kMotherboardSettings, N::kLedSettings};
    std::set<int> pages;
    std::vector<int> path;
    std::function<void()> explore = [&] {
        NavigationRig rig(board);
        if (onAPc)
            rig.navigation.hideBoardPages();
        rig.navigation.systemInformation();
        for (const int id : path)
            rig.click(id);
        pages.insert(rig.active);
        if (onAPc) {
            for (const int id : {N::kAdvanced, N::kMotherboardSettings, N::kLedSettings})
                EXPECT_FALSE(rig.visible(id)) << board << ": button " << id << " after " << path.size();
        }
        if (path.size() == depth)
            return;
        for (const int id : clickable) {
            if (!rig.visible(id) || !rig.enabled(id))
                continue;
            path.push_back(id);
            explore();
            path.pop_back();
        }
    };
    explore();
    return pages;
}

TEST(MainNavigation, OnAPcTheBoardPagesStepAsideAndEveryOtherPageStays) {
    std::vector<int> boards;
    for (const auto& traits : board::kBoardTraits)
        boards.push_back(traits.code);
    boards.push_back(0); // a PC that is no Tarvok board at all
    for (const int board : boards) {
        auto expected = reachablePages(board, false);
        EXPECT_TRUE(expected.contains(MainNavigation::kBasicPage)) << board;
        if (board == 0) {
            EXPECT_TRUE(expected.contains(MainNavigation::kAdvancedPage) &&
                        expected.contains(MainNavigation::kLedPage))
                << "a simulated unknown board keeps both pages";
        }
        expected.erase(MainNavigation::kAdvancedPage);
        expected.erase(MainNavigation::kLedPage);
        EXPECT_EQ(reachablePages(board, true), expected) << board;
    }
}

TEST(MainNavigation, OnlyTheBoardPagesBecomeUnreachable) {
    NavigationRig board(2917);
    NavigationRig pc(0);
    pc.navigation.hideBoardPages();
    for (const int page :
         {MainNavigation::kBasicPage, MainNavigation::kMemoryPage, MainNavigation::kPciPage,
          MainNavigation::kMotherboardPage, MainNavigation::kAdvancedPage, MainNavigation::kLedPage}) {
        const bool boardPage = page == MainNavigation::kAdvancedPage || page == MainNavigation::kLedPage;
        EXPECT_TRUE(board.navigation.pageReachable(page)) << page;
        EXPECT_EQ(pc.navigation.pageReachable(page), !boardPage) << page;
    }
    pc.navigation.onButton(N::kLedSettings); // not even a direct command leads there
    pc.navigation.onButton(N::kAdvanced);
    EXPECT_EQ(pc.active, 0);
}

} // namespace
} // namespace solvane::app
