// The track record's table: records kept as written, refused when their draw is already
// known, and the upgrade of a file written before the table existed.
#include "store/pick_table.h"
#include "store/schema.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::seededDraws;
using test::settingsFor;

class PickTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<HistoryDb>(dir / HistoryDb::kFileName);
        db->replaceAll(seededDraws(30, 2, 2020001), settingsFor(2020));
    }

    PickRecord nextPick() {
        PickRecord r;
        r.made = "2026-12-08 12:49:00";
        r.newestIssue = db->newest()->issue;
        r.issue = r.newestIssue + 1;
        r.search = "follow";
        r.panel = "kind=0;result=3";
        r.top = 3;
        r.values = {7, 0, 12};
        return r;
    }

    test::TempDir dir;
    std::unique_ptr<HistoryDb> db;
};

TEST_F(PickTableTest, KeepsRecordsAsWrittenAndDeletesThem) {
    PickRecord top = nextPick();
    PickRecord exclude = nextPick();
    exclude.exclude = true;
    exclude.search = "combination";
    exclude.values = {30};
    top.id = addPick(*db, top);
    exclude.id = addPick(*db, exclude);
    EXPECT_LT(top.id, exclude.id);
    EXPECT_EQ(readPicks(*db), (std::vector<PickRecord>{top, exclude}));

    EXPECT_TRUE(deletePick(*db, top.id));
    EXPECT_FALSE(deletePick(*db, top.id));
    EXPECT_EQ(readPicks(*db), std::vector<PickRecord>{exclude});
    // A deleted record's id is not given again.
    EXPECT_GT(addPick(*db, nextPick()), exclude.id);
}

TEST_F(PickTableTest, RefusesAPickWhoseDrawIsKnownOrWhoseHistoryChanged) {
    PickRecord stored = nextPick();
    stored.issue = stored.newestIssue;
    EXPECT_THROW(addPick(*db, stored), StoreError);
    PickRecord past = nextPick();
    past.issue = 2019500;
    EXPECT_THROW(addPick(*db, past), StoreError);
    const PickRecord stale = nextPick();
    db->append({stale.issue, {1, 2, 3, 4, 5, 6, 7, 8}}, settingsFor(2020));
    try {
        addPick(*db, stale);
        FAIL() << "a pick made before the newest draw was stored";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("已经开出"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(readPicks(*db).empty());
}

TEST_F(PickTableTest, RefusesToReadARecordItCouldNotHaveWritten) {
    addPick(*db, nextPick());
    db->connection().exec("UPDATE Picks SET ChosenValues = '7 x'");
    EXPECT_THROW(readPicks(*db), StoreError);
    db->connection().exec("UPDATE Picks SET ChosenValues = '7', Mode = 'best'");
    EXPECT_THROW(readPicks(*db), StoreError);
}

TEST_F(PickTableTest, AFileOfTheVersionBeforeGetsTheTableAndKeepsItsHistory) {
    const std::vector<DrawRow> rows = test::everyRow(*db);
    db->connection().exec("DROP TABLE Picks; PRAGMA user_version = 2");
    db.reset();
    HistoryDb reopened(dir / HistoryDb::kFileName);
    EXPECT_EQ(reopened.connection().execAndGet("PRAGMA user_version").getInt(), kSchemaVersion);
    EXPECT_EQ(missingSchemaParts(reopened.connection()), "");
    EXPECT_EQ(test::everyRow(reopened), rows);
    EXPECT_TRUE(readPicks(reopened).empty());
}

TEST_F(PickTableTest, AFileMissingTheTableAtItsVersionIsNamedAsSuch) {
    db->connection().exec("DROP TABLE Picks");
    EXPECT_NE(missingSchemaParts(db->connection()).find("表 Picks"), std::string::npos);
}

}  // namespace
}  // namespace drawfollow
