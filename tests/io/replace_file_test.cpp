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

}  // namespace
}  // namespace drawfollow
