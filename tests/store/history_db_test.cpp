#include "store/history_db.h"
#include "store/schema.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace drawfollow {
namespace {

using test::draw;
using test::seededDraws;
using test::settingsFor;

class HistoryDbTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return dir / HistoryDb::kFileName; }
    test::TempDir dir;
};

TEST_F(HistoryDbTest, CreatesAMissingFileWithBothTables) {
    HistoryDb db(file());
    EXPECT_EQ(db.drawCount(), 0);
    EXPECT_EQ(db.connection().execAndGet("PRAGMA user_version").getInt(), kSchemaVersion);
    EXPECT_EQ(missingSchemaParts(db.connection()), "");
    EXPECT_EQ(db.connection().execAndGet("SELECT count(*) FROM Carcu").getInt(), 0);
    EXPECT_EQ(lishiColumns().size(), 3u + 8 * 6 * 3 + 7 * 2 + 3);
}

TEST_F(HistoryDbTest, ReopensWhatItStored) {
    const auto draws = seededDraws(20);
    {
        HistoryDb db(file());
        db.replaceAll(draws, settingsFor(2013));
    }
    HistoryDb again(file());
    EXPECT_EQ(again.drawCount(), 20);
    EXPECT_EQ(again.newest()->issue, draws.back().issue);
}

TEST_F(HistoryDbTest, RefusesFilesThatAreNotItsDatabaseNamingTheFile) {
    auto expectRefused = [this](const std::string& fragment) {
        try {
            HistoryDb db(file());
            ADD_FAILURE() << "opened a foreign file";
        } catch (const StoreError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(file().string()), std::string::npos) << what;
            EXPECT_NE(what.find(fragment), std::string::npos) << what;
        }
    };
    test::writeFile(file(), std::string(4096, 'x'));
    expectRefused("不是有效的历史数据库");

    std::filesystem::remove(file());
    {
        SQLite::Database other(file().string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
        other.exec("CREATE TABLE t (a)");
    }
    expectRefused("表 Lishi");

    std::filesystem::remove(file());
    {
        HistoryDb db(file());
        db.connection().exec("ALTER TABLE Lishi DROP COLUMN txtHisLstWei");
    }
    expectRefused("Lishi.txtHisLstWei");

    std::filesystem::remove(file());
    {
        HistoryDb db(file());
        db.connection().exec("PRAGMA user_version = 99");
    }
    expectRefused("较新版本");
}

TEST_F(HistoryDbTest, AppendDerivesFromTheTwoNewestDraws) {
    HistoryDb db(file());
    const auto settings = settingsFor(2013);
    const DrawRow first = db.append(draw(2013001, {3, 7, 12, 18, 22, 25, 29, 11}), settings);
    const DrawRow second = db.append(draw(2013002, {1, 2, 4, 5, 6, 8, 9, 10}), settings);
    const DrawRow third = db.append(draw(2013003, {13, 14, 15, 16, 17, 19, 20, 21}), settings);
    EXPECT_EQ(first.previous, DrawValues{});
    EXPECT_EQ(second.previous, first.own);
    EXPECT_EQ(second.back, first.previous);
    EXPECT_EQ(second.previousLists.plain, "03 07 12 18 22 25 29 11 ");
    EXPECT_EQ(third.previous, second.own);
    EXPECT_EQ(third.back, first.own);
    EXPECT_EQ(test::everyRow(db), (std::vector<DrawRow>{first, second, third}));
}

TEST_F(HistoryDbTest, IssuesMustRise) {
    HistoryDb db(file());
    db.append(draw(2013005, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013));
    EXPECT_THROW(db.append(draw(2013005, {1, 2, 3, 4, 5, 6, 7, 9}), settingsFor(2013)), StoreError);
    EXPECT_THROW(db.append(draw(2013004, {1, 2, 3, 4, 5, 6, 7, 9}), settingsFor(2013)), StoreError);
    EXPECT_EQ(db.drawCount(), 1);
}

