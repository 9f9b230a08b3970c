// The bash completion written from the option table, run by bash as a user's tab key would.
#include "app/BashCompletion.h"

#include "app/CommandLineOptions.h"
#include "support/ChildProcess.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::app {
namespace {

class BashCompletion : public ::testing::Test {
protected:
    void SetUp() override {
        if (test::shellOutput("command -v bash").empty())
            GTEST_SKIP() << "bash is not installed";
        test::writeFile(m_folder / "solvane.bash", bashCompletion(commandLineOptions()));
        std::filesystem::create_directories(m_folder / "dumps/pictures");
        test::writeFile(m_folder / "dumps/pci.txt", "");
    }

    // What bash offers for the words typed so far; the last word is the one being completed ("" for
    // a word not begun).
    std::string offered(const std::string& words) {
        return test::shellOutput("cd '" + m_folder.path().string() + "' && bash -c 'source ./solvane.bash; " +
                                 "COMP_WORDS=(solvane " + words +
                                 "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); " +
                                 "_solvane; echo \"${COMPREPLY[*]}\"' 2>&1");
    }

    test::TempFolder m_folder;
};

struct Case {
    std::string typed; // the words after "solvane"
    std::string offered;
};

TEST_F(BashCompletion, OffersOptionsTheirWordsFoldersAndFiles) {
    const std::vector<Case> cases{
        // Options that begin with what was typed.
        {"--boa", "--board"},
        {"--batch --re", "--report --refreshes"},
        {"--mi", "--minimized"},
        {"--nothing-like-it", ""},
        // The words of an option, also after an equals sign (bash splits the word there).
        {"--hardware \"\"", "sim host"},
        {"--mode o", "optimize"},
        {"--rows \"\"", "minutes days"},
        {"--product-name \"\"", "full code-only"},
        {"--hardware =", "sim host"},
        {"--hardware = h", "host"},
        // Folders or files where the option takes them.
        {"--snapshot dumps/", "dumps/pictures"},
        {"--state-dir dumps/p", "dumps/pictures"},
        {"--pci dumps/pc", "dumps/pci.txt"},
        // A value of the user's own: no option names offered in its place.
        {"--board \"\"", ""},
        {"--seed \"\"", ""},
        {"--metrics 127", ""},
    };
    for (const auto& [typed, expected] : cases)
        EXPECT_EQ(offered(typed), expected + "\n") << "solvane " << typed;
}

} // namespace
} // namespace solvane::app
