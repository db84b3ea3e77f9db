// The write lock: a change waits for another program's, reports it busy once the wait runs
// out (never as a broken file), and a change made of several HistoryDb steps is all or
// nothing.
#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using namespace std::chrono_literals;
using test::draw;
using test::settingsFor;

class WriteLock : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(file());
        db.appendBatch(test::seededDraws(10), settingsFor(2013));
    }
    std::filesystem::path file() const { return dir / HistoryDb::kFileName; }

    // Another program's connection, holding the lock as `begin` takes it.
    std::unique_ptr<SQLite::Database> otherProgram(const char* begin) {
        auto other = std::make_unique<SQLite::Database>(file().string(), SQLite::OPEN_READWRITE);
        other->exec(begin);
        return other;
    }

    template <class F>
    static std::string busyFailureOf(F&& change) {
        try {
            change();
        } catch (const StoreError& e) {
            return e.what();
        }
        return "no failure";
    }

    test::TempDir dir;
};

TEST_F(WriteLock, AChangeThatWaitsLongerThanTheTimeoutIsReportedBusyAndChangesNothing) {
    HistoryDb db(file(), 50ms);
    const auto before = test::everyRow(db);
    const auto other = otherProgram("BEGIN IMMEDIATE");
    EXPECT_EQ(busyFailureOf([&] {
                  db.append(draw(2013011, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013));
              }),
              kDatabaseBusyMessage);
    EXPECT_EQ(busyFailureOf([&] { db.deleteNewest(); }), kDatabaseBusyMessage);
    EXPECT_EQ(busyFailureOf([&] { WriteTransaction tx(db); }), kDatabaseBusyMessage);
    other->exec("ROLLBACK");
    EXPECT_EQ(test::everyRow(db), before);
    db.append(draw(2013011, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013));
    EXPECT_EQ(db.drawCount(), 11);
}

TEST_F(WriteLock, OpeningOrReadingAFileAnotherProgramHoldsIsBusyNotAForeignFile) {
    HistoryDb db(file(), 50ms);
    const auto other = otherProgram("BEGIN EXCLUSIVE");
    EXPECT_EQ(busyFailureOf([&] { HistoryDb again(file(), 50ms); }), kDatabaseBusyMessage);
    try {
        test::everyRow(db);
        FAIL() << "read past an exclusive lock";
    } catch (const std::exception& e) {
        EXPECT_EQ(failureText(e), kDatabaseBusyMessage);
    }
}

TEST_F(WriteLock, StepsWithinOneWriteTransactionStandOrFallTogether) {
    HistoryDb db(file());
    const auto before = test::everyRow(db);
    {
        WriteTransaction tx(db);
        db.append(draw(2013011, {1, 2, 3, 4, 5, 6, 7, 8}), settingsFor(2013));
        // A failing step inside undoes only itself ...
        EXPECT_THROW(db.appendBatch(
                         std::vector{draw(2013012, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2013012, {1, 2, 3, 4, 5, 6, 7, 9})},
                         settingsFor(2013)),
                     StoreError);
        EXPECT_EQ(db.drawCount(), 11);
        db.deleteNewest();
        db.deleteNewest();
        // ... and without a commit the whole change goes.
    }
    EXPECT_EQ(test::everyRow(db), before);
    {
        WriteTransaction tx(db);
        db.deleteNewest();
        tx.commit();
    }
    EXPECT_EQ(db.drawCount(), 9);
}

}  // namespace
}  // namespace drawfollow
