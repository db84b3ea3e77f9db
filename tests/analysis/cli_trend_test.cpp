// drawfollow-cli omission and trend: the JSON shapes, the text chart and the refusals.
#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using nlohmann::ordered_json;
using test::draw;
using test::runCli;

class CliTrend : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(dir / HistoryDb::kFileName);
        // Tail 3 twice in 002 (03, 13), never in 003; tail 9 never at all.
        const std::vector<DrawInput> draws = {draw(2020001, {1, 2, 3, 4, 5, 6, 7, 8}),
                                              draw(2020002, {3, 13, 21, 22, 24, 25, 26, 27}),
                                              draw(2020003, {1, 2, 4, 5, 6, 7, 8, 10})};
        db.replaceAll(draws, test::settingsFor(2020));
    }

    ordered_json runJson(const std::string& arguments) {
        const auto run = runCli(dir.path(), arguments + " --json");
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return ordered_json::parse(run.output);
    }

    test::TempDir dir;
};

TEST_F(CliTrend, OmissionGivesEveryValuesFiguresInValueOrder) {
    const ordered_json json = runJson("omission --kind tail --scope regular --first 2020002");
    EXPECT_EQ(json.at("draws"), 2);
    ASSERT_EQ(json.at("values").size(), 10u);
    EXPECT_EQ(json["values"][3].dump(),
              R"({"value":3,"text":"3","count":2,"draws":1,"current":1,"max":1,"average":0.5,"max_streak":1,)"
              R"("last_issue":2020002})");
    EXPECT_EQ(json["values"][9].dump(),
              R"({"value":9,"text":"9","count":0,"draws":0,"current":2,"max":2,"average":2.0,"max_streak":0,)"
              R"("last_issue":null})");
}

TEST_F(CliTrend, TrendGivesEveryDrawsOmissionsAndCounts) {
    const ordered_json json = runJson("trend --kind tail --last 2020002");
    EXPECT_EQ(json.at("columns").dump(), R"(["0","1","2","3","4","5","6","7","8","9"])");
    ASSERT_EQ(json.at("rows").size(), 2u);
    EXPECT_EQ(json["rows"][0].dump(), R"({"issue":2020001,"omission":[1,0,0,0,0,0,0,0,0,1],)"
                                      R"("count":[0,1,1,1,1,1,1,1,1,0]})");
    EXPECT_EQ(json["rows"][1].dump(), R"({"issue":2020002,"omission":[2,0,0,0,0,0,0,0,1,2],)"
                                      R"("count":[0,1,1,2,1,1,1,1,0,0]})");
}

TEST_F(CliTrend, TextMarksDrawnValuesAndEndsWithTheFigures) {
    const auto run = runCli(dir.path(), "trend --kind tail --scope regular");
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("期号范围 2020001～2020003，共 3 期。"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("[3]×2"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\n当前遗漏"), std::string::npos) << run.output;
    const auto table = runCli(dir.path(), "omission --kind zodiac");
    ASSERT_EQ(table.exitCode, 0) << table.output;
    EXPECT_NE(table.output.find("结果  出现次数  出现期数  当前遗漏"), std::string::npos) << table.output;
}

TEST_F(CliTrend, AReversedRangeIsRefused) {
    const auto reversed = runCli(dir.path(), "omission --first 2020003 --last 2020001");
    EXPECT_EQ(reversed.exitCode, 1);
    EXPECT_NE(reversed.output.find("起始期号 2020003 大于截止期号 2020001"), std::string::npos) << reversed.output;
}

// Written row by row, yet laid out as the whole document dumped with an indent of one.
TEST_F(CliTrend, JsonIsLaidOutAsOneDocument) {
    for (const char* arguments : {"trend --kind tail --json", "trend --kind zodiac --scope special --json",
                                  "trend --first 2021001 --json", "omission --kind head --json"}) {
        SCOPED_TRACE(arguments);
        const auto run = runCli(dir.path(), arguments);
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(run.output, ordered_json::parse(run.output).dump(1) + "\n");
    }
    EXPECT_EQ(runJson("trend --first 2021001").at("rows").dump(), "[]");
}

}  // namespace
}  // namespace drawfollow
