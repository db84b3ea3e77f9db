// drawfollow-cli search and combination: the options make the panel state, the output is
// the grids cell for cell.
#include "analysis/chance_baseline.h"
#include "analysis/search.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::runCli;

// The rows below the header as their texts, as the JSON lists them.
std::vector<std::vector<std::string>> bodyTexts(const CellGrid& grid) {
    std::vector<std::vector<std::string>> texts;
    for (size_t r = 1; r < grid.size(); ++r)
        texts.push_back(cellTexts(grid[r]));
    return texts;
}

class CliSearch : public ::testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<HistoryDb>(dir / HistoryDb::kFileName);
        db->replaceAll(test::seededDraws(120, 17, 2020101), test::settingsFor(2020));
        rows = test::everyRow(*db);
    }

    // The result the library gives for a panel state, to hold the command line against.
    SearchInputs inputs() const {
        SearchInputs in;
        in.codes = ZodiacCodeTable::build(false, 1, 2020);
        in.firstIssue = std::to_string(rows.front().issue + 1);
        in.lastIssue = std::to_string(rows.back().issue);
        return in;
    }

    static void expectSame(const nlohmann::json& json, const SearchResult& expected) {
        EXPECT_EQ(json.size(), 3u);
        EXPECT_EQ(json.at("hits").get<std::vector<int>>(), expected.hits);
        EXPECT_EQ(json.at("detail").get<std::vector<std::vector<std::string>>>(), bodyTexts(expected.detail.cells()));
        EXPECT_EQ(json.at("tally").get<std::vector<std::vector<std::string>>>(), bodyTexts(expected.tally));
    }

    nlohmann::json runJson(const std::string& arguments) {
        const auto run = runCli(dir.path(), arguments + " --json --code-table-year 2020");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return nlohmann::json::parse(run.output);
    }

    test::TempDir dir;
    std::unique_ptr<HistoryDb> db;
    std::vector<DrawRow> rows;
};

TEST_F(CliSearch, EveryPanelOptionReachesTheSearch) {
    SearchInputs in = inputs();
    in.searchKind = Kind::Zodiac;
    in.resultKind = Kind::Zodiac;
    in.scope = TallyScope::Special;
    in.freePositions = false;
    in.previousIssue = false;
    in.gap = 3;
    in.ticked = {true, false, false, true};
    // The zodiacs of a stored draw: the draw three later is a hit.
    const auto& zodiacs = rows[50].own[index(Kind::Zodiac)];
    in.values = PositionValues{zodiacs[0], 0, 0, zodiacs[3], 0, 0, 0, 0};
    const std::string values = std::to_string(zodiacs[0]) + ",0,0," + std::to_string(zodiacs[3]) + ",0,0,0,0";
    in.firstIssue = "2020105";
    in.lastIssue = "2021020";
    const nlohmann::json json =
        runJson("search --kind zodiac --result zodiac --scope special --fixed --back 3 --positions 1,4 --values " +
                values + " --first 2020105 --last 2021020");
    expectSame(json, runFollowSearch(*db, in));
    EXPECT_FALSE(json.at("hits").empty());
    EXPECT_EQ(json.at("tally")[0].size(), 4u);

    in.freePositions = true;
    in.countSpecial = false;
    in.previousIssue = true;
    in.combinationSize = 3;
    in.combinationRegularOnly = true;
    expectSame(runJson("combination --kind zodiac --result zodiac --scope special --free --count-special no "
                       "--values " +
                       values + " --first 2020105 --last 2021020 --size 3 --pool regular"),
               runCombinationSearch(*db, in));
}

TEST_F(CliSearch, WithoutValuesTheNewestDrawOrTheGapthNewestIsTheBase) {
    SearchInputs in = inputs();
    in.searchKind = Kind::Tail;
    in.resultKind = Kind::Head;
    in.ticked = {true, true, true};
    in.values = PositionValues{};
    for (int p = 0; p < kPositions; ++p)
        in.values->at(p) = rows.back().own[index(Kind::Tail)][p];
    expectSame(runJson("search --kind tail --result head --positions 1,2,3"), runFollowSearch(*db, in));

    in.previousIssue = false;
    in.gap = 4;
    in.firstIssue = std::to_string(rows.front().issue + 4);
    for (int p = 0; p < kPositions; ++p)
        in.values->at(p) = rows[rows.size() - 4].own[index(Kind::Tail)][p];
    expectSame(runJson("search --kind tail --result head --positions 1,2,3 --back 4"), runFollowSearch(*db, in));
}

