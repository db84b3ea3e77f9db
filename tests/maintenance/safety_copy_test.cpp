#include "io/safety_copy.h"

#include "io/history_import.h"
#include "io/history_maintenance.h"
#include "io/safety_copy_pruning.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace drawfollow {
namespace {

using namespace std::chrono;
namespace fs = std::filesystem;

class SafetyCopies : public ::testing::Test {
protected:
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    DerivationSettings settings = test::settingsFor(2014);
    const system_clock::time_point now = system_clock::now();
    const std::vector<DrawInput> history = test::seededDraws(20, 3, 2014001);

    fs::path copyOf(std::span<const DrawInput> draws, system_clock::time_point when,
                    CopyCause cause = CopyCause::TrimTo, const fs::path& folder = {}) {
        return *writeSafetyCopy(folder.empty() ? dir.path() : folder, draws, cause, when);
    }
    // `count` copies a minute apart from `from`, each pruning the folder as it is written.
    std::vector<fs::path> copies(std::span<const DrawInput> draws, system_clock::time_point from, int count,
                                 const fs::path& folder = {}) {
        std::vector<fs::path> written;
        written.reserve(count);
        for (int i = 0; i < count; ++i)
            written.push_back(copyOf(draws, from + minutes(i), CopyCause::Clear, folder));
        return written;
    }
    bool kept(const fs::path& copy) const { return fs::exists(copy); }
};

// Copies as a run of deletions leaves them: each holds one draw fewer than the one before,
// so no newer copy ever holds an older one's history. `count` of them, `apart` apart, the
// last at `last`, each pruning the folder as it is written.
// Days are told apart in UTC: a fixed moment keeps a run of copies within its day.
const system_clock::time_point kNoonUtc{days(20590) + hours(12)};

std::vector<fs::path> deletionCopies(const fs::path& folder, system_clock::time_point last, int count,
                                     system_clock::duration apart) {
    const std::vector<DrawInput> all = test::seededDraws(count + 5, 7, 2014001);
    std::vector<fs::path> written;
    written.reserve(count);
    for (int i = 0; i < count; ++i)
        written.push_back(*writeSafetyCopy(folder, std::span(all).first(all.size() - static_cast<size_t>(i)),
                                           CopyCause::DeleteLast, last - apart * (count - 1 - i)));
    return written;
}

TEST_F(SafetyCopies, TwoHundredDeletionsInADayLeaveTheNewestElevenOfThem) {
    // The newest ten, and the newest of the others made that day.
    const auto written = deletionCopies(dir.path(), kNoonUtc, 200, minutes(1));
    const auto left = safetyCopies(dir.path());
    ASSERT_EQ(left.size(), kSafetyCopiesAlwaysKept + 1);
    EXPECT_TRUE(std::equal(left.begin(), left.end(), written.end() - kSafetyCopiesAlwaysKept - 1));
}

TEST_F(SafetyCopies, DeletionCopiesThinOutToOneADayThenOneAWeek) {
    // Four a day for 200 days.
    deletionCopies(dir.path(), kNoonUtc, 800, hours(6));
    std::vector<system_clock::duration> ages;
    for (const fs::path& file : safetyCopies(dir.path()))
        ages.push_back(kNoonUtc - safetyCopyOf(file)->made);
    const auto olderThan = [&ages](system_clock::duration age) {
        return std::count_if(ages.begin(), ages.end(), [age](auto a) { return a >= age; });
    };
    // Ten, one for each of the days after them, one for each week before.
    EXPECT_LE(ages.size(), kSafetyCopiesAlwaysKept + kDaysWithADailyCopy + 200 / 7 + 1);
    for (int day = 0; day < kDaysWithADailyCopy; ++day)
        EXPECT_GE(olderThan(days(day)) - olderThan(days(day + 1)), 1) << "day " << day;
    for (int week = 1; week < 200 / 7; ++week)
        EXPECT_GE(olderThan(days(7 * week)) - olderThan(days(7 * week + 7)), 1) << "week " << week;
    EXPECT_GE(olderThan(days(190)), 1) << "the oldest history is not lost";
}

TEST_F(SafetyCopies, AnOldCopyGoesOnlyWhenANewerKeptCopyCanGiveItsHistoryBack) {
    const std::span<const DrawInput> all(history);
    std::vector<DrawInput> diverging(history.begin(), history.begin() + 9);
    diverging.push_back(test::draw(2015001, {1, 2, 3, 4, 5, 6, 7, 8}));
    const auto start = now - days(60);
    const fs::path shorter = copyOf(all.first(10), start);
    const fs::path unique = copyOf(diverging, start + minutes(1));
    const fs::path same = copyOf(all, start + minutes(2));
    const fs::path prefix = copyOf(all.first(8), start + minutes(3));
    copies(all, start + days(10), 50);
    copyOf(all, now);

    EXPECT_FALSE(kept(shorter)) << "the newer copies begin with the same ten draws";
    EXPECT_FALSE(kept(same));
    EXPECT_FALSE(kept(prefix));
    EXPECT_TRUE(kept(unique)) << "no other copy holds the diverging draw: it is the only copy of that history";
    EXPECT_EQ(safetyCopies(dir.path()).size(), kSafetyCopiesAlwaysKept + 1);

    // A kept old copy serves as the newer copy for those older than itself.
    test::TempDir other;
    const auto otherHistory = test::seededDraws(10, 99, 2016001);
    const auto older = copyOf(std::span(otherHistory).first(5), start, CopyCause::Clear, other.path());
    const auto newer = copyOf(otherHistory, start + minutes(1), CopyCause::Clear, other.path());
    copies(all, start + days(10), 50, other.path());
    copyOf(all, now, CopyCause::Clear, other.path());
    EXPECT_FALSE(fs::exists(older));
    EXPECT_TRUE(fs::exists(newer));
}

TEST_F(SafetyCopies, ACopyWrittenWithAClockSetBackIsKeptAndRemovesNothing) {
    copies(history, now - days(40), 55);
    copyOf(history, now);
    ASSERT_EQ(safetyCopies(dir.path()).size(), kSafetyCopiesAlwaysKept);
    const auto fromTheSetBackClock = copyOf(std::span(history).first(3), now - days(400));
    EXPECT_TRUE(kept(fromTheSetBackClock));
    EXPECT_EQ(safetyCopies(dir.path()).size(), kSafetyCopiesAlwaysKept + 1) << "copies from its future look young";
}

TEST_F(SafetyCopies, TheNameRecordsTheCommandAndTheFileStaysAHistoryFile) {
    std::filesystem::create_directories(dir / kSafetyCopyFolder);
    test::writeFile(dir.path() / kSafetyCopyFolder / "my notes.txt", "keep me");
    // A copy named before the command was recorded.
    test::writeFile(dir.path() / kSafetyCopyFolder / "历史号码备份-20140301-101500-007.txt",
                    canonicalLine(history[0].issue, history[0].numbers) + "\r\n");
    const auto trimmed = copyOf(std::span(history).first(12), now - minutes(1), CopyCause::TrimTo);
    const auto restored = copyOf(history, now, CopyCause::Restore);

    const auto listed = listSafetyCopies(dir.path());
    ASSERT_EQ(listed.size(), 3u) << "other files in the folder are no copies";
    EXPECT_EQ(listed[0].copy.file, restored);
    EXPECT_EQ(causeText(listed[0].copy.cause), "恢复备份");
    EXPECT_EQ(listed[0].draws, 20u);
    EXPECT_EQ(listed[0].newestIssue, history.back().issue);
    EXPECT_EQ(listed[1].copy.file, trimmed);
    EXPECT_EQ(listed[1].copy.cause, CopyCause::TrimTo);
    EXPECT_EQ(listed[1].newestIssue, history[11].issue);
    EXPECT_EQ(listed[2].copy.id, "20140301-101500-007");
    EXPECT_EQ(madeText(listed[2].copy), "2014-03-01 10:15:00");
    EXPECT_EQ(causeText(listed[2].copy.cause), "—");
    EXPECT_EQ(listed[2].draws, 1u);
    EXPECT_TRUE(std::all_of(listed.begin(), listed.end(), [](const auto& l) { return l.readable; }));
    EXPECT_EQ(readHistoryFile(trimmed).draws, std::vector(history.begin(), history.begin() + 12));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / kSafetyCopyFolder / "my notes.txt"));
}

