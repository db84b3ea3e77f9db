#include "store/history_db.h"
#include "store/schema.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

class HistoryReadsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
};

// The narrow queries read only some columns, by position: each must agree with the whole rows.
TEST_F(HistoryReadsTest, EveryNarrowQueryAgreesWithTheWholeRows) {
    db.replaceAll(test::seededDraws(40, 5, 2013140), test::settingsFor(2013));
    const std::vector<DrawRow> rows = test::everyRow(db);
    ASSERT_EQ(rows.size(), 40u);

    std::vector<int> issues;
    std::vector<DrawInput> draws;
    std::vector<StoredDraw> values;
    for (const DrawRow& row : rows) {
        issues.push_back(row.issue);
        draws.push_back({row.issue, row.numbers()});
        values.push_back(StoredDraw::of(row));
        EXPECT_EQ(db.rowOfIssue(row.issue), row);
    }
    EXPECT_EQ(db.issues(), issues);
    EXPECT_EQ(db.draws(), draws);
    EXPECT_EQ(db.drawValues(), values);
    EXPECT_EQ(db.rowOfIssue(rows.front().issue - 1), std::nullopt);
    EXPECT_EQ(db.rowOfIssue(rows.back().nextIssue), std::nullopt);
}

TEST_F(HistoryReadsTest, RowsAsStoredNameEveryFieldAndKeepNulls) {
    db.replaceAll(test::seededDraws(3), test::settingsFor(2013));
    std::vector<int> visited;
    db.forEachRowAsStored([&](const SQLite::Statement& fields) {
        ASSERT_EQ(static_cast<size_t>(fields.getColumnCount()), lishiColumns().size());
        for (size_t i = 0; i < lishiColumns().size(); ++i)
            EXPECT_EQ(fields.getColumnName(static_cast<int>(i)), lishiColumns()[i]);
        visited.push_back(fields.getColumn("SQQH").getInt());
        // An import leaves the scratch list and the txtHisPreLst family unset, not empty.
        EXPECT_TRUE(fields.getColumn("txtHisP6").isNull());
        EXPECT_TRUE(fields.getColumn("txtHisPreLst").isNull());
        EXPECT_TRUE(fields.getColumn("txtHisLst").isText());
    });
    EXPECT_EQ(visited, db.issues());
}

TEST_F(HistoryReadsTest, AnEmptyHistoryReadsAsEmpty) {
    EXPECT_TRUE(db.issues().empty());
    EXPECT_TRUE(db.drawValues().empty());
    EXPECT_EQ(db.rowOfIssue(2013001), std::nullopt);
    db.forEachRowAsStored([](const SQLite::Statement&) { ADD_FAILURE() << "visited a row of an empty history"; });
}

}  // namespace
}  // namespace drawfollow
