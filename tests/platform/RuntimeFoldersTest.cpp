// Where the program finds its skins, driver descriptors and modules: beside it in the build folder,
// under its prefix once installed, wherever that prefix has been moved.
#include "platform/RuntimeFolders.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace solvane::platform {
namespace {

using test::TempFolder;

TEST(RuntimeFolders, TheInstalledFoldersAreTheUsualOnes) {
    EXPECT_EQ(installedDataFolder(), "share/solvane");
    EXPECT_EQ(installedModuleFolder(), "lib/solvane");
}

TEST(RuntimeFolders, AnInstalledProgramFindsItsFilesUnderItsPrefixAlsoWhenMoved) {
    TempFolder root;
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(root / "usr/share/solvane");
    auto folders = runtimeFoldersFor(root / "usr/bin");
    EXPECT_EQ(folders.data, root / "usr/share/solvane");
    EXPECT_EQ(folders.modules, root / "usr/lib/solvane");

    std::filesystem::rename(root / "usr", root / "opt");
    folders = runtimeFoldersFor(root / "opt/bin");
    EXPECT_EQ(folders.data, root / "opt/share/solvane");
    EXPECT_EQ(folders.modules, root / "opt/lib/solvane");
}

TEST(RuntimeFolders, OtherwiseEverythingIsBesideTheProgram) {
    TempFolder root;
    // The build folder: bin, with no installed data beside it.
    std::filesystem::create_directories(root / "build/bin");
    auto folders = runtimeFoldersFor(root / "build/bin");
    EXPECT_EQ(folders.data, root / "build/bin");
    EXPECT_EQ(folders.modules, root / "build/bin");

    // A copy in a folder of its own, next to an installed tree it does not belong to.
    std::filesystem::create_directories(root / "usr/share/solvane");
    std::filesystem::create_directories(root / "usr/solvane");
    folders = runtimeFoldersFor(root / "usr/solvane");
    EXPECT_EQ(folders.data, root / "usr/solvane");
    EXPECT_EQ(folders.modules, root / "usr/solvane");

    // A file where the data folder would be is not the installed layout.
    std::filesystem::create_directories(root / "local/bin");
    std::filesystem::create_directories(root / "local/share");
    test::writeFile(root / "local/share/solvane", "");
    folders = runtimeFoldersFor(root / "local/bin");
    EXPECT_EQ(folders.data, root / "local/bin");
}

} // namespace
} // namespace solvane::platform
