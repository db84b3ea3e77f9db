// What a search writes: each row at most once, nothing when it is repeated, nothing at all
// when it fails, and unusual stored fields read and copied as the statement-by-statement
// sequence reads and copies them.
#include "literal_search.h"
#include "search_fixture.h"

#include "store/draw_numbers.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::SearchHistory;
using test::tick;

// Counts the rows the UPDATEs of Lishi write, through a temporary trigger.
class LishiWrites {
public:
    explicit LishiWrites(HistoryDb& db) : db_(db) {
        db.connection().exec(
            "CREATE TEMP TABLE lishi_writes (n INTEGER); INSERT INTO lishi_writes VALUES (0);"
            "CREATE TEMP TRIGGER count_lishi_writes AFTER UPDATE ON main.Lishi "
            "BEGIN UPDATE lishi_writes SET n = n + 1; END;");
    }

    int take() {
        const int n = db_.connection().execAndGet("SELECT n FROM lishi_writes").getInt();
        db_.connection().exec("UPDATE lishi_writes SET n = 0");
        return n;
    }

private:
    HistoryDb& db_;
};

class SearchWrites : public ::testing::TestWithParam<bool> {  // free or fixed positions
protected:
    SearchInputs backSearch(int gap) const {
        SearchInputs in = h.inputs();
        in.searchKind = Kind::Zodiac;
        in.freePositions = GetParam();
        in.previousIssue = false;
        in.gap = gap;
        in.values = PositionValues{};
        for (int p = 0; p < kPositions; ++p)
            in.values->at(p) = h.rows()[20].own[index(Kind::Zodiac)][p];
        tick(in, {1, 2, 3, 4, 5, 6, 7, 8});
        return in;
    }

    SearchHistory h{test::seededDraws(60, 9, 2020101), test::settingsFor(2020)};
};

TEST_P(SearchWrites, ANewGapWritesEachRowOnceAndARepeatWritesNothing) {
    ASSERT_TRUE(runFollowSearch(h.db(), backSearch(2)).ran);
    LishiWrites writes(h.db());

    ASSERT_TRUE(runFollowSearch(h.db(), backSearch(3)).ran);
    const int rows = static_cast<int>(h.rows().size());
    const int written = writes.take();
    EXPECT_LE(written, rows);      // the copies and the counter in one write
    EXPECT_GE(written, rows - 3);  // only the first rows hold no earlier draw either way

    const int changesBefore = h.db().connection().getTotalChanges();
    ASSERT_TRUE(runFollowSearch(h.db(), backSearch(3)).ran);
    EXPECT_EQ(h.db().connection().getTotalChanges(), changesBefore);  // Carcu is left alone too
    EXPECT_EQ(writes.take(), 0);
}

TEST_P(SearchWrites, AfterANewDrawTheSameSearchWritesOnlyItsRow) {
    ASSERT_TRUE(runFollowSearch(h.db(), backSearch(3)).ran);
    LishiWrites writes(h.db());
    h.db().append(test::draw(h.rows().back().issue + 1, {1, 2, 3, 4, 5, 6, 7, 8}), h.settings());
    writes.take();

    ASSERT_TRUE(runFollowSearch(h.db(), backSearch(3)).ran);
    EXPECT_EQ(writes.take(), 1);
}

// A repeat on an unchanged history finds its fields recorded and reads no row; a change of
// Lishi since, through plain SQL or past the triggers, has it compare every row again.
TEST_P(SearchWrites, ARepeatAfterAnotherProgramChangedAFieldPutsItBack) {
    const SearchInputs in = backSearch(3);
    ASSERT_TRUE(runFollowSearch(h.db(), in).ran);
    const auto kept = test::tableDump(h.db());
    EXPECT_TRUE(keptSearchFields(h.db().connection()).has_value());
    const std::string changeOneCounter =
        "UPDATE Lishi SET intTh = 99 WHERE SQQH = " + std::to_string(h.rows()[30].issue);
    SQLite::Database(h.db().path().string(), SQLite::OPEN_READWRITE).exec(changeOneCounter);
    EXPECT_FALSE(keptSearchFields(h.db().connection()).has_value());
    ASSERT_TRUE(runFollowSearch(h.db(), in).ran);
    EXPECT_EQ(test::firstDifference(test::tableDump(h.db()), kept), "");

    SQLite::Database(h.db().path().string(), SQLite::OPEN_READWRITE)
        .exec("DROP TRIGGER SearchFieldsKeptUpdate; " + changeOneCounter);
    HistoryDb reopened(h.db().path());
    ASSERT_TRUE(runFollowSearch(reopened, in).ran);
    EXPECT_EQ(test::firstDifference(test::tableDump(reopened), kept), "");
}

