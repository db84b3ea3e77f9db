// Cancelling a change from another thread: the statement stops, the change is rolled back
// whole, and the connection works as before once the guard is gone.
#include "store/cancel_guard.h"

#include "store/history_db.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::settingsFor;

class CancelGuardTest : public ::testing::Test {
protected:
    void SetUp() override { db.appendBatch(test::seededDraws(300), settingsFor(2013)); }

    // Replaces the history with longer one; the failure it ends in, if any.
    std::optional<bool> replaceEndsCancelled() {
        try {
            db.replaceAll(test::seededDraws(400, 3), settingsFor(2013));
        } catch (const std::exception& e) {
            return isCancelled(e);
        }
        return std::nullopt;
    }

    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    std::atomic<bool> cancelled{false};
};

TEST_F(CancelGuardTest, ACancelledChangeStopsAndLeavesTheHistoryAsItWas) {
    const auto before = test::everyRow(db);
    {
        const CancelGuard guard(db, cancelled);
        cancelled = true;
        EXPECT_EQ(replaceEndsCancelled(), std::optional<bool>(true));
    }
    EXPECT_EQ(test::everyRow(db), before);
    // The guard gone, the connection changes the history again.
    EXPECT_EQ(replaceEndsCancelled(), std::nullopt);
    EXPECT_EQ(db.drawCount(), 400);
}

TEST_F(CancelGuardTest, AGuardNeverCancelledChangesNothing) {
    const CancelGuard guard(db, cancelled);
    EXPECT_EQ(replaceEndsCancelled(), std::nullopt);
    EXPECT_EQ(db.drawCount(), 400);
}

TEST(CancelledFailure, OnlyAnInterruptedStatementCountsAsCancelled) {
    EXPECT_FALSE(isCancelled(StoreError("x")));
    EXPECT_FALSE(isCancelled(std::runtime_error("interrupted")));
}

}  // namespace
}  // namespace drawfollow
