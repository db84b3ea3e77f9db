#include "store/data_folder.h"
#include "store/history_db.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include <unistd.h>

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

// Sets an environment variable, or unsets it, for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

// Only root can give a folder away; elsewhere the test has nothing to try.
bool giveAway(const std::filesystem::path& folder, uid_t user, gid_t group) {
    return ::chown(folder.c_str(), user, group) == 0;
}

constexpr uid_t kNobody = 65534;

std::string refusal(const std::filesystem::path& folder) {
    try {
        resolveDataFolder(folder);
    } catch (const StoreError& e) {
        return e.what();
    }
    return {};
}

TEST_F(DataFolder, WithoutAHomeTheSharedTemporaryFolderHoldsOneForTheUserAlone) {
    const ScopedEnv home("HOME", std::nullopt);
    const ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
    const ScopedEnv tmp("TMPDIR", dir.path().string());
    const auto fallback = userDataDirectory();
    EXPECT_EQ(fallback, dir / "DrawFollow");
    EXPECT_EQ(resolveDataFolder(fallback), fallback);
    EXPECT_EQ(std::filesystem::status(fallback).permissions(), std::filesystem::perms::owner_all);

    // Made by someone else first: refused, pointing to --data-dir.
    std::filesystem::remove(fallback);
    std::filesystem::create_directory(fallback);
    if (!giveAway(fallback, kNobody, kNobody))
        GTEST_SKIP() << "cannot give a folder to another user";
    const std::string told = refusal(fallback);
    EXPECT_NE(told.find("属于另一个用户"), std::string::npos) << told;
    EXPECT_NE(told.find("--data-dir"), std::string::npos) << told;
}

TEST_F(DataFolder, AFolderOthersCanWriteIsRefused) {
    const auto folder = dir / "shared";
    std::filesystem::create_directory(folder);
    std::filesystem::permissions(folder, std::filesystem::perms::all);
    EXPECT_NE(refusal(folder).find("所有用户都能写入"), std::string::npos);
    std::filesystem::permissions(folder, std::filesystem::perms::owner_all | std::filesystem::perms::group_all);
    if (geteuid() == 0) {
        EXPECT_EQ(refusal(folder), "");  // root's own group, which lists no one else
    }
    if (!giveAway(folder, geteuid(), kNobody))
        GTEST_SKIP() << "cannot give a folder to another group";
    EXPECT_NE(refusal(folder).find("同组的其他用户也能写入"), std::string::npos);
}

}  // namespace
}  // namespace drawfollow
