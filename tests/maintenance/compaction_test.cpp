#include "io/history_maintenance.h"
#include "store/schema.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <SQLiteCpp/Transaction.h>

namespace drawfollow {
namespace {

class Compaction : public ::testing::Test {
protected:
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    DerivationSettings settings = test::settingsFor(2014);

    std::uintmax_t fileSize() { return std::filesystem::file_size(db.path()); }
};

TEST_F(Compaction, ReclaimsTheSpaceOfDeletedRowsAndRunsTwiceInARow) {
    db.appendBatch(test::seededDraws(3000, 2, 2010001), settings);
    db.execute("DELETE FROM lishi WHERE SQQH > 2010010");
    const auto bloated = fileSize();
    const auto rows = test::everyRow(db);

    EXPECT_EQ(compactHistory(db), "");
    // Every table keeps at least one large page of its own, however few rows are left.
    EXPECT_EQ(db.connection().execAndGet("PRAGMA freelist_count").getInt(), 0);
    EXPECT_LT(fileSize(), bloated / 3);
    EXPECT_EQ(compactHistory(db), "");
    EXPECT_EQ(test::everyRow(db), rows);
}

TEST_F(Compaction, GivesAFileOfSmallPagesTheLargePagesOfANewOne) {
    auto pageSize = [this] { return db.connection().execAndGet("PRAGMA page_size").getInt(); };
    ASSERT_EQ(pageSize(), kPageSize);
    db.appendBatch(test::seededDraws(50, 5, 2010001), settings);
    db.connection().exec("PRAGMA page_size = 4096; VACUUM");
    ASSERT_EQ(pageSize(), 4096);
    const auto rows = test::everyRow(db);

    EXPECT_EQ(compactHistory(db), "");
    EXPECT_EQ(pageSize(), kPageSize);
    EXPECT_EQ(test::everyRow(db), rows);
}

TEST_F(Compaction, AFailedCompactionLeavesTheFileAsItWasAndTheConnectionUsable) {
    db.appendBatch(test::seededDraws(200, 4, 2010001), settings);
    db.execute("DELETE FROM lishi WHERE SQQH > 2010100");
    const auto rows = test::everyRow(db);
    const std::string bytes = test::readFile(db.path());
    {
        // Another program reading the file keeps the compaction from replacing it.
        SQLite::Database reader(db.path().string(), SQLite::OPEN_READONLY);
        SQLite::Transaction readTransaction(reader);
        reader.execAndGet("SELECT count(*) FROM lishi");

        db.connection().setBusyTimeout(0);  // the outcome is the same after any wait; the test need not wait
        const std::string problem = compactHistory(db);
        EXPECT_NE(problem.find("压缩历史数据库文件失败"), std::string::npos) << problem;
        EXPECT_EQ(test::readFile(db.path()), bytes);
        EXPECT_EQ(test::everyRow(db), rows);
    }
    db.append(test::draw(2010101, {1, 2, 3, 4, 5, 6, 7, 8}), settings);
    EXPECT_EQ(db.drawCount(), static_cast<int>(rows.size()) + 1);
    EXPECT_EQ(compactHistory(db), "") << "once the reader is gone the compaction works again";
}

}  // namespace
}  // namespace drawfollow
