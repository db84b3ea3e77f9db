#include "io/history_maintenance.h"

#include "io/history_import.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

class HistoryMaintenance : public ::testing::Test {
protected:
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    DerivationSettings settings = test::settingsFor(2014);

    std::vector<int> storedIssues() { return db.issues(); }
};

std::vector<int> issueRange(int first, int last) {
    std::vector<int> issues;
    for (int i = first; i <= last; ++i)
        issues.push_back(i);
    return issues;
}

// Whatever the history held before, a rebuilt row describes the row before it and the one
// two before it, and the first row has no predecessor at all.
void expectRebuiltChain(const std::vector<DrawRow>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE("row " + std::to_string(i));
        const DrawRow none;
        const DrawRow& previous = i >= 1 ? rows[i - 1] : none;
        const DrawRow& back = i >= 2 ? rows[i - 2] : none;
        EXPECT_EQ(rows[i].previous, previous.own);
        EXPECT_EQ(rows[i].back, back.own);
        EXPECT_EQ(rows[i].previousLists, i >= 1 ? listsOf(previous.own) : DrawLists{});
        EXPECT_EQ(rows[i].backLists, i >= 2 ? listsOf(back.own) : DrawLists{});
        EXPECT_EQ(rows[i].nextIssue, rows[i].issue + 1);
    }
}

TEST_F(HistoryMaintenance, TrimToAnIssueKeepsItAndEverythingBefore) {
    db.appendBatch(test::seededDraws(30, 3, 2014001), settings);
    const auto before = db.draws();

    const auto result = trimToIssue(db, 2014016, settings, Emptying::Allowed);

    EXPECT_EQ(storedIssues(), issueRange(2014001, 2014016));
    EXPECT_EQ(result.removed, 14u);
    EXPECT_EQ(result.kept, 16u);
    EXPECT_TRUE(result.compactionProblem.empty()) << result.compactionProblem;
    EXPECT_EQ(db.connection().execAndGet("PRAGMA freelist_count").getInt(), 0) << "the file was not compacted";
    // The backup holds exactly the kept draws as canonical lines.
    std::string expected;
    for (int i = 0; i < 16; ++i)
        expected += canonicalLine(before[i].issue, before[i].numbers) + "\r\n";
    EXPECT_EQ(test::readFile(dir / kRebuildBackupName), expected);
    expectRebuiltChain(test::everyRow(db));
}

TEST_F(HistoryMaintenance, TrimToTheNewestIssueDeletesNothingButRebuildsEveryRow) {
    // Appended rows leave the txtHisPreLst family empty; only a rebuild fills it.
    db.appendBatch(test::seededDraws(5, 4, 2014001), settings);
    ASSERT_EQ(test::everyRow(db)[4].backLists, DrawLists{});

    const auto result = trimToIssue(db, 2014005, settings, Emptying::Allowed);

    EXPECT_EQ(result.removed, 0u);
    EXPECT_FALSE(result.safetyCopy) << "nothing was deleted, so nothing needed saving";
    EXPECT_EQ(storedIssues(), issueRange(2014001, 2014005));
    expectRebuiltChain(test::everyRow(db));
}

TEST_F(HistoryMaintenance, RebuiltRowsCarryTheDrawTwoBackAndTheFirstRowStartsFromNothing) {
    db.appendBatch(
        std::vector{test::draw(2014001, {1, 2, 3, 4, 5, 6, 7, 8}), test::draw(2014002, {9, 10, 11, 12, 13, 14, 15, 16}),
                    test::draw(2014003, {17, 18, 19, 20, 21, 22, 23, 24}),
                    test::draw(2014004, {25, 26, 27, 28, 29, 30, 1, 2})},
        settings);
    trimToIssue(db, 2014003, settings, Emptying::Allowed);
    const auto rows = test::everyRow(db);
    ASSERT_EQ(rows.size(), 3u);

    EXPECT_EQ(rows[0].previous, DrawValues{});
    EXPECT_EQ(rows[0].back, DrawValues{});
    EXPECT_EQ(rows[0].previousLists, DrawLists{});
    EXPECT_EQ(rows[1].previousLists.plain, "01 02 03 04 05 06 07 08 ");
    EXPECT_EQ(rows[1].backLists, DrawLists{});
    EXPECT_EQ(rows[2].backLists.plain, "01 02 03 04 05 06 07 08 ");
    EXPECT_EQ(rows[2].backLists.counted[index(Kind::Number)], "1X01 1X02 1X03 1X04 1X05 1X06 1X07 1X08 ");
    EXPECT_EQ(rows[2].back, rows[0].own);
}

TEST_F(HistoryMaintenance, TrimmedRowsEqualAnImportOfTheSameLinesApartFromTheBackLists) {
    db.appendBatch(test::seededDraws(40, 8, 2014001), settings);
    trimToIssue(db, 2014030, settings, Emptying::Allowed);
    auto trimmed = test::everyRow(db);

    test::TempDir other;
    HistoryDb imported(other / HistoryDb::kFileName);
    importHistoryFile(imported, dir / kRebuildBackupName, settings);
    auto expected = test::everyRow(imported);
    ASSERT_EQ(trimmed.size(), expected.size());
    for (auto& row : trimmed)
        row.backLists = {};
    EXPECT_EQ(trimmed, expected);
}