TEST_F(SafetyCopies, CopiesWithinOneMillisecondDoNotOverwriteEachOther) {
    db.appendBatch(test::seededDraws(3, 1, 2014001), settings);
    const auto first = writeSafetyCopy(db, CopyCause::Clear, now);
    db.deleteNewest();
    const auto second = writeSafetyCopy(db, CopyCause::Import, now);
    ASSERT_TRUE(first && second);
    EXPECT_NE(safetyCopyOf(*first)->id, safetyCopyOf(*second)->id);
    EXPECT_LT(safetyCopyOf(*first)->made, safetyCopyOf(*second)->made) << "the later copy must be the newer one";
    EXPECT_EQ(readHistoryFile(*first).draws.size(), 3u);
    EXPECT_EQ(readHistoryFile(*second).draws.size(), 2u);
}

TEST_F(SafetyCopies, AnImportSavesTheHistoryItReplacesAndAFailedOneSavesNothing) {
    db.appendBatch(test::seededDraws(12, 9, 2014001), settings);
    const auto before = db.draws();
    test::writeFile(dir / "bad.txt", "2015001 01 02 03 04 05 06 07 77 \r\n");
    EXPECT_THROW(importHistoryFile(db, dir / "bad.txt", settings), StoreError);
    EXPECT_TRUE(safetyCopies(dir.path()).empty());

    test::writeFile(dir / "new.txt", "2015001 01 02 03 04 05 06 07 08 \r\n");
    const auto summary = importHistoryFile(db, dir / "new.txt", settings);
    ASSERT_TRUE(summary.safetyCopy);
    EXPECT_EQ(readHistoryFile(*summary.safetyCopy).draws, before);
    EXPECT_EQ(safetyCopyOf(*summary.safetyCopy)->cause, CopyCause::Import);
}

TEST_F(SafetyCopies, ARestoreCanItselfBeUndone) {
    db.appendBatch(history, settings);
    const auto rows = test::everyRow(db);
    const auto cleared = clearHistory(db).safetyCopy;
    ASSERT_TRUE(cleared);
    db.append(test::draw(2016001, {1, 2, 3, 4, 5, 6, 7, 8}), settings);

    const auto restored = restoreSafetyCopy(db, *cleared, [&](std::optional<int>) { return settings; });
    EXPECT_EQ(test::everyRow(db), rows);
    ASSERT_TRUE(restored.safetyCopy);
    EXPECT_EQ(safetyCopyOf(*restored.safetyCopy)->cause, CopyCause::Restore);
    restoreSafetyCopy(db, *restored.safetyCopy, [&](std::optional<int>) { return settings; });
    EXPECT_EQ(db.draws(), std::vector{test::draw(2016001, {1, 2, 3, 4, 5, 6, 7, 8})});
}

TEST_F(SafetyCopies, AnEmptyHistoryNeedsNoCopy) {
    EXPECT_FALSE(writeSafetyCopy(db, CopyCause::Clear));
    EXPECT_FALSE(std::filesystem::exists(dir / kSafetyCopyFolder));
}

}  // namespace
}  // namespace drawfollow
