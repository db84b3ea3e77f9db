// The table of issues and numbers kept beside Lishi: in step after every kind of change, by
// this program or through plain SQL by another, rebuilt when a change got past it, and the
// values derived from it equal to those the wide rows store.
#include "store/draw_numbers.h"
#include "store/history_db.h"
#include "store/schema.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <random>

namespace drawfollow {
namespace {

class DrawNumbersTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::filesystem::path file() const { return dir / HistoryDb::kFileName; }

    // Another program's connection to the same file.
    SQLite::Database otherProgram() const { return SQLite::Database(file().string(), SQLite::OPEN_READWRITE); }

    static std::vector<StoredDraw> storedInLishi(HistoryDb& db) {
        std::vector<StoredDraw> values;
        for (const DrawRow& row : test::everyRow(db))
            values.push_back(StoredDraw::of(row));
        return values;
    }

    // The table holds exactly Lishi's draws and is known to.
    static void expectInStep(HistoryDb& db) {
        EXPECT_TRUE(drawNumbersInStep(db.connection()));
        EXPECT_EQ(readDrawNumbers(db.connection()), db.draws());
    }
};

TEST_F(DrawNumbersTest, ValuesDerivedFromTheNumbersEqualTheStoredRowsAfterEveryChange) {
    std::mt19937 rng(20260);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        const auto settings = test::settingsFor(2000 + static_cast<int>(rng() % 40), static_cast<int>(rng() % 2),
                                                static_cast<int>(rng() % 2), rng() % 2 == 0);
        const auto other = test::settingsFor(1990 + static_cast<int>(rng() % 40), static_cast<int>(rng() % 2),
                                             static_cast<int>(rng() % 2), rng() % 2 == 0);
        const auto draws = test::seededDraws(60 + static_cast<int>(rng() % 300), rng(), 2009001 + round * 1000,
                                             120 + static_cast<int>(rng() % 40));
        std::filesystem::remove(file());
        HistoryDb db(file());
        const auto check = [&](const char* after) {
            SCOPED_TRACE(after);
            expectInStep(db);
            EXPECT_EQ(db.drawValues(), storedInLishi(db));
        };
        const size_t half = draws.size() / 2;
        db.replaceAll(std::span(draws).first(half), settings);
        check("import");
        db.appendBatch(std::span(draws).subspan(half, 10), settings);
        db.append(draws[half + 10], settings);
        check("append");
        db.deleteNewest();
        check("delete newest");
        db.rederiveAll(other);
        check("re-derivation");
        db.dropBeforeAndAppend(draws[half / 3].issue, std::span(draws).subspan(half + 10), other);
        check("trim and update");
        db.compact();
        check("compaction");
        db.deleteAll();
        check("clear");
    }
}

