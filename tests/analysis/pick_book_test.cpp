// 预测记录: a pick recorded before each draw is the backtest's choice for that draw, scored
// as the backtest scores it once the draw is stored, and pending again when it is deleted.
#include "analysis/pick_book.h"
#include "analysis/pick_panel.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

SearchPanel panelFor(const DerivationSettings& settings, Kind result, TallyScope scope) {
    SearchPanel panel;
    panel.options.codes = settings.codes;
    panel.options.zodiacOffset = settings.codes.offset();
    panel.options.segmentOffset = settings.segmentOffset;
    panel.options.ticked[0] = true;
    panel.options.resultKind = result;
    panel.options.scope = scope;
    return panel;
}

struct Agreement {
    Kind result;
    TallyScope scope;
    PickMode mode;
    bool combination;
};

class PicksAgreeWithTheBacktest : public ::testing::TestWithParam<Agreement> {};

// A pick is recorded before each of the last 40 draws is stored; the book then holds what
// the backtest finds for those 40 targets, figure for figure.
TEST_P(PicksAgreeWithTheBacktest, DrawByDraw) {
    const Agreement a = GetParam();
    const std::vector<DrawInput> draws = test::seededDraws(260, 17, 2019100);
    const std::vector<DrawInput> early(draws.begin(), draws.end() - 40);
    test::SearchHistory h(early, test::settingsFor(2019));
    SearchPanel panel = panelFor(h.settings(), a.result, a.scope);
    panel.combination = a.combination;
    panel.options.combinationSize = 1;
    for (auto d = draws.end() - 40; d != draws.end(); ++d) {
        const ScoredPick pick = recordPick(h.db(), panel, 4, a.mode, "2026-12-08 12:49:00");
        EXPECT_EQ(pick.record.issue, d->issue);
        EXPECT_FALSE(pick.score);
        h.db().append(*d, h.settings());
    }
    const BacktestResult backtest = Backtest(h.db(), panel).run({40, 4, a.mode});
    ASSERT_EQ(backtest.targets.size(), 40u);
    const PickBook book = readPickBook(h.db());
    ASSERT_EQ(book.picks.size(), 40u);
    for (size_t i = 0; i < 40; ++i) {
        const ScoredPick& pick = book.picks[39 - i];  // newest first
        const BacktestTarget& target = backtest.targets[i];
        ASSERT_EQ(pick.record.issue, target.issue);
        EXPECT_EQ(pick.record.values, target.chosen) << target.issue;
        EXPECT_EQ(pick.valuesLine(), target.chosenLine());
        ASSERT_TRUE(pick.score);
        EXPECT_EQ(pick.score->hit, target.hit) << target.issue;
        EXPECT_DOUBLE_EQ(pick.score->odds.mean, target.expected);
        EXPECT_DOUBLE_EQ(pick.score->odds.variance, target.variance);
    }
    const PickTotals& totals = book.totals(a.mode);
    EXPECT_EQ(totals.scored, 40);
    EXPECT_EQ(totals.observed, backtest.observed);
    EXPECT_NEAR(totals.expected, backtest.expected, 1e-9);
    EXPECT_NEAR(totals.z.value(), backtest.z.value(), 1e-9);
    EXPECT_NEAR(totals.p.value(), backtest.p.value(), 1e-9);
    EXPECT_EQ(book.totals(a.mode == PickMode::Top ? PickMode::Exclude : PickMode::Top).scored, 0);
}

INSTANTIATE_TEST_SUITE_P(Panels, PicksAgreeWithTheBacktest,
                         ::testing::Values(Agreement{Kind::Number, TallyScope::All, PickMode::Top, false},
                                           Agreement{Kind::Zodiac, TallyScope::Special, PickMode::Exclude, false},
                                           Agreement{Kind::Tail, TallyScope::Regular, PickMode::Top, true}));

class PickBookTest : public ::testing::Test {
protected:
    test::SearchHistory h{test::seededDraws(120, 3, 2020001), test::settingsFor(2020)};
    SearchPanel panel = panelFor(h.settings(), Kind::Number, TallyScope::All);
};

TEST_F(PickBookTest, ADeletedDrawMakesItsPickPendingAgain) {
    const ScoredPick pending = recordPick(h.db(), panel, 5, PickMode::Top, "2026-12-08 12:49:00");
    h.db().append({pending.record.issue, {1, 2, 3, 4, 5, 6, 7, 8}}, h.settings());
    recordPick(h.db(), panel, 3, PickMode::Exclude, "2026-12-08 12:50:00");
    PickBook book = readPickBook(h.db());
    ASSERT_EQ(book.picks.size(), 2u);
    EXPECT_FALSE(book.picks[0].score);  // the pending one first
    EXPECT_TRUE(book.picks[1].score);
    EXPECT_EQ(book.top.scored, 1);

    ASSERT_TRUE(h.db().deleteNewest());
    book = readPickBook(h.db());
    EXPECT_FALSE(book.picks[0].score);
    EXPECT_FALSE(book.picks[1].score);
    EXPECT_EQ(book.top.scored, 0);
    EXPECT_FALSE(book.top.z);
    EXPECT_NE(book.top.verdict.find("还没有"), std::string::npos) << book.top.verdict;
}

