#include "store/data_folder.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace drawfollow {
namespace {

class DataFolder : public ::testing::Test {
protected:
    void TearDown() override { unsetenv(kDataDirEnv); }
    test::TempDir dir;
};

TEST_F(DataFolder, AnExplicitChoiceWinsAndIsCreated) {
    setenv(kDataDirEnv, (dir / "from-env").c_str(), 1);
    const auto chosen = resolveDataFolder(dir / "chosen" / "deeper");
    EXPECT_EQ(chosen, dir / "chosen" / "deeper");
    EXPECT_TRUE(std::filesystem::is_directory(chosen));
}

TEST_F(DataFolder, TheEnvironmentComesNext) {
    setenv(kDataDirEnv, (dir / "from-env").c_str(), 1);
    EXPECT_EQ(resolveDataFolder(std::nullopt), dir / "from-env");
}

TEST_F(DataFolder, OtherwiseTheProgramsOwnWritableFolder) {
    // The test program lives in the build tree, which is writable.
    EXPECT_EQ(resolveDataFolder(std::nullopt), std::filesystem::absolute(programDirectory()));
}

TEST_F(DataFolder, InstalledProgramFoldersAreRecognisedWhateverThePrefix) {
    const auto prefix = dir / "opt" / "somewhere";
    std::filesystem::create_directories(prefix / "bin");
    EXPECT_FALSE(isInstalledProgramFolder(prefix / "bin"));  // a program copied to a folder of its own
    std::filesystem::create_directories(prefix / "libexec" / "drawfollow");
    EXPECT_TRUE(isInstalledProgramFolder(prefix / "bin"));
    EXPECT_TRUE(isInstalledProgramFolder(prefix / "libexec" / "drawfollow"));
    EXPECT_FALSE(isInstalledProgramFolder(programDirectory()));  // the build tree
}

TEST_F(DataFolder, TheUserFolderFollowsXdgDataHome) {
    const char* old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    setenv("XDG_DATA_HOME", dir.path().c_str(), 1);
    EXPECT_EQ(userDataDirectory(), dir / "DrawFollow");
    if (old)
        setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_DATA_HOME");
}

TEST_F(DataFolder, AFolderThatCannotBeCreatedIsAnError) {
    test::writeFile(dir / "file", "x");
    EXPECT_THROW(resolveDataFolder(dir / "file" / "sub"), std::filesystem::filesystem_error);
}

}  // namespace
}  // namespace drawfollow