struct TrimCase {
    const char* name;
    int lastKept;  // trim-to argument; 0 means "delete the newest `count`"
    int count;
    std::vector<int> expectedIssues;
    bool expectCopy;
};

void PrintTo(const TrimCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<int> kAll{2014148, 2014149, 2014150, 2015001, 2015002, 2015003};

class TrimCases : public HistoryMaintenance, public ::testing::WithParamInterface<TrimCase> {};

TEST_P(TrimCases, KeepTheRightDraws) {
    // 2014's last three draws, then 2015001..2015003.
    db.appendBatch(
        std::vector{test::draw(2014148, {1, 2, 3, 4, 5, 6, 7, 8}), test::draw(2014149, {2, 3, 4, 5, 6, 7, 8, 9}),
                    test::draw(2014150, {3, 4, 5, 6, 7, 8, 9, 10}), test::draw(2015001, {4, 5, 6, 7, 8, 9, 10, 11}),
                    test::draw(2015002, {5, 6, 7, 8, 9, 10, 11, 12}),
                    test::draw(2015003, {6, 7, 8, 9, 10, 11, 12, 13})},
        settings);
    const auto& c = GetParam();
    const auto trim = [&](Emptying emptying) {
        return c.lastKept != 0 ? trimToIssue(db, c.lastKept, settings, emptying)
                               : deleteNewestDraws(db, c.count, settings, emptying);
    };
    if (c.expectedIssues.empty()) {
        EXPECT_THROW(trim(Emptying::Refused), EmptyingRefused);
        EXPECT_EQ(storedIssues(), kAll) << "refused: nothing may change";
        EXPECT_TRUE(safetyCopies(dir.path()).empty());
    }
    const auto result = trim(Emptying::Allowed);
    EXPECT_EQ(storedIssues(), c.expectedIssues);
    EXPECT_EQ(result.kept, c.expectedIssues.size());
    EXPECT_EQ(result.removed, 6 - c.expectedIssues.size());
    EXPECT_EQ(result.safetyCopy.has_value(), c.expectCopy);
}

INSTANTIATE_TEST_SUITE_P(
    HistoryMaintenance, TrimCases,
    ::testing::Values(TrimCase{"NewestThreeLeave2014sLastDraw", 0, 3, {2014148, 2014149, 2014150}, true},
                      TrimCase{"NewestOne", 0, 1, {2014148, 2014149, 2014150, 2015001, 2015002}, true},
                      TrimCase{"AsManyAsStoredEmpties", 0, 6, {}, true},
                      TrimCase{"MoreThanStoredEmpties", 0, 1000, {}, true},
                      TrimCase{"ZeroChangesNothing", 0, 0, kAll, false},
                      TrimCase{"NegativeChangesNothing", 0, -2, kAll, false},
                      TrimCase{"ToAnIssueBetweenStoredOnes", 2014200, 0, {2014148, 2014149, 2014150}, true},
                      TrimCase{"ToBeforeTheFirstEmpties", 2013001, 0, {}, true},
                      TrimCase{"ToANegativeIssueChangesNothing", -5, 0, kAll, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HistoryMaintenance, ANonPositiveAnswerLeavesAnOldBackupFileAlone) {
    db.appendBatch(test::seededDraws(3, 1, 2014001), settings);
    test::writeFile(dir / kRebuildBackupName, "old");
    trimToIssue(db, 0, settings, Emptying::Allowed);
    deleteNewestDraws(db, 0, settings, Emptying::Allowed);
    EXPECT_EQ(test::readFile(dir / kRebuildBackupName), "old");
}

TEST_F(HistoryMaintenance, DeleteNewestDrawSavesTheHistoryRemovesOneRowAndCompacts) {
    db.appendBatch(test::seededDraws(2, 1, 2014001), settings);
    const auto before = db.draws();
    auto result = deleteNewestDraw(db);
    EXPECT_EQ(result.removed, 1u);
    EXPECT_EQ(result.newestDeleted, 2014002);
    ASSERT_TRUE(result.safetyCopy);
    EXPECT_EQ(readHistoryFile(*result.safetyCopy).draws, before);
    EXPECT_EQ(safetyCopyOf(*result.safetyCopy)->cause, CopyCause::DeleteLast);
    EXPECT_EQ(storedIssues(), std::vector<int>{2014001});

    result = deleteNewestDraw(db);
    EXPECT_EQ(result.kept, 0u);
    result = deleteNewestDraw(db);
    EXPECT_EQ(result.removed, 0u) << "an empty history has nothing to delete";
    EXPECT_FALSE(result.safetyCopy);
    EXPECT_TRUE(result.compactionProblem.empty());
    EXPECT_EQ(safetyCopies(dir.path()).size(), 2u);
}

TEST_F(HistoryMaintenance, ClearSavesTheHistoryFirstAndTheCopyImportsBack) {
    db.appendBatch(test::seededDraws(25, 6, 2014001), settings);
    const auto before = test::everyRow(db);

    const auto result = clearHistory(db);
    EXPECT_EQ(result.removed, 25u);
    EXPECT_EQ(db.drawCount(), 0);
    ASSERT_TRUE(result.safetyCopy);

    importHistoryFile(db, *result.safetyCopy, settings);
    EXPECT_EQ(test::everyRow(db), before);
}

TEST_F(HistoryMaintenance, ClearingAnEmptyHistoryWritesNoCopy) {
    const auto result = clearHistory(db);
    EXPECT_EQ(result.removed, 0u);
    EXPECT_FALSE(result.safetyCopy);
}

TEST_F(HistoryMaintenance, WithoutASafetyCopyNothingIsDeleted) {
    db.appendBatch(test::seededDraws(10, 2, 2014001), settings);
    const auto before = test::everyRow(db);
    test::writeFile(dir / kSafetyCopyFolder, "a file where the folder should be");

    EXPECT_THROW(trimToIssue(db, 2014005, settings, Emptying::Allowed), StoreError);
    EXPECT_THROW(deleteNewestDraws(db, 3, settings, Emptying::Allowed), StoreError);
    EXPECT_THROW(clearHistory(db), StoreError);
    EXPECT_THROW(deleteNewestDraw(db), StoreError);
    EXPECT_FALSE(std::filesystem::exists(dir / kRebuildBackupName));
    EXPECT_EQ(test::everyRow(db), before);
}

TEST_F(HistoryMaintenance, AnUnwritableBackupFileStopsTheTrimBeforeTheTableIsTouched) {
    db.appendBatch(test::seededDraws(10, 2, 2014001), settings);
    const auto before = test::everyRow(db);
    std::filesystem::create_directory(dir / (std::string(kRebuildBackupName) + ".part"));

    try {
        trimToIssue(db, 2014005, settings, Emptying::Allowed);
        FAIL() << "the trim went on without its backup file";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("历史号码未作改动"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::everyRow(db), before);
}

TEST_F(HistoryMaintenance, ABadBackupFileChangesNothing) {
    db.appendBatch(test::seededDraws(10, 2, 2014001), settings);
    const auto before = test::everyRow(db);
    // Good rows first, so a rebuild that was not one transaction would have stored them.
    test::writeFile(dir / "bad.txt",
                    "2014001 01 02 03 04 05 06 07 08 \r\n2014002 01 02 03 04 05 06 07 08 \r\n2014003 01 02 03 04 05 06 "
                    "07 31 \r\n");
    EXPECT_THROW(rebuildFromBackup(db, dir / "bad.txt", settings), StoreError);
    EXPECT_THROW(rebuildFromBackup(db, dir / "missing.txt", settings), StoreError);
    EXPECT_EQ(test::everyRow(db), before);
}

TEST_F(HistoryMaintenance, AnEmptyBackupFileEmptiesTheHistory) {
    db.appendBatch(test::seededDraws(10, 2, 2014001), settings);
    test::writeFile(dir / "empty.txt", "");
    rebuildFromBackup(db, dir / "empty.txt", settings);
    EXPECT_EQ(db.drawCount(), 0);
}

TEST_F(HistoryMaintenance, ABackupLineWithSixNumbersIsRefusedNotCompletedFromTheLineBefore) {
    db.appendBatch(test::seededDraws(10, 2, 2014001), settings);
    const auto before = test::everyRow(db);
    test::writeFile(dir / "short.txt", "2014001 01 02 03 04 05 06 07 08 \r\n2014002 11 12 13 14 15 16\r\n");
    EXPECT_THROW(rebuildFromBackup(db, dir / "short.txt", settings), StoreError);
    EXPECT_EQ(test::everyRow(db), before);
}

// A link planted as lsbf.txt, pointing at a file of the user's elsewhere: the trim is refused
// before it changes anything, and the other file keeps its content and its mode.
TEST_F(HistoryMaintenance, ATrimDoesNotWriteThroughAPlantedLink) {
    db.appendBatch(test::seededDraws(30, 3, 2014001), settings);
    test::TempDir elsewhere;
    const auto secret = elsewhere / "authorized_keys";
    test::writeFile(secret, "ssh-ed25519 AAAA");
    std::filesystem::permissions(secret, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    std::filesystem::create_symlink(secret, dir / kRebuildBackupName);

    EXPECT_THROW(trimToIssue(db, 2014020, settings, Emptying::Refused), StoreError);
    EXPECT_EQ(storedIssues(), issueRange(2014001, 2014030));
    EXPECT_EQ(test::readFile(secret), "ssh-ed25519 AAAA");
    EXPECT_EQ(std::filesystem::status(secret).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

}  // namespace
}  // namespace drawfollow