TEST_F(HistoryDbTest, AFailedBatchLeavesTheHistoryAsItWas) {
    HistoryDb db(file());
    db.replaceAll(seededDraws(30), settingsFor(2013));
    const auto before = test::everyRow(db);

    auto bad = seededDraws(50, 3, 2014001);
    bad[40].issue = bad[10].issue;  // falls back in the middle of the batch
    EXPECT_THROW(db.appendBatch(bad, settingsFor(2013)), StoreError);
    EXPECT_THROW(db.replaceAll(bad, settingsFor(2013)), StoreError);
    EXPECT_EQ(test::everyRow(db), before);

    const auto good = seededDraws(50, 3, 2014001);
    EXPECT_THROW(db.replaceAll(good, settingsFor(2013), false, [](size_t done, size_t) { return done < 10; }),
                 StoreError);
    EXPECT_EQ(test::everyRow(db), before);
}

TEST_F(HistoryDbTest, AReadOnlyFileRefusesChangesAndKeepsItsHistory) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes to read-only files";
    {
        HistoryDb db(file());
        db.replaceAll(seededDraws(10), settingsFor(2013));
    }
    chmod(file().c_str(), 0444);
    HistoryDb db(file());
    EXPECT_ANY_THROW(db.append(draw(2020001, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013)));
    EXPECT_ANY_THROW(db.replaceAll(seededDraws(5, 9), settingsFor(2013)));
    EXPECT_EQ(db.drawCount(), 10);
}

TEST_F(HistoryDbTest, AReadOnlyConnectionRefusesChangesAndKeepsItsHistory) {
    // Works for root too: the connection itself is read-only.
    {
        HistoryDb db(file());
        db.replaceAll(seededDraws(10), settingsFor(2013));
    }
    HistoryDb db(file());
    db.connection().exec("PRAGMA query_only = ON");
    EXPECT_THROW(db.append(draw(2020001, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013)), SQLite::Exception);
    EXPECT_THROW(db.replaceAll(seededDraws(5, 9), settingsFor(2013)), SQLite::Exception);
    db.connection().exec("PRAGMA query_only = OFF");
    EXPECT_EQ(db.drawCount(), 10);
}

TEST_F(HistoryDbTest, NextIssueIsTheNewestPlusOneOrTheCalendarYearsFirst) {
    HistoryDb db(file());
    EXPECT_EQ(nextIssue(db, FixedClock(2026)), 2026001);
    db.append(draw(2013153, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013));
    EXPECT_EQ(nextIssue(db, FixedClock(2026)), 2013154);  // no roll-over to the next year
    EXPECT_EQ(startupCodeTableYear(2013154), 2013);
    EXPECT_EQ(startupCodeTableYear(2026001), 2025);
}

TEST_F(HistoryDbTest, DeletingTheNewestAndEverything) {
    HistoryDb db(file());
    EXPECT_FALSE(db.deleteNewest());
    db.append(draw(2013001, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013));
    EXPECT_TRUE(db.deleteNewest());
    EXPECT_EQ(db.drawCount(), 0);
    db.replaceAll(seededDraws(5), settingsFor(2013));
    EXPECT_TRUE(db.deleteNewest());
    EXPECT_EQ(db.newest()->issue, 2013004);
    db.deleteAll();
    EXPECT_FALSE(db.newest());
    db.compact();
    db.append(draw(2013001, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013));  // usable after compaction
    EXPECT_EQ(db.drawCount(), 1);
}

TEST_F(HistoryDbTest, ZodiacCodesFollowTheZodiacYearOfEachIssue) {
    // Number 1 is the dragon's in zodiac year 2012 and the snake's in 2013; with the table
    // built for 2013 by age these are codes 2 and 1.
    HistoryDb db(file());
    db.appendBatch(std::vector{draw(2013016, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2013017, {1, 2, 3, 4, 5, 6, 7, 8})},
                   settingsFor(2013));
    const auto rows = test::everyRow(db);
    EXPECT_EQ(rows[0].own[index(Kind::Zodiac)][0], 2);
    EXPECT_EQ(rows[1].own[index(Kind::Zodiac)][0], 1);
}

}  // namespace
}  // namespace drawfollow
