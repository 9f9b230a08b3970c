#include "platform/Module.h"
#include "platform/Prompt.h"
#include "platform/Random.h"
#include "platform/Scheduler.h"
#include "platform/SystemFacts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace solvane::platform {
namespace {

TEST(VirtualClockScheduler, FiresDueTimersInTimeOrderAndRepeatsThem) {
    VirtualClockScheduler clock;
    std::vector<std::string> fired;
    const int page = 0;
    clock.setTimer(&page, 98, 3000, [&] { fired.push_back("98@" + std::to_string(clock.now())); });
    clock.setTimer(&page, 93, 300, [&] {
        fired.push_back("93@" + std::to_string(clock.now()));
        clock.killTimer(&page, 93); // one-shot
    });
    clock.advance(6000);
    EXPECT_EQ(fired, (std::vector<std::string>{"93@300", "98@3000", "98@6000"}));
    EXPECT_FALSE(clock.isSet(&page, 93));
    EXPECT_EQ(clock.period(&page, 98), 3000U);
}

TEST(VirtualClockScheduler, SettingAnIdAgainRestartsItAndOwnersAreSeparate) {
    VirtualClockScheduler clock;
    const int first = 0;
    const int second = 0;
    int firstCount = 0;
    int secondCount = 0;
    clock.setTimer(&first, 1, 1000, [&] { ++firstCount; });
    clock.setTimer(&second, 1, 1000, [&] { ++secondCount; });
    clock.advance(900);
    clock.setTimer(&first, 1, 1000, [&] { ++firstCount; });
    clock.advance(200);
    EXPECT_EQ(firstCount, 0);
    EXPECT_EQ(secondCount, 1);
    clock.killTimers(&second);
    clock.advance(5000);
    EXPECT_EQ(firstCount, 5);
    EXPECT_EQ(secondCount, 1);
}

TEST(VirtualClockScheduler, ACallbackMayResetItsOwnTimer) {
    VirtualClockScheduler clock;
    const int page = 0;
    std::vector<std::uint64_t> times;
    clock.setTimer(&page, 96, 6000, [&] {
        times.push_back(clock.now());
        clock.setTimer(&page, 96, 1000, [&] { times.push_back(clock.now()); });
    });
    clock.advance(8000);
    EXPECT_EQ(times, (std::vector<std::uint64_t>{6000, 7000, 8000}));
}

TEST(LcgRandom, GivesTheCLibrarySequenceForASeed) {
    LcgRandom random(1);
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
    random.seed(1);
    EXPECT_EQ(random.next(), 41);
    LcgRandom other(0xFFFFFFFF);
    for (int i = 0; i < 1000; ++i) {
        const int value = other.next();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, RandomSource::kMax);
    }
}

TEST(Prompt, BatchAnswersWithTheDefaultButtonAndPrintsTheText) {
    std::ostringstream err;
    BatchPrompt batch(err);
    EXPECT_EQ(batch.tell("Driver can't Load !"), PromptAnswer::Ok);
    EXPECT_EQ(batch.ask({"This is not a stable CPU voltage !\nDo you want to do it?", "Warning!",
                         PromptButtons::YesNo, 1}),
              PromptAnswer::No);
    EXPECT_EQ(err.str(), "Driver can't Load !\nWarning!: This is not a stable CPU voltage !\nDo you want to do it?\n");
}

TEST(Prompt, ScriptedAnswersComeInOrderThenTheDefault) {
    ScriptedPrompt prompt;
    prompt.queue(PromptAnswer::Cancel);
    EXPECT_EQ(prompt.ask({"first", "", PromptButtons::OkCancel, 0}), PromptAnswer::Cancel);
    EXPECT_EQ(prompt.ask({"second", "", PromptButtons::YesNoCancel, 2}), PromptAnswer::Cancel);
    EXPECT_EQ(prompt.ask({"third", "", PromptButtons::YesNo, 5}), PromptAnswer::Yes);
    EXPECT_EQ(prompt.texts(), (std::vector<std::string>{"first", "second", "third"}));
}

TEST(ModuleCatalog, LoadsByNameWithoutCaseAndFindsTypedEntryPoints) {
    ModuleCatalog catalog;
    catalog.add("Nimbrel_xp.dll", [] {
        auto module = std::make_shared<Module>("Nimbrel_xp.dll");
        module->define<int(int)>("SetPowerMode", [](int mode) { return mode * 2; });
        return module;
    });
    EXPECT_EQ(catalog.load("Nimbrel_vista.dll"), nullptr);
    const auto module = catalog.load("NIMBREL_XP.DLL");
    ASSERT_NE(module, nullptr);
    const auto* setPowerMode = module->find<int(int)>("SetPowerMode");
    ASSERT_NE(setPowerMode, nullptr);
    EXPECT_EQ((*setPowerMode)(3), 6);
    EXPECT_EQ(module->find<int(int)>("setpowermode"), nullptr); // entry points are case-sensitive
    EXPECT_EQ(module->find<void()>("SetPowerMode"), nullptr);   // a different signature is not it
    EXPECT_EQ(catalog.loads(), 1);
}

TEST(SystemFacts, MachineNamesAndNetworkFileSystems) {
    EXPECT_EQ(architectureForMachine("x86_64"), ProcessorArchitecture::Amd64);
    EXPECT_EQ(architectureForMachine("i686"), ProcessorArchitecture::Intel);
    EXPECT_EQ(architectureForMachine("riscv64"), ProcessorArchitecture::Unknown);
    EXPECT_TRUE(isNetworkFileSystemType(0x6969));
    EXPECT_TRUE(isNetworkFileSystemType(0xFF534D42));
    EXPECT_FALSE(isNetworkFileSystemType(0xEF53)); // ext4

    HostSystemFacts host;
    EXPECT_TRUE(host.isNetworkLocation("//server/share/solvane"));
    EXPECT_TRUE(host.isNetworkLocation("\\\\server\\share"));
    EXPECT_FALSE(host.isNetworkLocation("/proc"));
    EXPECT_GE(host.processorCount(), 1U);
    EXPECT_TRUE(host.nativeArchitecture().has_value());
}

} // namespace
} // namespace solvane::platform
