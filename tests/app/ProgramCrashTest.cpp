// The real program killed outright while it runs in Max mode: the registry file must stay whole, and
// the next start, finding no normal end, must fall back to Default mode with the saved energy intact.
#include "platform/FileRegistry.h"
#include "power/PowerMeasurement.h"
#include "power/PowerModeState.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <thread>

namespace solvane::app {
namespace {

struct SavedTotals {
    std::uint32_t hundredths = 0;
    std::uint32_t remainder = 0;
    bool operator==(const SavedTotals&) const = default;
    std::int64_t energy() const {
        return std::int64_t{hundredths} * power::kRemainderPerHundredthKWh + remainder;
    }
};

// The registry file read as the next start would read it; a file that does not parse fails the test.
struct RegistryOnDisk {
    explicit RegistryOnDisk(const std::filesystem::path& file) {
        std::string notice;
        registry = platform::openRegistrySnapshot(file, notice);
        EXPECT_TRUE(notice.empty()) << notice;
        whole = notice.empty();
    }
    std::string product(std::string_view name) const {
        return registry->readString(power::kProductKey, name).value_or("(missing)");
    }
    SavedTotals totals() const {
        return {registry->readDword(power::kSavingTotalsKey, power::kSavingTotalValue).value_or(0),
                registry->readDword(power::kSavingTotalsKey, power::kSavingRemainderValue).value_or(0)};
    }

    std::unique_ptr<platform::MemoryRegistry> registry;
    bool whole = false;
};

class ProgramCrashTest : public ::testing::Test {
protected:
    // The run before ended normally in Max mode, with 0.03 kWh and some more saved.
    static constexpr SavedTotals kSeeded{3, 1'000'000};

    void SetUp() override {
        program = test::programFolder() / "solvane";
        if (!std::filesystem::exists(program))
            GTEST_SKIP() << "the program is not built at " << program;
        std::filesystem::permissions(runtime.path(), std::filesystem::perms::owner_all);
        auto opened = platform::FileRegistry::open(registryFile());
        auto& seed = *opened.registry;
        seed.writeString(power::kProductKey, power::kEnableSolvaneValue, "2");
        seed.writeString(power::kProductKey, power::kNormalEndValue, "1");
        seed.writeDwords(power::kSavingTotalsKey, {{power::kSavingTotalValue, kSeeded.hundredths},
                                                   {power::kSavingRemainderValue, kSeeded.remainder}});
    }

    std::filesystem::path registryFile() const { return state / "registry.reg"; }
    std::map<std::string, std::string> environment() const {
        return {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_RUNTIME_DIR", runtime.path().string()}};
    }
    // A steady simulated load, so the first saving reaches the file on the same refresh every time.
    std::vector<std::string> arguments(std::string_view kind = "--batch") const {
        return {std::string(kind), "--state-dir", state.path().string(), "--seed", "5", "--cpu-load", "40"};
    }

    // Reads the registry file until it satisfies `done`, every read a whole file; false on timeout.
    bool waitForRegistry(const std::function<bool(const RegistryOnDisk&)>& done,
                         int timeoutMs = 30000) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            const RegistryOnDisk onDisk(registryFile());
            if (!onDisk.whole)
                return false;
            if (done(onDisk))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    std::filesystem::path program;
    test::TempFolder state;
    test::TempFolder runtime;
};

std::string totalSavingLine(const SavedTotals& totals) {
    return "Total Power Saving: " + power::savedEnergyText(totals.hundredths, totals.remainder) + "\n";
}

TEST_F(ProgramCrashTest, AKilledRunLeavesTheRegistryWholeAndTheNextStartIsDefaultModeWithTheTotals) {
    // First run: Max mode is applied again, and the refreshes add to the saved energy; it dies at once
    // after the first change of the totals reached the file, which must be an addition.
    SavedTotals atKill;
    {
        test::ChildProcess child(program, arguments(), environment());
        const bool changed = waitForRegistry([](const RegistryOnDisk& onDisk) {
            return onDisk.product(power::kNormalEndValue) == "0" && !(onDisk.totals() == kSeeded);
        });
        ASSERT_TRUE(changed) << "the run never changed the saved energy: " << child.errors();
        child.signal(SIGKILL);
        EXPECT_EQ(child.wait(), 128 + SIGKILL) << child.errors();
        const RegistryOnDisk onDisk(registryFile());
        ASSERT_TRUE(onDisk.whole);
        EXPECT_EQ(onDisk.product(power::kEnableSolvaneValue), "2");
        EXPECT_EQ(onDisk.product(power::kNormalEndValue), "0");
        atKill = onDisk.totals();
        EXPECT_GT(atKill.energy(), kSeeded.energy()) << "the run lost saved energy";
    }

    // A report sees what the next start will do, and changes nothing on disk.
    const auto before = test::readTextFile(registryFile());
    std::string output;
    std::string errors;
    ASSERT_EQ(test::runProgram(program, arguments("--report"), environment(), &errors, &output), 0) << errors;
    EXPECT_NE(output.find("Active mode: Default Mode\n"), std::string::npos) << output;
    EXPECT_NE(output.find(totalSavingLine(atKill)), std::string::npos) << output;
    EXPECT_EQ(test::readTextFile(registryFile()), before) << "the report changed the registry file";

    // Second run: Default mode, nothing applied, and the totals as the killed run left them.
    test::ChildProcess child(program, arguments(), environment());
    const bool started = waitForRegistry(
        [](const RegistryOnDisk& onDisk) { return onDisk.product(power::kEnableSolvaneValue) == "0"; });
    EXPECT_TRUE(started) << "the start did not record Default mode: " << child.errors();
    child.signal(SIGTERM);
    EXPECT_EQ(child.wait(), 0) << child.errors();
    EXPECT_EQ(child.errors().find("damaged"), std::string::npos) << child.errors();
    const RegistryOnDisk onDisk(registryFile());
    ASSERT_TRUE(onDisk.whole);
    EXPECT_EQ(onDisk.product(power::kEnableSolvaneValue), "0");
    EXPECT_EQ(onDisk.product(power::kNormalEndValue), "1");
    EXPECT_TRUE(onDisk.totals() == atKill)
        << "saved " << onDisk.totals().energy() << ", the killed run left " << atKill.energy();
    for (const auto& entry : std::filesystem::directory_iterator(state.path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with("registry.reg.corrupt-")) << entry.path();
}

} // namespace
} // namespace solvane::app
