#include "io/safety_copy.h"

#include "io/history_import.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace drawfollow {
namespace {

using namespace std::chrono;

class SafetyCopies : public ::testing::Test {
protected:
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    DerivationSettings settings = test::settingsFor(2014);
    const system_clock::time_point start = system_clock::now();
};

TEST_F(SafetyCopies, OnlyTheNewestTwentyAreKeptAndOtherFilesAreLeftAlone) {
    db.appendBatch(test::seededDraws(3, 1, 2014001), settings);
    std::filesystem::create_directories(dir / kSafetyCopyFolder);
    test::writeFile(dir.path() / kSafetyCopyFolder / "my notes.txt", "keep me");

    std::vector<std::filesystem::path> written;
    for (int i = 0; i < 25; ++i)
        written.push_back(*writeSafetyCopy(db, start + minutes(i)));

    const auto kept = safetyCopies(dir.path());
    EXPECT_EQ(kept, std::vector(written.end() - kSafetyCopiesKept, written.end()));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / kSafetyCopyFolder / "my notes.txt"));
}

TEST_F(SafetyCopies, ACopyWrittenWithAnEarlierClockIsKeptToo) {
    db.appendBatch(test::seededDraws(3, 1, 2014001), settings);
    for (int i = 0; i < 20; ++i)
        writeSafetyCopy(db, start + hours(1) + minutes(i));
    const auto fromTheSetBackClock = writeSafetyCopy(db, start);
    const auto kept = safetyCopies(dir.path());
    EXPECT_EQ(kept.size(), kSafetyCopiesKept);
    EXPECT_NE(std::find(kept.begin(), kept.end(), *fromTheSetBackClock), kept.end());
}

TEST_F(SafetyCopies, CopiesWithinOneMillisecondDoNotOverwriteEachOther) {
    db.appendBatch(test::seededDraws(3, 1, 2014001), settings);
    const auto first = writeSafetyCopy(db, start);
    db.deleteNewest();
    const auto second = writeSafetyCopy(db, start);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_LT(*first, *second) << "the later copy must sort as the newer one";
    EXPECT_EQ(readHistoryFile(*first).draws.size(), 3u);
    EXPECT_EQ(readHistoryFile(*second).draws.size(), 2u);
}

TEST_F(SafetyCopies, AnImportSavesTheHistoryItReplacesAndAFailedOneSavesNothing) {
    db.appendBatch(test::seededDraws(12, 9, 2014001), settings);
    const auto before = storedDraws(db);
    test::writeFile(dir / "bad.txt", "2015001 01 02 03 04 05 06 07 77 \r\n");
    EXPECT_THROW(importHistoryFile(db, dir / "bad.txt", settings), StoreError);
    EXPECT_TRUE(safetyCopies(dir.path()).empty());

    test::writeFile(dir / "new.txt", "2015001 01 02 03 04 05 06 07 08 \r\n");
    const auto summary = importHistoryFile(db, dir / "new.txt", settings);
    ASSERT_TRUE(summary.safetyCopy);
    EXPECT_EQ(readHistoryFile(*summary.safetyCopy).draws, before);
}

TEST_F(SafetyCopies, AnEmptyHistoryNeedsNoCopy) {
    EXPECT_FALSE(writeSafetyCopy(db));
    EXPECT_FALSE(std::filesystem::exists(dir / kSafetyCopyFolder));
}

}  // namespace
}  // namespace drawfollow
