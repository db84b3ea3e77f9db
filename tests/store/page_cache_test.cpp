// SQLite's memory while the history's largest changes run: the page cache of a connection is
// bounded in pages, and must stay so for a file that gets its large pages only at creation and
// for the copy a compaction writes.
#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace drawfollow {
namespace {

// Far more pages than the cache holds: 20,000 wide rows fill about 180 pages of 64 KiB.
constexpr int kLongHistory = 20000;
// The bounded cache with room for the statements' own needs; an unbounded one holds every
// page the change touched, more than 11 MB here.
constexpr sqlite3_int64 kMemoryAllowed = 8 << 20;

sqlite3_int64 sqliteMemoryPeakSinceReset() {
    sqlite3_int64 current = 0;
    sqlite3_int64 peak = 0;
    sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &current, &peak, 1);
    return peak;
}

TEST(PageCache, ALongImportIntoANewFileAndItsCompactionStayWithinTheBoundedCache) {
    test::TempDir dir;
    const auto draws = test::seededDraws(kLongHistory);
    HistoryDb db(dir.path() / HistoryDb::kFileName);
    sqliteMemoryPeakSinceReset();
    db.replaceAll(draws, test::settingsFor(2013));
    EXPECT_LT(sqliteMemoryPeakSinceReset(), kMemoryAllowed) << "import into a new file";
    db.compact();
    EXPECT_LT(sqliteMemoryPeakSinceReset(), kMemoryAllowed) << "compaction";
    EXPECT_EQ(db.drawCount(), kLongHistory);
}

}  // namespace
}  // namespace drawfollow