TEST_F(CliSearch, VerifyTakesTheDrawBeforeTheIssueAndCanEndTheRangeThere) {
    const DrawRow& base = rows[60];
    const int x = rows[61].issue;
    SearchInputs in = inputs();
    in.ticked = {true, true};
    in.values = PositionValues{};
    for (int p = 0; p < kPositions; ++p)
        in.values->at(p) = base.own[index(Kind::Number)][p];
    expectSame(runJson("search --positions 1,2 --verify " + std::to_string(x)), runFollowSearch(*db, in));
    in.lastIssue = std::to_string(base.issue);
    expectSame(runJson("search --positions 1,2 --verify " + std::to_string(x) + " --only-before"),
               runFollowSearch(*db, in));
}

TEST_F(CliSearch, TextOutputAlignsBothGrids) {
    const auto run = runCli(dir.path(), "search --positions 8 --result zodiac --code-table-year 2020");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("期号     平1位  平2位"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("序号  结果  出现次数  百分比"), std::string::npos) << run.output;
}

TEST_F(CliSearch, ChanceAddsTheBaselineOfTheLibraryToTheJsonAndTheText) {
    SearchInputs in = inputs();
    in.resultKind = Kind::Zodiac;
    in.ticked = {true};
    in.values = PositionValues{rows.back().own[index(Kind::Number)][0]};
    const SearchResult result = runFollowSearch(*db, in);
    const ChanceBaseline expected = chanceOf(*db, in, result);
    const nlohmann::json json = runJson("search --result zodiac --positions 1 --chance");
    const nlohmann::json& chance = json.at("chance");
    EXPECT_EQ(chance.at("rows"), expected.rows);
    EXPECT_EQ(chance.at("hits"), expected.hits);
    EXPECT_EQ(chance.at("verdict"), expected.verdict);
    EXPECT_EQ(chance.at("min_p_holm").get<double>(), *expected.minAdjustedP);
    ASSERT_EQ(chance.at("values").size(), expected.values.size());
    for (size_t i = 0; i < expected.values.size(); ++i) {
        const nlohmann::json& v = chance.at("values")[i];
        const ValueChance& e = expected.values[i];
        EXPECT_EQ(v.at("value"), e.value);
        EXPECT_EQ(v.at("text"), e.text);
        EXPECT_EQ(v.at("count"), e.count);
        // Written so that reading them back gives the very same doubles.
        EXPECT_EQ(v.at("expected").get<double>(), e.expected);
        EXPECT_EQ(v.at("z").get<double>(), *e.z);
        EXPECT_EQ(v.at("p").get<double>(), *e.p);
        EXPECT_EQ(v.at("p_holm").get<double>(), *e.adjustedP);
    }

    const auto text = runCli(dir.path(), "search --result zodiac --positions 1 --chance --code-table-year 2020");
    ASSERT_EQ(text.exitCode, 0) << text.output;
    EXPECT_NE(text.output.find("结果  出现次数  期望次数  偏离"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find(expected.verdict), std::string::npos) << text.output;
}

struct BadOptions {
    const char* name;
    const char* arguments;
    const char* says;
};

class CliSearchRefuses : public CliSearch, public ::testing::WithParamInterface<BadOptions> {};

TEST_P(CliSearchRefuses, WithAMessageAndExitCodeOne) {
    const auto run = runCli(dir.path(), GetParam().arguments);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find(GetParam().says), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Cases, CliSearchRefuses,
                         ::testing::Values(BadOptions{"RangeNotANumber", "search --first 20x0101",
                                                      "起始期号“20x0101”不是数字"},
                                           BadOptions{"GapZero", "search --back 0", "前期间隔 0 无效"},
                                           BadOptions{"NothingBeforeTheVerifiedIssue", "combination --verify 2020101",
                                                      "无法取得验证的基准期"},
                                           BadOptions{"SevenValues", "search --values 1,2,3,4,5,6,7", "--values"},
                                           BadOptions{"PositionNine", "search --positions 9", "--positions"},
                                           BadOptions{"FixedAndFree", "search --fixed --free", "--free"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace drawfollow
