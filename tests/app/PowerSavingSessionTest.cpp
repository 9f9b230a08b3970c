// The power-saving page's start-up and exit sequence on a simulated board whose libraries fail in
// the ways the real ones can.
#include "SimulatedCore.h"
#include "platform/RegistrySeed.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

using Library = sim::SimulatedBoard::Library;

struct SessionRig {
    explicit SessionRig(sim::LibraryFaults faults = {}, bool vista = true)
        : services(vista), hardware(test::simulatedBoard({.board = 2917, .load = 0.3, .faults = faults})),
          core(std::make_unique<SolvaneCore>(services.on(*hardware, 9, [this] { ++closeRequests; }))) {
        services.registry.writeString(platform::kEnvironmentKey, "NUMBER_OF_PROCESSORS", "4");
    }
    bool loaded(Library library) const { return hardware->board().isLoaded(library); }
    const power::PlatformInfo& platform() const { return core->state().platform; }

    test::CoreServices services;
    std::unique_ptr<sim::SimulatedHardware> hardware;
    int closeRequests = 0;
    std::unique_ptr<SolvaneCore> core;
};

TEST(PowerSavingSession, AFullStartIdentifiesReadsAndRefreshesThenUnloadsEverything) {
    SessionRig rig;
    rig.core->initialise();
    EXPECT_EQ(rig.platform().BoardCode, 2917);
    EXPECT_TRUE(rig.platform().BoardSupported);
    EXPECT_EQ(rig.core->session().processorCount(), 4);
    ASSERT_NE(rig.core->session().monitor(), nullptr);
    EXPECT_TRUE(rig.services.clock.isSet(rig.core->session().monitor(), power::PowerMonitor::kRefreshTimer));
    EXPECT_NE(rig.core->state().modes.CurrentValues[0], power::kNotPresent) << "settings were read";
    EXPECT_TRUE(rig.loaded(Library::Hoblin) && rig.loaded(Library::Falwick) && rig.loaded(Library::Ostrel));
    EXPECT_TRUE(rig.services.prompt.asked().empty());
    rig.core->shutdown();
    EXPECT_FALSE(rig.loaded(Library::Hoblin) || rig.loaded(Library::Falwick) || rig.loaded(Library::Ostrel));
    EXPECT_EQ(rig.services.registry.readString(power::kProductKey, "SolvaneNormalEnd"), "1");
}

TEST(PowerSavingSession, ACpuUsageLibraryErrorIsShownAndClosesTheProgram) {
    SessionRig rig({.tresselError = 5});
    rig.core->initialise();
    EXPECT_EQ(rig.services.prompt.texts(), std::vector<std::string>{"CPU Usage error(5)!"});
    EXPECT_EQ(rig.closeRequests, 1);
    EXPECT_NE(rig.core->session().monitor(), nullptr) << "the sequence still continues";
}

TEST(PowerSavingSession, WithoutTheFirmwareFunctionsTheBoardIsNotIdentified) {
    SessionRig rig({.ostrelLoadFails = true});
    rig.core->initialise();
    EXPECT_EQ(rig.platform().BoardCode, 0);
    EXPECT_FALSE(rig.platform().BoardSupported);
    rig.core->shutdown();
    EXPECT_FALSE(rig.loaded(Library::Falwick) || rig.loaded(Library::Hoblin));
}

TEST(PowerSavingSession, WithoutTheIoFunctionsNothingMoreRuns) {
    SessionRig rig({.falwickLoadFails = true});
    rig.core->initialise();
    EXPECT_EQ(rig.core->session().monitor(), nullptr);
    EXPECT_FALSE(rig.loaded(Library::Hoblin)) << "the SMBus library is not even tried";
    rig.core->shutdown();
    EXPECT_FALSE(rig.loaded(Library::Ostrel));
}

TEST(PowerSavingSession, WithoutTheSmbusLibraryTheBoardCountsAsUnsupported) {
    SessionRig rig({.hoblinLoadFails = true});
    rig.core->initialise();
    EXPECT_EQ(rig.platform().BoardCode, 2917) << "identified through the firmware functions";
    EXPECT_FALSE(rig.platform().BoardSupported);
    ASSERT_NE(rig.core->session().monitor(), nullptr);
    EXPECT_TRUE(rig.core->session().monitor()->readouts().coreVoltage.empty()) << "the refresh does nothing";
}

TEST(PowerSavingSession, NoPowerSavingLibraryLeavesTheMonitorOff) {
    SessionRig unknownSystem({}, false);
    unknownSystem.core->initialise();
    EXPECT_EQ(unknownSystem.platform().OsKind, power::OsFlavour::None);
    EXPECT_FALSE(unknownSystem.core->session().libraryLoaded());

    SessionRig missingFile;
    missingFile.hardware->moduleCatalog().remove("Nimbrel_vista.dll");
    missingFile.core->initialise();
    EXPECT_FALSE(missingFile.core->session().libraryLoaded());
    EXPECT_EQ(missingFile.core->session().monitor(), nullptr);
    missingFile.core->shutdown();
}

} // namespace
} // namespace solvane::app