// Chosen on a snapshot off the connection's thread, then stored: the record recordPick
// would make; refused with nothing stored once another program has changed the file; and
// scored from the snapshot's draws as from the file.
TEST_F(PickBookTest, APickChosenOnASnapshotIsStoredOnlyOnThatHistory) {
    const HistorySnapshot history = HistorySnapshot::read(h.db());
    const std::vector<int> values = choosePick(history, panel, 5, PickMode::Top);
    const ScoredPick stored = storePick(h.db(), history, panel, 5, PickMode::Top, values, "2026-12-08 12:49:00");
    const ScoredPick direct = recordPick(h.db(), panel, 5, PickMode::Top, "2026-12-08 12:49:00");
    EXPECT_EQ(stored.record.values, direct.record.values);
    EXPECT_EQ(stored.record.issue, direct.record.issue);
    EXPECT_EQ(stored.record.panel, direct.record.panel);

    const HistorySnapshot before = HistorySnapshot::read(h.db());
    const std::vector<int> late = choosePick(before, panel, 5, PickMode::Top);
    HistoryDb(h.db().path()).append({stored.record.issue, {1, 2, 3, 4, 5, 6, 7, 8}}, h.settings());
    EXPECT_THROW(storePick(h.db(), before, panel, 5, PickMode::Top, late, "x"), StoreError);
    EXPECT_EQ(readPicks(h.db()).size(), 2u);

    const PickBook fromFile = readPickBook(h.db());
    const PickBook fromSnapshot = scorePickBook(readPicks(h.db()), HistorySnapshot::read(h.db()).draws());
    EXPECT_EQ(pickBookTable(fromSnapshot), pickBookTable(fromFile));
    EXPECT_EQ(fromSnapshot.top.scored, 2);
}

TEST_F(PickBookTest, RefusesAPanelWithoutHitsAndTouchesNothing) {
    SearchPanel none = panel;
    none.firstIssue = "2020119";  // a range of one row: the base's number is not followed in it
    none.options.ticked.fill(true);
    none.options.freePositions = false;
    EXPECT_THROW(recordPick(h.db(), none, 5, PickMode::Top, "x"), StoreError);
    EXPECT_THROW(recordPick(h.db(), panel, 0, PickMode::Top, "x"), StoreError);
    EXPECT_TRUE(readPickBook(h.db()).picks.empty());
}

TEST_F(PickBookTest, ScoresARecordWithItsOwnCodeTable) {
    // A pick of zodiac codes made under the table of 2020, scored after the history was
    // derived again under another: the codes keep the animals they meant.
    SearchPanel zodiac = panelFor(h.settings(), Kind::Zodiac, TallyScope::All);
    const ScoredPick pick = recordPick(h.db(), zodiac, 3, PickMode::Top, "2026-12-08 12:49:00");
    h.db().append({pick.record.issue, {1, 2, 3, 4, 5, 6, 7, 8}}, h.settings());
    const ChosenScore before = *readPickBook(h.db()).picks[0].score;
    h.db().rederiveAll(test::settingsFor(2020, 1, 1, true));
    const ChosenScore after = *readPickBook(h.db()).picks[0].score;
    EXPECT_EQ(after.hit, before.hit);
    EXPECT_DOUBLE_EQ(after.odds.mean, before.odds.mean);
}

TEST(PickPanel, ReadsBackWhatItWrites) {
    SearchPanel panel;
    panel.options.searchKind = Kind::Tail;
    panel.options.resultKind = Kind::Segment;
    panel.options.scope = TallyScope::Regular;
    panel.options.freePositions = false;
    panel.options.countSpecial = false;
    panel.options.previousIssue = false;
    panel.options.gap = 4;
    panel.options.ticked = {true, false, false, true, false, false, false, true};
    panel.options.combinationSize = 3;
    panel.options.combinationRegularOnly = true;
    panel.options.codes = ZodiacCodeTable::build(true, 0, 2024);
    panel.options.zodiacOffset = 0;
    panel.options.segmentOffset = 0;
    panel.firstIssue = " 2020;first=9 ";
    const std::optional<SearchPanel> read = pickPanelOf(pickPanelText(panel), true);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->combination);
    EXPECT_EQ(pickPanelText(*read), pickPanelText(panel));
    EXPECT_EQ(read->firstIssue, panel.firstIssue);
    EXPECT_EQ(read->options.codes.code(3), panel.options.codes.code(3));
    EXPECT_EQ(read->options.ticked, panel.options.ticked);

    panel.firstIssue.reset();
    EXPECT_FALSE(pickPanelOf(pickPanelText(panel), false)->firstIssue);
}

TEST(PickPanel, RefusesTextItDidNotWrite) {
    SearchPanel panel;
    panel.options.codes = ZodiacCodeTable::build(false, 1, 2020);
    const std::string good = pickPanelText(panel);
    EXPECT_TRUE(pickPanelOf(good, false));
    for (const std::string& bad :
         {std::string(""), good.substr(0, 20), "kind=9" + good.substr(6), good + ";gap", std::string("x")})
        EXPECT_FALSE(pickPanelOf(bad, false)) << bad;
}

}  // namespace
}  // namespace drawfollow
