// Every row carries the draw before it and the one before that, across batches and
// single appends alike.
#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

void expectChained(const std::vector<DrawRow>& rows, bool backLists) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const DrawRow& r = rows[i];
        SCOPED_TRACE(r.issue);
        EXPECT_EQ(r.nextIssue, r.issue + 1);
        EXPECT_EQ(r.issueText, issueText(r.issue));
        EXPECT_EQ(r.previous, i >= 1 ? rows[i - 1].own : DrawValues{});
        EXPECT_EQ(r.back, i >= 2 ? rows[i - 2].own : DrawValues{});
        EXPECT_EQ(r.previousLists, i >= 1 ? listsOf(rows[i - 1].own) : DrawLists{});
        EXPECT_EQ(r.backLists, backLists && i >= 2 ? listsOf(rows[i - 2].own) : DrawLists{});
    }
}

TEST(RowChain, HoldsAcrossABatchAppendedToAStoredHistory) {
    test::TempDir dir;
    HistoryDb db(dir / HistoryDb::kFileName);
    const auto draws = test::seededDraws(400, 11, 2013001, 154);
    const auto settings = test::settingsFor(2013);
    db.replaceAll(std::span(draws).first(150), settings);
    db.append(draws[150], settings);
    db.appendBatch(std::span(draws).subspan(151), settings);
    const auto rows = test::everyRow(db);
    ASSERT_EQ(rows.size(), draws.size());
    for (size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(rows[i].numbers(), draws[i].numbers);
    expectChained(rows, false);
}

TEST(RowChain, RebuildAlsoFillsTheListsOfTheDrawTwoBack) {
    test::TempDir dir;
    HistoryDb db(dir / HistoryDb::kFileName);
    db.replaceAll(test::seededDraws(60), test::settingsFor(2013), true);
    expectChained(test::everyRow(db), true);
}

}  // namespace
}  // namespace drawfollow
