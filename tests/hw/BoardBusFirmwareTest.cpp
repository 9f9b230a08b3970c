#include "hw/BoardBus.h"
#include "sim/SimTestSupport.h"

#include <gtest/gtest.h>

namespace solvane::hw {
namespace {

// The firmware's CMOS bank and fan registers, reached through the board bus, answer only on the
// firmware's own index port: a simulated board refuses any other port and leaves the byte alone.
TEST(BoardBusFirmware, CmosAndFanDutiesReachTheFirmwareBank) {
    sim::test::ManualClock clock;
    sim::SimulatedHardware hardware(sim::test::testOptions(2917, clock));
    sim::test::loadLibraries(hardware);
    BoardBus bus(hardware.hoblin(), hardware.falwick(), hardware.ostrel());

    bus.cmosWrite(0x96, 0x0A);
    bus.fanDuty(0xA3, 0x9F);
    EXPECT_EQ(bus.cmosRead(0x96), 0x0A);
    EXPECT_EQ(bus.cmosRead(0xA3), 0x9F);

    const auto& log = hardware.board().log().entries();
    ASSERT_EQ(log.size(), 4U);
    for (const auto& transaction : log)
        EXPECT_EQ(transaction.outcome, sim::Outcome::Done) << sim::describe(transaction);
    EXPECT_EQ(log[0].access, sim::BusAccess::Cmos);
    EXPECT_EQ(log[0].unit, 0x0A05);
    EXPECT_EQ(log[1].access, sim::BusAccess::FanControl);
    EXPECT_EQ(log[1].reg, 0xA3);
}

} // namespace
} // namespace solvane::hw
