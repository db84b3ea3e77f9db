// Random panel states over seeded histories: the searches must report exactly what a
// direct evaluation of their meaning gives, and leave the tables exactly as the
// statement-by-statement sequence leaves them, search after search (stale scratch
// fields included).
#include "analysis/hit_tally.h"
#include "analysis/search_marking.h"
#include "analysis/tally_rules.h"

#include "brute_force.h"
#include "literal_search.h"
#include "search_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <stdexcept>

namespace drawfollow {
namespace {

using namespace test;

struct HistoryConfig {
    int zodiacOffset;
    int segmentOffset;
    bool sequential;
    uint32_t seed;
};

class RandomPanel {
public:
    RandomPanel(uint32_t seed, const SearchHistory& history) : rng_(seed), history_(history) {}

    SearchInputs next() {
        const auto& rows = history_.rows();
        SearchInputs in = history_.inputs();
        in.searchKind = kAllKinds[pick(kKinds)];
        in.resultKind = kAllKinds[pick(kKinds)];
        in.scope = static_cast<TallyScope>(pick(3));
        in.freePositions = pick(2);
        in.countSpecial = pick(2);
        in.previousIssue = pick(2);
        in.gap = 1 + pick(9);

        std::array<int, kPositions> order = {1, 2, 3, 4, 5, 6, 7, 8};
        std::shuffle(order.begin(), order.end(), rng_);
        const int ticks = pick(kPositions + 1);
        for (int i = 0; i < ticks; ++i)
            in.ticked[order[i] - 1] = true;

        // Mostly a stored draw's values, so that hits are common; sometimes typed values
        // with repeats, sometimes one that no counter holds.
        const auto& base = rows[pick(static_cast<int>(rows.size()))].own[index(in.searchKind)];
        PositionValues values{};
        for (int p = 0; p < kPositions; ++p)
            values[p] = base[p];
        if (pick(4) == 0)
            values[pick(kPositions)] = values[pick(kPositions)];
        if (pick(12) == 0)
            values[pick(kPositions)] = pick(2) ? 99 : -1;
        in.values = values;

        const int first = rows[pick(static_cast<int>(rows.size()) / 2)].issue;
        const int last = rows[rows.size() / 2 + pick(static_cast<int>(rows.size()) / 2)].issue;
        const bool reversed = pick(15) == 0;
        in.firstIssue = std::to_string(reversed ? last : first);
        in.lastIssue = std::to_string(reversed ? first : last);

        in.combinationSize = pick(12) == 0 ? 7 * pick(2) : 1 + pick(6);
        in.combinationRegularOnly = pick(2);
        return in;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    std::mt19937 rng_;
    const SearchHistory& history_;
};

std::string describe(const SearchInputs& in) {
    std::ostringstream s;
    s << "kind " << index(in.searchKind) << " result " << index(in.resultKind) << " scope "
      << static_cast<int>(in.scope) << (in.freePositions ? " free" : " fixed") << " special " << in.countSpecial
      << (in.previousIssue ? " 上期" : " 前期 N=") << (in.previousIssue ? "" : std::to_string(in.gap)) << " ticked";
    for (int p = 0; p < kPositions; ++p)
        if (in.ticked[p])
            s << ' ' << p + 1;
    s << " values";
    for (int v : *in.values)
        s << ' ' << v;
    s << " range " << in.firstIssue << ".." << in.lastIssue << " size " << in.combinationSize
      << (in.combinationRegularOnly ? " 平码" : " 平特");
    return s.str();
}

class SearchProperty : public ::testing::TestWithParam<HistoryConfig> {
protected:
    SearchProperty()
        : draws_(seededDraws(70, GetParam().seed, 2013001, 40)),
          settings_(settingsFor(2013, GetParam().zodiacOffset, GetParam().segmentOffset, GetParam().sequential)),
          product_(draws_, settings_),
          literal_(draws_, settings_) {}

    // The product and the literal sequence agree on everything, and both on the meaning.
    void check(const SearchInputs& in, const SearchResult& got, const SearchResult& literal,
               const std::vector<int>& expectedHits) {
        SCOPED_TRACE(describe(in));
        ASSERT_TRUE(got.ran) << got.message;
        EXPECT_EQ(got.hits, expectedHits);
        EXPECT_EQ(got.hits, literal.hits);
        EXPECT_EQ(shownTexts(got.detail), shownTexts(literal.detail));
        EXPECT_EQ(shownTexts(got.tally), shownTexts(literal.tally));
        EXPECT_EQ(firstDifference(tableDump(product_.db()), tableDump(literal_.db())), "");

        ASSERT_EQ(got.detail.size(), got.hits.size() + 1);
        for (size_t i = 0; i < got.hits.size(); ++i)
            EXPECT_EQ(cellTexts(got.detail[i + 1]), expectedDetailLine(product_.rows(), got.hits[i], in));
        const long long perRow = in.scope == TallyScope::All ? 8 : in.scope == TallyScope::Regular ? 7 : 1;
        EXPECT_EQ(shownTexts(got.tally), expectedTallyGrid(expectedTally(product_.rows(), got.hits, in),
                                                           perRow * static_cast<long long>(got.hits.size()), in));
    }