TEST_F(DrawNumbersTest, PlainSqlChangesOfAnotherProgramAreKeptInTheSameTransaction) {
    HistoryDb db(file());
    db.replaceAll(test::seededDraws(20), test::settingsFor(2013));
    const int third = db.issues()[2];
    {
        SQLite::Database other = otherProgram();
        other.exec("UPDATE Lishi SET L3A = 30 WHERE SQQH = " + std::to_string(third));
        other.exec("DELETE FROM Lishi WHERE SQQH = (SELECT max(SQQH) FROM Lishi)");
        other.exec(
            "INSERT OR REPLACE INTO Lishi (SQQH, L1A, L2A, L3A, L4A, L5A, L6A, L7A, L8A) "
            "SELECT SQQH, 8, 7, 6, 5, 4, 3, 2, 1 FROM Lishi WHERE SQQH = " +
            std::to_string(third + 1));
        other.exec("UPDATE Lishi SET SQQH = 2020001 WHERE SQQH = " + std::to_string(third + 2));
        // A statement that fails halfway leaves neither table changed.
        EXPECT_ANY_THROW(other.exec("UPDATE Lishi SET L1A = L1A + 1, SQQH = " + std::to_string(third) +
                                    " WHERE SQQH = " + std::to_string(third + 3)));
    }
    expectInStep(db);
    ASSERT_EQ(readDrawNumbers(db.connection()).size(), 19u);
    EXPECT_EQ(readDrawNumbers(db.connection())[3].numbers, (Numbers{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(readDrawNumbers(db.connection()).back().issue, 2020001);
}

TEST_F(DrawNumbersTest, AChangeThatGotPastTheTableIsNoticedAtOpeningAndRebuilt) {
    {
        HistoryDb db(file());
        db.replaceAll(test::seededDraws(30), test::settingsFor(2013));
    }
    const auto changeBehindTheTriggers = [this](const std::string& change) {
        SQLite::Database other = otherProgram();
        other.exec("DROP TRIGGER DrawNumbersUpdate; DROP TRIGGER DrawNumbersDelete");
        other.exec(change);
    };
    changeBehindTheTriggers("UPDATE Lishi SET L5A = 29 - L5A WHERE SQQH = 2013007");
    {
        HistoryDb db(file());
        expectInStep(db);
        EXPECT_EQ(db.draws()[6].numbers[4], readDrawNumbers(db.connection())[6].numbers[4]);
    }
    changeBehindTheTriggers("DELETE FROM Lishi WHERE SQQH > 2013020");
    {
        HistoryDb db(file());
        expectInStep(db);
        EXPECT_EQ(db.drawCount(), 20);
        // The triggers are back: the next change through plain SQL is followed again.
        otherProgram().exec("DELETE FROM Lishi WHERE SQQH = 2013020");
        expectInStep(db);
    }
}

TEST_F(DrawNumbersTest, ATableOutOfStepThatCannotBeRebuiltLeavesTheValuesReadFromLishi) {
    HistoryDb db(file());
    db.replaceAll(test::seededDraws(12), test::settingsFor(2013));
    otherProgram().exec("DROP TRIGGER DrawNumbersUpdate; UPDATE Lishi SET L1A = 30, L1B = 5 WHERE SQQH = 2013004");
    db.connection().exec("PRAGMA query_only = ON");
    EXPECT_FALSE(drawNumbersInStep(db.connection()));
    EXPECT_EQ(db.drawValues(), storedInLishi(db));
    EXPECT_EQ(db.drawValues()[3].own[index(Kind::Number)][0], 30);
}

TEST_F(DrawNumbersTest, AFileKeptBusyByAnotherProgramOpensAndIsReadFromLishi) {
    {
        HistoryDb db(file());
        db.replaceAll(test::seededDraws(12), test::settingsFor(2013));
    }
    SQLite::Database other = otherProgram();
    other.exec("DROP TRIGGER DrawNumbersUpdate; UPDATE Lishi SET L2A = 30, L2B = 5 WHERE SQQH = 2013005");
    other.exec("BEGIN IMMEDIATE");
    HistoryDb db(file(), std::chrono::milliseconds(50));
    EXPECT_FALSE(drawNumbersInStep(db.connection()));
    EXPECT_EQ(db.drawValues()[4].own[index(Kind::Number)][1], 30);
    other.exec("ROLLBACK");
}

TEST_F(DrawNumbersTest, AFileOfTheVersionBeforeIsUpgradedWithItsDraws) {
    {
        HistoryDb db(file());
        db.replaceAll(test::seededDraws(25), test::settingsFor(2013));
        db.connection().exec(
            "DROP TABLE DrawNumbers; DROP TABLE DrawNumbersCheck; DROP TRIGGER DrawNumbersInsert; "
            "DROP TRIGGER DrawNumbersDelete; DROP TRIGGER DrawNumbersUpdate; PRAGMA user_version = 3");
    }
    HistoryDb db(file());
    EXPECT_EQ(db.connection().execAndGet("PRAGMA user_version").getInt(), kSchemaVersion);
    expectInStep(db);
    EXPECT_EQ(db.drawValues(), storedInLishi(db));
}

}  // namespace
}  // namespace drawfollow
