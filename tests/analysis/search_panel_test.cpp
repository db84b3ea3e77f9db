// From the panel as the user left it to the inputs of a search, or to why it must not run.
#include "analysis/search_panel.h"

#include <gtest/gtest.h>

#include <vector>

namespace drawfollow {
namespace {

// Twelve draws across a year that ended at 153; a draw's number values are its sequence
// and the next seven, so that every base shows by its first value.
const std::vector<int> kIssues = {2012145, 2012146, 2012147, 2012148, 2012149, 2012150,
                                  2012151, 2012152, 2012153, 2013001, 2013002, 2013003};

// "first value first..last" when the search may run, else the refusal; and how many draws
// the builder read (only the base draw may be read).
std::pair<std::string, size_t> outcome(const SearchPanel& panel, std::span<const int> issues = kIssues) {
    size_t reads = 0;
    const PanelSearch s = buildSearchInputs(panel, {issues, [&](size_t i) {
                                                        ++reads;
                                                        StoredDraw d{issues[i], {}};
                                                        for (int p = 0; p < kPositions; ++p)
                                                            d.own[index(Kind::Number)][p] = issues[i] % 1000 + p;
                                                        return d;
                                                    }});
    if (!s.ready())
        return {s.refusal, reads};
    return {std::to_string(s.inputs.values->at(0)) + " " + s.inputs.firstIssue + ".." + s.inputs.lastIssue, reads};
}

struct PanelCase {
    const char* name;
    void (*set)(SearchPanel&);
    const char* expected;
};

class SearchPanelInputs : public ::testing::TestWithParam<PanelCase> {};

TEST_P(SearchPanelInputs, TakeTheSourcesBaseAndTheRangeOrSayWhyNot) {
    SearchPanel panel;
    panel.options.ticked[0] = true;
    GetParam().set(panel);
    const auto [got, reads] = outcome(panel);
    EXPECT_EQ(got, GetParam().expected);
    EXPECT_LE(reads, 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SearchPanelInputs,
    ::testing::Values(PanelCase{"NewestDraw", [](SearchPanel&) {}, "3 2012146..2013003"},
                      PanelCase{"ThirdNewestDraw",
                                [](SearchPanel& p) { p.options = {.previousIssue = false, .gap = 3}; },
                                "1 2012148..2013003"},
                      PanelCase{"VerifiedIssue",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013002";
                                },
                                "1 2012146..2013003"},
                      PanelCase{"OnlyBeforeTheVerifiedIssue",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013001";
                                    p.onlyBeforeVerified = true;
                                },
                                "153 2012146..2012153"},
                      PanelCase{"TypedRangeWins",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013001";
                                    p.onlyBeforeVerified = true;
                                    p.firstIssue = " 2012150";
                                    p.lastIssue = "2013002";
                                },
                                "153  2012150..2013002"},
                      PanelCase{"ManualTickedPositionWithoutAValue",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Manual;
                                    p.manualValues[0] = 5;
                                    p.options.ticked[1] = true;
                                },
                                "手动输入号的第 2 位（平2码）没有数值。检索未进行。"},
                      PanelCase{"RegularPoolLeavesTheSpecialNumberOut",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Manual;
                                    p.combination = true;
                                    p.options.combinationRegularOnly = true;
                                    p.manualValues = {-7, 2, 3, 4, 5, 6, 7};
                                },
                                "-7 2012146..2013003"},
                      PanelCase{"GapZeroInItsOwnWords",
                                [](SearchPanel& p) { p.options = {.previousIssue = false, .gap = 0}; },
                                "前期间隔 0 无效，请输入 1～9 的期数，检索未进行。"},
                      PanelCase{"TheBaseBeforeTheRange",
                                [](SearchPanel& p) {
                                    p.source = BaseSource::Verification;
                                    p.verifiedIssue = "2013x01";
                                    p.firstIssue = "?";
                                },
                                "验证期号“2013x01”无效：应为七位数字，例如 2026001。检索未进行。"},
                      PanelCase{"RangeBoxNotANumber", [](SearchPanel& p) { p.lastIssue = "2013O03"; },
                                "截止期号“2013O03”不是数字，检索未进行。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchPanelInputs, OnAnEmptyHistoryNeedATypedRangeAndATypedBase) {
    SearchPanel panel;
    EXPECT_NE(outcome(panel, {}).first.find("无法确定检索范围"), std::string::npos);
    panel.firstIssue = "2013001";
    panel.lastIssue = "2013100";
    EXPECT_EQ(outcome(panel, {}).first, "历史号码为空，没有可作检索依据的开奖号码。检索未进行。");
    panel.source = BaseSource::Manual;
    panel.options.ticked = {};
    EXPECT_EQ(outcome(panel, {}), std::make_pair(std::string("0 2013001..2013100"), size_t{0}));
}

}  // namespace
}  // namespace drawfollow
