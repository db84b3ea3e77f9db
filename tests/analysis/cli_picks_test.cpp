// drawfollow-cli picks: a pick recorded for the next issue, listed pending until its draw is
// stored, then scored as the library scores it; the JSON keeps its shape throughout.
#include "analysis/pick_book.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::runCli;

class CliPicks : public ::testing::Test {
protected:
    void SetUp() override {
        db = std::make_unique<HistoryDb>(dir / HistoryDb::kFileName);
        db->replaceAll(test::seededDraws(150, 8, 2020001), test::settingsFor(2020));
    }

    nlohmann::json run(const std::string& arguments) {
        const auto r = runCli(dir.path(), arguments);
        EXPECT_EQ(r.exitCode, 0) << r.output;
        return nlohmann::json::parse(r.output);
    }

    test::TempDir dir;
    std::unique_ptr<HistoryDb> db;
};

TEST_F(CliPicks, AddListsPendingThenScoredAfterTheDraw) {
    const nlohmann::json added = run("picks add --positions 1 --result tail --exclude --top 3 --json");
    EXPECT_EQ(added.at("issue"), 2020151);
    EXPECT_EQ(added.at("mode"), "exclude");
    EXPECT_EQ(added.at("status"), "pending");
    EXPECT_EQ(added.at("values").size(), 3u);
    EXPECT_TRUE(added.at("hit").is_null());

    nlohmann::json list = run("picks list --json");
    ASSERT_EQ(list.at("picks").size(), 1u);
    EXPECT_EQ(list.at("picks")[0], added);
    for (const char* mode : {"top", "exclude"}) {
        EXPECT_EQ(list.at(mode).at("scored"), 0);
        for (const char* figure : {"observed", "expected", "variance", "z", "p"})
            EXPECT_TRUE(list.at(mode).at(figure).is_null()) << mode << ' ' << figure;
    }

    db->append({2020151, {1, 2, 3, 4, 5, 6, 7, 8}}, test::settingsFor(2020));
    const PickBook book = readPickBook(*db);
    list = run("picks list --json");
    const nlohmann::json& scored = list.at("picks")[0];
    EXPECT_EQ(scored.at("status"), "scored");
    EXPECT_EQ(scored.at("hit"), book.picks[0].score->hit);
    EXPECT_EQ(scored.at("expected").get<double>(), book.picks[0].score->odds.mean);
    EXPECT_EQ(scored.at("variance").get<double>(), book.picks[0].score->odds.variance);
    EXPECT_EQ(list.at("exclude").at("scored"), 1);
    EXPECT_EQ(list.at("exclude").at("observed"), book.exclude.observed);
    EXPECT_EQ(list.at("exclude").at("p").get<double>(), book.exclude.p.value());
    EXPECT_TRUE(list.at("top").at("z").is_null());
}

TEST_F(CliPicks, TextListAndDelete) {
    auto r = runCli(dir.path(), "picks list");
    EXPECT_NE(r.output.find("还没有预测记录"), std::string::npos) << r.output;
    r = runCli(dir.path(), "picks add --positions 1,2 --free");
    ASSERT_EQ(r.exitCode, 0) << r.output;
    EXPECT_NE(r.output.find("已为第 2020151 期记录预测"), std::string::npos) << r.output;
    r = runCli(dir.path(), "picks list");
    EXPECT_NE(r.output.find("待开奖"), std::string::npos) << r.output;
    EXPECT_NE(r.output.find("还没有已开奖的预测"), std::string::npos) << r.output;

    r = runCli(dir.path(), "picks delete 2");
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.output.find("没有编号为 2 的预测记录"), std::string::npos) << r.output;
    r = runCli(dir.path(), "picks delete 1");
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_TRUE(readPicks(*db).empty());
}

TEST_F(CliPicks, RefusesWhatTheBacktestRefuses) {
    for (const char* arguments :
         {"picks add --back 0", "picks add --top 0", "picks add --values 1,2,3,4,5,6,7,8", "picks delete x", "picks"}) {
        const auto r = runCli(dir.path(), arguments);
        EXPECT_NE(r.exitCode, 0) << arguments << '\n' << r.output;
    }
    EXPECT_TRUE(readPicks(*db).empty());
}

}  // namespace
}  // namespace drawfollow
