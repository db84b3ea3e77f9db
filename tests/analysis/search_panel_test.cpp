// From the panel as the user left it to the inputs of a search, or to why it must not run.
#include "analysis/search_panel.h"

#include <gtest/gtest.h>

#include <vector>

namespace drawfollow {
namespace {

// Twelve draws across a year that ended at 153; a draw's number values are its sequence
// and the next seven, so that every base is recognisable by its first value.
const std::vector<int> kIssues = {2012145, 2012146, 2012147, 2012148, 2012149, 2012150,
                                  2012151, 2012152, 2012153, 2013001, 2013002, 2013003};

StoredDraw drawOf(int issue) {
    StoredDraw d;
    d.issue = issue;
    for (int p = 0; p < kPositions; ++p)
        d.own[index(Kind::Number)][p] = static_cast<int16_t>(issue % 1000 + p);
    return d;
}

struct Built {
    PanelSearch search;
    std::vector<size_t> drawsRead;
};

Built build(const SearchPanel& panel, std::span<const int> issues = kIssues) {
    Built built;
    built.search = buildSearchInputs(panel, {issues, [&](size_t i) {
                                                 built.drawsRead.push_back(i);
                                                 return drawOf(issues[i]);
                                             }});
    return built;
}

struct PanelCase {
    const char* name;
    void (*set)(SearchPanel&);
    const char* refusal;  // a part of the refusal; empty: the search may run
    int firstValue;       // the base's value at position 1
    const char* first;
    const char* last;
};

class SearchPanelInputs : public ::testing::TestWithParam<PanelCase> {};

TEST_P(SearchPanelInputs, TakeTheBaseOfTheSourceAndTheRangeOrRefuse) {
    const PanelCase& c = GetParam();
    SearchPanel panel;
    panel.options.ticked[0] = true;
    c.set(panel);
    const Built built = build(panel);
    const PanelSearch& s = built.search;
    if (*c.refusal) {
        EXPECT_FALSE(s.ready());
        EXPECT_NE(s.refusal.find(c.refusal), std::string::npos) << s.refusal;
        EXPECT_EQ(s.refusal.substr(s.refusal.size() - std::string("检索未进行。").size()), "检索未进行。");
        return;
    }
    ASSERT_TRUE(s.ready()) << s.refusal;
    ASSERT_TRUE(s.inputs.values);
    EXPECT_EQ((*s.inputs.values)[0], c.firstValue);
    EXPECT_EQ(s.inputs.firstIssue, c.first);
    EXPECT_EQ(s.inputs.lastIssue, c.last);
    EXPECT_LE(built.drawsRead.size(), 1u);  // only the base draw is read
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchPanelInputs,
    ::testing::Values(PanelCase{"NewestDraw", [](SearchPanel&) {}, "", 3, "2012146", "2013003"},
                      PanelCase{"ThirdNewestDraw",
                                [](SearchPanel& p) {
                                    p.options.previousIssue = false;
                                    p.options.gap = 3;
                                },
                                "", 1, "2012148", "2013003"},
                      PanelCase{"VerifiedIssue",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013002";
                                },
                                "", 1, "2012146", "2013003"},
                      PanelCase{"VerifiedIssueOnlyBefore",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013001";
                                    p.onlyBeforeVerified = true;
                                },
                                "", 153, "2012146", "2012153"},
                      PanelCase{"TypedRangeWinsOverOnlyBefore",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013001";
                                    p.onlyBeforeVerified = true;
                                    p.firstIssue = " 2012150";
                                    p.lastIssue = "2013002";
                                },
                                "", 153, " 2012150", "2013002"},
                      PanelCase{"OnlyBeforeIgnoredOffTheVerificationTab",
                                [](SearchPanel& p) {
                                    p.verifiedIssue = "2013001";
                                    p.onlyBeforeVerified = true;
                                },
                                "", 3, "2012146", "2013003"},
                      PanelCase{"ManualValuesOfTheTickedPositions",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Manual;
                                    p.manualValues[0] = -7;
                                },
                                "", -7, "2012146", "2013003"},
                      PanelCase{"ManualTickedPositionWithoutAValue",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Manual;
                                    p.manualValues[0] = 5;
                                    p.options.ticked[1] = true;
                                },
                                "手动输入号的第 2 位（平2码）没有数值。", 0, "", ""},
                      PanelCase{"CombinationNeedsTheWholePool",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Manual;
                                    p.combination = true;
                                    for (int i = 0; i < kRegularPositions; ++i)
                                        p.manualValues[i] = i;
                                },
                                "第 8 位（特码）", 0, "", ""},
                      PanelCase{"RegularPoolLeavesTheSpecialNumberOut",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Manual;
                                    p.combination = true;
                                    p.options.combinationRegularOnly = true;
                                    for (int i = 0; i < kRegularPositions; ++i)
                                        p.manualValues[i] = i + 1;
                                },
                                "", 1, "2012146", "2013003"},
                      PanelCase{"GapLongerThanTheHistory",
                                [](SearchPanel& p) {
                                    p.options.previousIssue = false;
                                    p.options.gap = 9;
                                    p.verifiedIssue = "2012150";
                                    p.source = BaseSource::Verification;
                                },
                                "第 2012150 期之前只存有 5 期开奖号码，不足前 9 期之需。", 0, "", ""},
                      PanelCase{"GapZeroInItsOwnWords",
                                [](SearchPanel& p) {
                                    p.options.previousIssue = false;
                                    p.options.gap = 0;
                                },
                                "前期间隔 0 无效，请输入 1～9 的期数", 0, "", ""},
                      PanelCase{"VerifiedIssueNotAnIssue",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013x01";
                                    p.firstIssue = "bad";  // the base is named first
                                },
                                "验证期号“2013x01”无效", 0, "", ""},
                      PanelCase{"RangeBoxNotANumber", [](SearchPanel& p) { p.lastIssue = "2013O03"; },
                                "截止期号“2013O03”不是数字", 0, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchPanelInputs, CarryTheOptionsAsSet) {
    SearchPanel panel;
    panel.options.searchKind = Kind::Tail;
    panel.options.resultKind = Kind::Zodiac;
    panel.options.scope = TallyScope::Special;
    panel.options.combinationSize = 5;
    const SearchInputs in = build(panel).search.inputs;
    EXPECT_EQ(in.searchKind, Kind::Tail);
    EXPECT_EQ(in.resultKind, Kind::Zodiac);
    EXPECT_EQ(in.scope, TallyScope::Special);
    EXPECT_EQ(in.combinationSize, 5);
}

TEST(SearchPanelInputs, OnAnEmptyHistoryNeedATypedRangeAndATypedBase) {
    SearchPanel panel;
    EXPECT_NE(build(panel, {}).search.refusal.find("无法确定检索范围"), std::string::npos);
    panel.firstIssue = "2013001";
    panel.lastIssue = "2013100";
    EXPECT_EQ(build(panel, {}).search.refusal, "历史号码为空，没有可作检索依据的开奖号码。检索未进行。");
    panel.source = BaseSource::Manual;
    panel.options.ticked = {};
    const Built manual = build(panel, {});
    EXPECT_TRUE(manual.search.ready()) << manual.search.refusal;
    EXPECT_TRUE(manual.drawsRead.empty());
}

TEST(SearchPanelInputs, AreRefusedByTheSearchsOwnGuardAlike) {
    SearchPanel panel;
    panel.firstIssue = "20x3";
    const PanelSearch built = build(panel).search;
    EXPECT_EQ(built.refusal, searchRefusal(built.inputs));
}

}  // namespace
}  // namespace drawfollow