    std::vector<DrawInput> draws_;
    DerivationSettings settings_;
    SearchHistory product_;
    SearchHistory literal_;
};

TEST_P(SearchProperty, FollowSearchMeansWhatItSays) {
    RandomPanel panel(GetParam().seed, product_);
    for (int i = 0; i < 150; ++i) {
        const SearchInputs in = panel.next();
        const auto got = runFollowSearch(product_.db(), in);
        const auto literal = runLiteralFollowSearch(literal_.db(), in);
        check(in, got, literal, expectedFollowHits(product_.rows(), in));
        if (HasFailure())
            return;
    }
}

TEST_P(SearchProperty, CombinationSearchMeansWhatItSays) {
    RandomPanel panel(GetParam().seed + 1, product_);
    for (int i = 0; i < 80; ++i) {
        const SearchInputs in = panel.next();
        const auto got = runCombinationSearch(product_.db(), in);
        const auto literal = runLiteralCombinationSearch(literal_.db(), in);
        check(in, got, literal, expectedCombinationHits(product_.rows(), in));
        if (HasFailure())
            return;
    }
}

// Follow and combination searches in turn, each leaving its scratch state to the other.
TEST_P(SearchProperty, SearchesInTurnLeaveNothingBehind) {
    RandomPanel panel(GetParam().seed + 2, product_);
    for (int i = 0; i < 80; ++i) {
        const SearchInputs in = panel.next();
        const bool follow = i % 2 == 0;
        const auto got = follow ? runFollowSearch(product_.db(), in) : runCombinationSearch(product_.db(), in);
        const auto literal =
            follow ? runLiteralFollowSearch(literal_.db(), in) : runLiteralCombinationSearch(literal_.db(), in);
        check(in, got, literal,
              follow ? expectedFollowHits(product_.rows(), in) : expectedCombinationHits(product_.rows(), in));
        if (HasFailure())
            return;
    }
}

// The marking over a snapshot, as the backtest runs it over part of the history, selects
// what the whole search selects and tallies it alike, over the same random panels.
TEST_P(SearchProperty, TheMarkingOverASnapshotGivesTheSearchsHitsAndTally) {
    RandomPanel panel(GetParam().seed + 3, product_);
    const HistorySnapshot history = HistorySnapshot::read(product_.db());
    for (int i = 0; i < 120; ++i) {
        const SearchInputs in = panel.next();
        const bool combination = i % 2 == 1;
        SCOPED_TRACE(describe(in) + (combination ? " combination" : " follow"));
        const SearchResult searched =
            combination ? runCombinationSearch(product_.db(), in) : runFollowSearch(product_.db(), in);
        ASSERT_TRUE(searched.ran) << searched.message;
        const auto& issues = history.issues();
        const int first = std::stoi(in.firstIssue), last = std::stoi(in.lastIssue);
        const auto from = static_cast<size_t>(std::lower_bound(issues.begin(), issues.end(), first) - issues.begin());
        const auto to = static_cast<size_t>(std::upper_bound(issues.begin(), issues.end(), last) - issues.begin());
        const std::vector<size_t> hits = SearchMarking(in, combination).markedRows(history, from, std::max(from, to));
        if (in.freePositions) {
            // The backtest's table of every reference draw's occurrences marks alike; one of
            // another gap is refused, not read.
            const int back = in.previousIssue ? 1 : in.gap;
            const OccurrenceTable table(history, in.searchKind, back, in.countSpecial);
            EXPECT_EQ(SearchMarking(in, combination).markedRows(history, from, std::max(from, to), &table), hits);
            const OccurrenceTable otherGap(history, in.searchKind, back + 1, in.countSpecial);
            EXPECT_THROW(SearchMarking(in, combination).markedRows(history, from, to, &otherGap), std::logic_error);
        }
        std::vector<int> hitIssues;
        for (const size_t row : hits)
            hitIssues.push_back(issues[row]);
        EXPECT_EQ(hitIssues, searched.hits);
        const std::vector<TallyRow> tally = tallyOf(history, in, hits);
        ASSERT_EQ(tally.size() + 1, searched.tally.size());
        for (size_t line = 0; line < tally.size(); ++line) {
            EXPECT_EQ(TallyRules(in).valueText(tally[line].value), searched.tally[line + 1][1].text());
            EXPECT_EQ(std::to_string(tally[line].count), searched.tally[line + 1][2].text());
        }
        if (HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Histories, SearchProperty,
                         ::testing::Values(HistoryConfig{1, 1, false, 11}, HistoryConfig{0, 0, true, 23},
                                           HistoryConfig{1, 1, true, 37}, HistoryConfig{0, 1, false, 41}));

}  // namespace
}  // namespace drawfollow
