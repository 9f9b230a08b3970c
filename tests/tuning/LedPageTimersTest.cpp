// The LED page's timers on the virtual clock, its captions and its probe of the PCI slot.
#include "tuning/LedPageTimers.h"

#include "tuning/LedCaptions.h"
#include "tuning/OptionListGeometry.h"
#include "tuning/OptionListLines.h"
#include "tuning/PciCardProbe.h"

#include <gtest/gtest.h>

namespace solvane::tuning {
namespace {

class LedTimers : public testing::Test {
protected:
    LedTimers()
        : timers(clock, this,
                 {.refreshLamps = [this] { ++lamps; },
                  .refreshCaptions = [this] { ++captions; },
                  .blink = [this](bool on) { blinks.push_back(on); },
                  .listOpen = [this] { return listOpen; }}) {}

    bool running(int id) const { return clock.isSet(this, id); }

    platform::VirtualClockScheduler clock;
    int lamps = 0;
    int captions = 0;
    std::vector<bool> blinks;
    bool listOpen = false;
    LedPageTimers timers;
};

TEST_F(LedTimers, LampsAndCaptionsFollowTheStateEverySecondFromTheStart) {
    timers.start();
    EXPECT_EQ(clock.period(this, 91), 1000U);
    clock.advance(999);
    EXPECT_EQ(lamps, 0);
    clock.advance(1);
    EXPECT_EQ(lamps, 1);
    EXPECT_EQ(captions, 1);
    clock.advance(4000);
    EXPECT_EQ(lamps, 5);
    EXPECT_EQ(captions, 5);
}

TEST_F(LedTimers, BlinkingRunsEveryHalfSecondWhileTheListIsOpenThenHandsBackAtTwoSeconds) {
    timers.start();
    listOpen = true;
    timers.startBlinking();
    EXPECT_EQ(clock.period(this, 90), 500U);
    clock.advance(500);
    EXPECT_EQ(blinks, (std::vector<bool>{true}));
    EXPECT_FALSE(running(91)) << "the first blink stops the lamp refresh";
    clock.advance(1500);
    EXPECT_EQ(blinks, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(lamps, 0) << "nothing redraws the lamps from the state while they blink";

    listOpen = false;
    clock.advance(499);
    EXPECT_TRUE(running(90));
    clock.advance(1);
    EXPECT_EQ(blinks.size(), 5U) << "the closing tick still steps the blink phase";
    EXPECT_FALSE(running(90));
    EXPECT_EQ(lamps, 1) << "then draws the lamps from the state";
    ASSERT_TRUE(running(91));
    EXPECT_EQ(clock.period(this, 91), 2000U);
    clock.advance(1999);
    EXPECT_EQ(lamps, 1);
    clock.advance(1);
    EXPECT_EQ(lamps, 2);
    EXPECT_EQ(captions, 1);
}

TEST_F(LedTimers, TheBlinkPhaseCarriesOnFromOneListToTheNext) {
    listOpen = true;
    timers.startBlinking();
    clock.advance(500);
    listOpen = false;
    clock.advance(500);
    EXPECT_FALSE(timers.blinkPhase());
    listOpen = true;
    timers.startBlinking();
    clock.advance(500);
    EXPECT_EQ(blinks, (std::vector<bool>{true, false, true}));
}

TEST_F(LedTimers, CaptionTimerRefreshesOnEachTickAndStopsAtTheSixth) {
    timers.startCaptionRefresh();
    EXPECT_EQ(clock.period(this, 92), 1000U);
    clock.advance(5000);
    EXPECT_EQ(captions, 5);
    EXPECT_TRUE(running(92));
    clock.advance(1000);
    EXPECT_EQ(captions, 6);
    EXPECT_FALSE(running(92));
    EXPECT_EQ(timers.captionTimer().counted(), 0) << "the count resets when the timer stops";
    clock.advance(5000);
    EXPECT_EQ(captions, 6);
}

TEST_F(LedTimers, ARestartWhileTheCaptionTimerRunsDoesNotGiveSixFreshTicks) {
    timers.startCaptionRefresh();
    clock.advance(4000);
    timers.startCaptionRefresh();
    clock.advance(10'000);
    EXPECT_EQ(captions, 6) << "two more after the restart";
    // An open list does not hold the LED page's caption refresh back.
    listOpen = true;
    timers.startCaptionRefresh();
    clock.advance(10'000);
    EXPECT_EQ(captions, 12);
}

TEST(LedCaptions, ASwitchTheBoardHasShowsAutoOrOff) {
    power::PowerModeState modes;
    modes.DefaultTargets[21] = 0;
    modes.CurrentValues[21] = 0;
    EXPECT_EQ(ledCaption(21, modes), "AUTO");
    modes.CurrentValues[21] = 1;
    EXPECT_EQ(ledCaption(21, modes), "OFF");
    modes.CurrentValues[21] = 2;
    EXPECT_FALSE(ledCaption(21, modes)) << "any other value keeps the caption";
    modes.CurrentValues[22] = 0;
    EXPECT_FALSE(ledCaption(22, modes)) << "no default: the board lacks the switch";
    modes.DefaultTargets[30] = 0;
    modes.CurrentValues[30] = 1;
    EXPECT_EQ(ledCaption(30, modes), "OFF");
    EXPECT_FALSE(ledCaption(31, modes));
    modes.DefaultTargets[19] = 0;
    modes.CurrentValues[19] = 0;
    EXPECT_FALSE(ledCaption(19, modes)) << "the smart fan is no LED switch";
}

TEST(LedOptionList, TwoEntriesWithTheCurrentValueWhiteOnBlueAFifthHighBelowItsButton) {
    const auto lines = ledOptionListLines(1);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[0].text, "AUTO");
    EXPECT_EQ(lines[0].backColour, list_colour::kWhite);
    EXPECT_EQ(lines[1].text, "OFF");
    EXPECT_EQ(lines[1].option, 1);
    EXPECT_EQ(lines[1].textColour, list_colour::kWhite);
    EXPECT_EQ(lines[1].backColour, list_colour::kBlue);
    EXPECT_EQ(
        optionListGeometry(ListKind::LedSwitch, ListOpens::Below, QRect(100, 50, 96, 20), QSize(120, 300)),
        QRect(100, 70, 120, 60));
}

// Configuration space with functions at chosen places; every read is recorded.
class FakePci final : public hw::Falwick {
public:
    std::uint8_t Smbus_ByteRW(std::uint8_t, std::uint8_t, std::uint8_t) override { return 0xFF; }
    std::uint8_t BaseByte_RW(std::uint16_t, std::uint8_t, std::uint8_t) override { return 0xFF; }
    std::uint32_t PCI_RW(std::uint8_t bus, std::uint8_t device, std::uint8_t function, std::uint8_t reg,
                         std::uint32_t, std::uint8_t readFlag) override {
        reads.push_back({bus, device, function, reg, readFlag});
        for (const auto& at : present)
            if (at[0] == bus && at[1] == device && at[2] == function)
                return 0x12345678;
        return kNoDevice;
    }
    std::vector<std::array<int, 3>> present;
    std::vector<std::array<int, 5>> reads;
};

TEST(PciCardProbe, ACardAnswersAtDeviceZeroOrOneFunctionZeroOfTheControllersBus) {
    FakePci pci;
    EXPECT_FALSE(pciCardPresent(pci, 3));
    EXPECT_EQ(pci.reads, (std::vector<std::array<int, 5>>{{3, 0, 0, 0, 1}, {3, 1, 0, 0, 1}}))
        << "the identifier register of both devices, read";
    pci.present = {{3, 1, 0}, {1, 0, 0}};
    EXPECT_TRUE(pciCardPresent(pci, 3));
    EXPECT_TRUE(pciCardPresent(pci, 1)) << "the first bus behind the host";
    EXPECT_FALSE(pciCardPresent(pci, 2)) << "another bus";
    pci.present = {{3, 2, 0}, {3, 0, 1}};
    EXPECT_FALSE(pciCardPresent(pci, 3)) << "device 2 and function 1 are not the slot";
    // Bus 0 means no controller was found; its device 0 is the host bridge, which is no card.
    pci.present = {{0, 0, 0}, {0, 1, 0}};
    pci.reads.clear();
    EXPECT_FALSE(pciCardPresent(pci, 0));
    EXPECT_FALSE(pciCardPresent(pci, 256));
    EXPECT_FALSE(pciCardPresent(pci, -1));
    EXPECT_TRUE(pci.reads.empty()) << "a bus number outside eight bits is never asked";
}

} // namespace
} // namespace solvane::tuning
