// drawfollow-cli backtest: the panel options reach the library's backtest, whose numbers the
// JSON carries exactly; the text ends in the verdict.
#include "analysis/backtest.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::runCli;

class CliBacktest : public ::testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<HistoryDb>(dir / HistoryDb::kFileName);
        db->replaceAll(test::seededDraws(200, 21, 2020101), test::settingsFor(2020));
    }

    SearchPanel panel() const {
        SearchPanel p;
        p.options.codes = ZodiacCodeTable::build(false, 1, 2020);
        return p;
    }

    test::TempDir dir;
    std::unique_ptr<HistoryDb> db;
};

// The JSON carries the library's numbers exactly.
void expectSameNumbers(const nlohmann::json& json, const BacktestResult& expected) {
    ASSERT_FALSE(expected.targets.empty());
    ASSERT_EQ(json.at("targets").size(), expected.targets.size());
    for (size_t i = 0; i < expected.targets.size(); ++i) {
        const nlohmann::json& t = json.at("targets")[i];
        const BacktestTarget& e = expected.targets[i];
        EXPECT_EQ(t.at("issue"), e.issue);
        EXPECT_EQ(t.at("base"), e.base);
        EXPECT_EQ(t.at("hits"), e.hits);
        EXPECT_EQ(t.at("top").get<std::vector<int>>(), e.chosen);
        EXPECT_EQ(t.at("hit"), e.hit);
        EXPECT_EQ(t.at("expected").get<double>(), e.expected);
        EXPECT_EQ(t.at("variance").get<double>(), e.variance);
    }
    EXPECT_EQ(json.at("observed"), expected.observed);
    EXPECT_EQ(json.at("expected").get<double>(), expected.expected);
    EXPECT_EQ(json.at("variance").get<double>(), expected.variance);
    EXPECT_EQ(json.at("z").get<double>(), *expected.z);
    EXPECT_EQ(json.at("p").get<double>(), *expected.p);
    EXPECT_EQ(json.at("skipped"), expected.skipped);
}

TEST_F(CliBacktest, JsonCarriesTheLibrarysNumbers) {
    SearchPanel p = panel();
    p.combination = true;
    p.options.searchKind = Kind::Tail;
    p.options.resultKind = Kind::Zodiac;
    p.options.previousIssue = false;
    p.options.gap = 2;
    p.options.combinationSize = 3;
    p.options.combinationRegularOnly = true;
    p.firstIssue = "2020110";
    for (const PickMode mode : {PickMode::Top, PickMode::Exclude}) {
        const BacktestResult expected = Backtest(*db, p).run({40, 3, mode});
        const auto run = runCli(dir.path(),
                                "backtest --combination --size 3 --pool regular --kind tail --result zodiac --back 2 "
                                "--first 2020110 --targets 40 --top 3 --json --code-table-year 2020" +
                                    std::string(mode == PickMode::Exclude ? " --exclude" : ""));
        ASSERT_EQ(run.exitCode, 0) << run.output;
        expectSameNumbers(nlohmann::json::parse(run.output), expected);
        // Written target by target, yet laid out as the whole document dumped with an indent of one.
        EXPECT_EQ(run.output, nlohmann::ordered_json::parse(run.output).dump(1) + "\n");
    }
}

TEST_F(CliBacktest, TextShowsTheTargetsAndTheVerdict) {
    SearchPanel p = panel();
    p.options.ticked = {true, true};
    const BacktestResult expected = Backtest(*db, p).run({});
    const auto run = runCli(dir.path(), "backtest --positions 1,2 --code-table-year 2020");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("前 5 个结果值"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(expected.verdict), std::string::npos) << run.output;
}

struct BadBacktest {
    const char* name;
    const char* arguments;
    const char* says;
};

class CliBacktestRefuses : public CliBacktest, public ::testing::WithParamInterface<BadBacktest> {};

TEST_P(CliBacktestRefuses, WithAMessage) {
    const auto run = runCli(dir.path(), GetParam().arguments);
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find(GetParam().says), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(Cases, CliBacktestRefuses,
                         ::testing::Values(BadBacktest{"GapZero", "backtest --back 0", "前期间隔 0 无效"},
                                           BadBacktest{"NoTargets", "backtest --targets 0", "--targets"},
                                           BadBacktest{"SizeWithoutCombination", "backtest --size 3", "--size"},
                                           BadBacktest{"TypedBase", "backtest --values 1,2,3,4,5,6,7,8", "--values"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace drawfollow
