#include "power/PowerSavingLibrary.h"

#include <gtest/gtest.h>

namespace solvane::power {
namespace {

namespace nimbrel = hw::nimbrel;

// A call whose entry point is missing, empty or of another kind is skipped and reports 0; a present
// one is called with its arguments and its result handed back.
TEST(PowerSavingLibrary, CallsOnlyEntryPointsThatAreThere) {
    auto module = std::make_shared<platform::Module>("Nimbrel_vista.dll");
    std::vector<int> modes;
    module->define<nimbrel::ModeFunction>(std::string(nimbrel::kSetPowerMode), [&](int mode) {
        modes.push_back(mode);
        return 5;
    });
    module->define<nimbrel::SataFunction>(std::string(nimbrel::kEnableSata), {});
    module->define<nimbrel::SataFunction>(std::string(nimbrel::kCpuThrottling), [] { return 9; });
    PowerSavingLibrary library(module);
    EXPECT_EQ(library.SetPowerMode(7), 5);
    EXPECT_EQ(modes, std::vector<int>{7});
    EXPECT_EQ(library.EnableSATA(), 0) << "an empty entry point";
    EXPECT_EQ(library.CPU_THROTTLING(8), 0) << "an entry point of another kind";
    EXPECT_EQ(library.DisableSATA(), 0) << "a missing entry point";
    library.UnloadOSTREL();

    PowerSavingLibrary none(nullptr);
    EXPECT_EQ(none.SetPowerMode(7), 0);
    EXPECT_EQ(modes.size(), 1U);
}

} // namespace
} // namespace solvane::power
