// drawfollow-cli shape: the JSON holds what the library computes, the text the same figures,
// and what has no shape is refused.
#include "analysis/shape_table.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using nlohmann::ordered_json;
using test::runCli;

class CliShape : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(dir / HistoryDb::kFileName);
        db.replaceAll(test::seededDraws(120, 3), test::settingsFor(2013));
    }

    ordered_json runJson(const std::string& arguments) {
        const auto run = runCli(dir.path(), arguments + " --json");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return ordered_json::parse(run.output);
    }

    test::TempDir dir;
};

ordered_json expectedValue(ShapeMeasure m, std::optional<int> value) {
    if (!value)
        return nullptr;
    return m == ShapeMeasure::Zone ? ordered_json(shapeValueText(m, *value)) : ordered_json(*value);
}

TEST_F(CliShape, JsonHoldsTheLibrarysFiguresForEveryMeasure) {
    const std::vector<std::pair<std::string, ShapeMeasure>> measures = {
        {"sum", ShapeMeasure::Sum},       {"span", ShapeMeasure::Span},   {"odd", ShapeMeasure::Odd},
        {"big", ShapeMeasure::Big},       {"prime", ShapeMeasure::Prime}, {"consecutive", ShapeMeasure::Consecutive},
        {"repeat", ShapeMeasure::Repeat}, {"ac", ShapeMeasure::Ac},       {"zone", ShapeMeasure::Zone}};
    HistoryDb db(dir / HistoryDb::kFileName);
    const std::vector<int> issues = db.issues();
    const IssueRange range{issues[20], issues[109]};
    for (TallyScope scope : {TallyScope::Regular, TallyScope::All}) {
        const ShapeTable table = readShapes(db, scope, range);
        for (const auto& [word, m] : measures) {
            const std::string what = word + (scope == TallyScope::All ? " all" : " regular");
            const ordered_json json =
                runJson("shape --measure " + word + " --scope " + (scope == TallyScope::All ? "all" : "regular") +
                        " --first " + std::to_string(issues[20]) + " --last " + std::to_string(issues[109]));
            const ShapeDistribution d = distributionOf(table, m);
            EXPECT_EQ(json.at("draws"), 90) << what;
            ASSERT_EQ(json.at("values").size(), d.values.size()) << what;
            for (size_t i = 0; i < d.values.size(); ++i) {
                const ordered_json& v = json["values"][i];
                EXPECT_EQ(v.at("value"), expectedValue(m, d.values[i].value)) << what;
                EXPECT_EQ(v.at("count"), d.values[i].count) << what;
                EXPECT_DOUBLE_EQ(v.at("expected").get<double>(), d.values[i].expected) << what;
                EXPECT_DOUBLE_EQ(v.at("p_value").get<double>(), d.values[i].chance) << what;
            }
            ASSERT_TRUE(d.fit.p) << what;
            EXPECT_DOUBLE_EQ(json.at("chi2").get<double>(), *d.fit.chi2) << what;
            EXPECT_EQ(json.at("df"), d.fit.df) << what;
            EXPECT_DOUBLE_EQ(json.at("p").get<double>(), *d.fit.p) << what;
            EXPECT_EQ(json.at("verdict"), d.verdict) << what;
            ASSERT_EQ(json.at("trend").size(), 90u) << what;
            for (int row = 0; row < table.rowCount(); ++row) {
                EXPECT_EQ(json["trend"][row].at("issue"), table.issue(row)) << what;
                EXPECT_EQ(json["trend"][row].at("value"), expectedValue(m, table.value(row, m))) << what;
            }
        }
    }
}

// Written draw by draw, yet laid out as the whole document dumped with an indent of one,
// an empty range and a range without a test included.
TEST_F(CliShape, JsonIsLaidOutAsOneDocument) {
    const std::vector<int> issues = HistoryDb(dir / HistoryDb::kFileName).issues();
    const std::string lastTwo = " --first " + std::to_string(issues[issues.size() - 2]);
    for (const std::string& arguments : std::vector<std::string>{
             "shape --measure zone --json", "shape --measure repeat --scope all --json",
             "shape --measure sum --first 2099001 --json", "shape --measure odd --json" + lastTwo}) {
        SCOPED_TRACE(arguments);
        const auto run = runCli(dir.path(), arguments);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(run.output, ordered_json::parse(run.output).dump(1) + "\n");
    }
}

TEST_F(CliShape, TheHistorysFirstDrawHasNoRepeatAndTooFewDrawsNoTest) {
    HistoryDb db(dir / HistoryDb::kFileName);
    const int first = db.issues().front();
    const ordered_json json = runJson("shape --measure repeat --last " + std::to_string(first + 2));
    EXPECT_EQ(json.at("draws"), 2);
    EXPECT_EQ(json["trend"][0].dump(), R"({"issue":)" + std::to_string(first) + R"(,"value":null})");
    EXPECT_TRUE(json.at("chi2").is_null());
    EXPECT_TRUE(json.at("p").is_null());
    EXPECT_EQ(json.at("df"), 0);
    EXPECT_EQ(json.at("verdict"), "无法与随机抽取比较（期数太少，期望次数凑不满两组）");
}

TEST_F(CliShape, TextShowsTheValuesAndTheTest) {
    const auto run = runCli(dir.path(), "shape --measure zone --scope all");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("区间（平特）：期号范围"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\n区间   出现次数  理论次数  单期概率\n"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\n3:3:2 "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\nχ² = "), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("（卡方检验 p = "), std::string::npos) << run.output;
}

TEST_F(CliShape, WhatHasNoShapeIsRefused) {
    const auto special = runCli(dir.path(), "shape --measure sum --scope special");
    EXPECT_NE(special.exitCode, 0);
    const auto unknown = runCli(dir.path(), "shape --measure size");
    EXPECT_NE(unknown.exitCode, 0);
    const auto missing = runCli(dir.path(), "shape");
    EXPECT_NE(missing.exitCode, 0);
    const auto reversed = runCli(dir.path(), "shape --measure sum --first 2013005 --last 2013001");
    EXPECT_EQ(reversed.exitCode, 1);
    EXPECT_NE(reversed.output.find("起始期号 2013005 大于截止期号 2013001"), std::string::npos) << reversed.output;
}

}  // namespace
}  // namespace drawfollow