// Lists the program never writes itself (NULL, a lower-case letter, a list shorter than the
// cut, characters of several bytes) do not change an answer: the searches read the draws'
// own values and derive the lists from them, as the rows were derived.
TEST_P(SearchWrites, ListsTheProgramNeverWroteDoNotChangeTheAnswer) {
    SearchHistory literal{test::seededDraws(60, 9, 2020101), test::settingsFor(2020)};
    const auto issue = [this](int row) { return std::to_string(h.rows()[row].issue); };
    h.db().connection().exec("UPDATE Lishi SET txtHisLst = NULL, txtHisLstSx = NULL WHERE SQQH IN (" + issue(7) + ", " +
                             issue(30) +
                             ");"
                             "UPDATE Lishi SET txtHisLstSx = lower(txtHisLstSx) WHERE SQQH IN (" +
                             issue(11) + ", " + issue(40) +
                             ");"
                             "UPDATE Lishi SET txtHisLstSx = '1X' WHERE SQQH = " +
                             issue(15) +
                             ";"
                             "UPDATE Lishi SET txtHisLstSx = txtHisLstSx || '鼠牛虎兔' WHERE SQQH IN (" +
                             issue(21) + ", " + issue(45) + ");");

    for (bool previousIssue : {true, false}) {
        for (int gap : {1, 3, 4}) {
            for (bool countSpecial : {true, false}) {
                SearchInputs in = backSearch(gap);
                in.previousIssue = previousIssue;
                in.countSpecial = countSpecial;
                in.combinationSize = 3;
                const std::string trace = std::string(previousIssue ? "上期" : "前期") + " gap " + std::to_string(gap) +
                                          (countSpecial ? "" : " without the special number");
                for (bool follow : {true, false}) {
                    const SearchResult got = follow ? runFollowSearch(h.db(), in) : runCombinationSearch(h.db(), in);
                    const SearchResult expected = follow ? test::runLiteralFollowSearch(literal.db(), in)
                                                         : test::runLiteralCombinationSearch(literal.db(), in);
                    ASSERT_TRUE(got.ran) << got.message;
                    EXPECT_EQ(got.hits, expected.hits) << trace;
                    EXPECT_EQ(test::shownTexts(got.detail), test::shownTexts(expected.detail)) << trace;
                    EXPECT_EQ(test::shownTexts(got.tally), test::shownTexts(expected.tally)) << trace;
                }
            }
        }
    }
}

// After the oldest draws were deleted, the first row still lists the draw before it; the
// searches read that draw as the statements read the first row's lists, and leave the same
// fields behind.
TEST_P(SearchWrites, AHistoryWithoutItsOldestDrawsStillListsTheDrawBeforeItsFirst) {
    SearchHistory literal{test::seededDraws(60, 9, 2020101), test::settingsFor(2020)};
    const std::string drop = "DELETE FROM Lishi WHERE SQQH < " + std::to_string(h.rows()[5].issue);
    h.db().connection().exec(drop);
    literal.db().connection().exec(drop);
    for (bool previousIssue : {true, false}) {
        for (bool countSpecial : {true, false}) {
            SearchInputs in = backSearch(2);
            in.firstIssue = std::to_string(h.rows()[5].issue);
            in.previousIssue = previousIssue;
            in.countSpecial = countSpecial;
            in.values->at(0) = h.rows()[4].own[index(Kind::Zodiac)][0];  // the draw before the first
            in.ticked = {true, false, false, false, false, false, false, false};
            for (bool follow : {true, false}) {
                const SearchResult got = follow ? runFollowSearch(h.db(), in) : runCombinationSearch(h.db(), in);
                const SearchResult expected = follow ? test::runLiteralFollowSearch(literal.db(), in)
                                                     : test::runLiteralCombinationSearch(literal.db(), in);
                ASSERT_TRUE(got.ran) << got.message;
                EXPECT_EQ(got.hits, expected.hits);
                EXPECT_EQ(test::shownTexts(got.detail), test::shownTexts(expected.detail));
                EXPECT_EQ(test::firstDifference(test::tableDump(h.db()), test::tableDump(literal.db())), "");
            }
        }
    }
}

TEST_P(SearchWrites, AFailureAfterTheCopiesLeavesTheTablesAsTheyWere) {
    ASSERT_TRUE(runFollowSearch(h.db(), backSearch(2)).ran);
    const auto before = test::tableDump(h.db());
    h.db().connection().exec(
        "CREATE TEMP TRIGGER refuse_tally BEFORE INSERT ON main.Carcu BEGIN SELECT RAISE(ABORT, 'disk full'); END;");

    SearchInputs in = backSearch(3);
    in.resultKind = Kind::Tail;  // Carcu must be rewritten: it holds the 30 numbers
    const SearchResult failed = runFollowSearch(h.db(), in);
    EXPECT_FALSE(failed.ran);
    EXPECT_NE(failed.message.find("disk full"), std::string::npos) << failed.message;
    EXPECT_TRUE(failed.hits.empty());
    EXPECT_EQ(test::firstDifference(test::tableDump(h.db()), before), "");

    h.db().connection().exec("DROP TRIGGER refuse_tally");
    EXPECT_TRUE(runFollowSearch(h.db(), in).ran);
    EXPECT_NE(test::firstDifference(test::tableDump(h.db()), before), "");
}

INSTANTIATE_TEST_SUITE_P(Positions, SearchWrites, ::testing::Values(true, false),
                         [](const auto& info) { return std::string(info.param ? "Free" : "Fixed"); });

}  // namespace
}  // namespace drawfollow
