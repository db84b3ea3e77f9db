#include "io/replace_file.h"
#include "io/history_text.h"
#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;

class FileReplacement : public ::testing::Test {
protected:
    // Every file in the test folder, so that a leftover temporary file cannot hide.
    std::vector<std::string> filesLeft() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            names.push_back(entry.path().lexically_relative(dir.path()).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDir dir;
    const std::vector<DrawInput> draws = test::seededDraws(5, 3, 2013001);
};

TEST_F(FileReplacement, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    test::writeFile(dir / "h.txt", "old");
    EXPECT_THROW(replaceFile(dir / "h.txt",
                             [](const fs::path& temporary) {
                                 test::writeFile(temporary, "half");
                                 throw StoreError("disk full");
                             }),
                 StoreError);
    EXPECT_EQ(test::readFile(dir / "h.txt"), "old");
    EXPECT_EQ(filesLeft(), std::vector<std::string>{"h.txt"});
}

TEST_F(FileReplacement, ATargetThatCannotBeReplacedLeavesEveryFileAsItWas) {
    // A folder under the target's name: the file is written, the rename fails.
    fs::create_directory(dir / "h.txt");
    test::writeFile(dir / "h.txt" / "keep", "kept");
    EXPECT_THROW(writeHistoryFile(dir / "h.txt", draws), std::system_error);
    // A loop of links ends at no file at all.
    fs::create_symlink("b", dir / "a");
    fs::create_symlink("a", dir / "b");
    EXPECT_THROW(writeHistoryFile(dir / "a", draws), std::system_error);
    EXPECT_EQ(filesLeft(), (std::vector<std::string>{"a", "b", "h.txt", "h.txt/keep"}));
}

TEST_F(FileReplacement, WritingThroughALinkReplacesTheFileItPointsTo) {
    fs::create_directories(dir / "real");
    fs::create_directories(dir / "links");
    test::writeFile(dir / "real" / "h.txt", "old");
    fs::create_symlink("../real/h.txt", dir / "links" / "h.txt");
    fs::create_symlink("h.txt", dir / "links" / "second");  // a chain of links
    fs::create_symlink("../real/new.txt", dir / "links" / "dangling");

    writeHistoryFile(dir / "links" / "second", draws);
    writeHistoryFile(dir / "links" / "dangling", draws);

    EXPECT_TRUE(fs::is_symlink(dir / "links" / "h.txt"));
    EXPECT_TRUE(fs::is_symlink(dir / "links" / "second"));
    EXPECT_TRUE(fs::is_symlink(dir / "links" / "dangling"));
    EXPECT_EQ(readHistoryFile(dir / "real" / "h.txt").draws, draws);
    EXPECT_EQ(readHistoryFile(dir / "real" / "new.txt").draws, draws);
    EXPECT_EQ(filesLeft(), (std::vector<std::string>{"links", "links/dangling", "links/h.txt", "links/second", "real",
                                                     "real/h.txt", "real/new.txt"}));
}

// A data folder with a file outside it that only its owner may read.
class DataFolderWrites : public FileReplacement {
protected:
    void SetUp() override {
        fs::create_directories(data);
        fs::create_directories(dir / "elsewhere");
        test::writeFile(secret, "secret");
        fs::permissions(secret, fs::perms::owner_read | fs::perms::owner_write);
    }

    void expectSecretUntouched() {
        EXPECT_EQ(test::readFile(secret), "secret");
        EXPECT_EQ(fs::status(secret).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    }

    const fs::path data = dir / "data";
    const fs::path secret = dir / "elsewhere" / "secret";
};

TEST_F(DataFolderWrites, APlantedLinkToAFileOutsideIsNotWrittenThrough) {
    fs::create_symlink("../elsewhere/secret", data / "lsbf.txt");
    EXPECT_THROW(writeHistoryFile(data / "lsbf.txt", draws, data), StoreError);
    expectSecretUntouched();
    EXPECT_TRUE(fs::is_symlink(data / "lsbf.txt"));
    EXPECT_EQ(filesLeft(), (std::vector<std::string>{"data", "data/lsbf.txt", "elsewhere", "elsewhere/secret"}));

    // Nor a link planted under the name the new content is first written to.
    fs::remove(data / "lsbf.txt");
    fs::create_symlink(secret, data / "lsbf.txt.part");
    writeHistoryFile(data / "lsbf.txt", draws, data);
    expectSecretUntouched();
    EXPECT_EQ(readHistoryFile(data / "lsbf.txt").draws, draws);
    EXPECT_FALSE(fs::exists(fs::symlink_status(data / "lsbf.txt.part")));
}

TEST_F(DataFolderWrites, ALinkThatStaysInsideIsFollowed) {
    fs::create_directories(data / "kept");
    fs::create_symlink("kept/h.txt", data / "h.txt");
    writeHistoryFile(data / "h.txt", draws, data);
    EXPECT_TRUE(fs::is_symlink(data / "h.txt"));
    EXPECT_EQ(readHistoryFile(data / "kept" / "h.txt").draws, draws);
    // A file outside the data folder is the user's choice: its link is followed.
    fs::create_symlink(secret, dir / "chosen.txt");
    writeHistoryFile(dir / "chosen.txt", draws, data);
    EXPECT_EQ(readHistoryFile(secret).draws, draws);
}

TEST_F(DataFolderWrites, AReplacedFileKeepsItsPermissions) {
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read}) {
        test::writeFile(data / "h.txt", "old");
        fs::permissions(data / "h.txt", mode);
        writeHistoryFile(data / "h.txt", draws, data);
        EXPECT_EQ(fs::status(data / "h.txt").permissions(), mode);
        EXPECT_EQ(readHistoryFile(data / "h.txt").draws, draws);
    }
}

}  // namespace
}  // namespace drawfollow
