#include "drawfollow/version.h"
#include "io/history_text.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::runCli;

class CliHistory : public ::testing::Test {
protected:
    void SetUp() override {
        std::string text;
        for (const auto& d : test::seededDraws(40, 3, 2013001))
            text += canonicalLine(d.issue, d.numbers) + "\r\n";
        test::writeFile(dir / "h.txt", "标题\r\n" + text);
    }
    test::TempDir dir;
};

TEST_F(CliHistory, ImportsListsAndExportsAHistory) {
    const auto imported = runCli(dir.path(), "import " + (dir / "h.txt").string());
    EXPECT_EQ(imported.exitCode, 0) << imported.output;
    EXPECT_NE(imported.output.find("已读入 40 期历史号码，跳过 1 行"), std::string::npos) << imported.output;

    const auto listed = runCli(dir.path(), "list");
    EXPECT_EQ(listed.output.substr(0, 33), test::readFile(dir / "h.txt").substr(8, 32) + "\n");

    const std::string jsonText = runCli(dir.path(), "list --json").output;
    const auto json = nlohmann::json::parse(jsonText);
    // Written row by row, laid out as one document dumped with an indent of one.
    EXPECT_EQ(jsonText, nlohmann::ordered_json::parse(jsonText).dump(1) + "\n");
    ASSERT_EQ(json.size(), 40u);
    EXPECT_EQ(json[1]["SQQH"], 2013002);
    EXPECT_EQ(json[1]["strQQH"], "2013002");
    EXPECT_EQ(json[1]["L1AS"], json[0]["L1A"]);
    EXPECT_EQ(json[0]["txtHisLst"], "");
    EXPECT_TRUE(json[0].contains("txtHisPreLstDs"));
    EXPECT_EQ(json[0].size(), 164u);

    EXPECT_EQ(runCli(dir.path(), "export").exitCode, 0);
    EXPECT_EQ(test::readFile(dir / "更新至2013040期历史号码.txt"), test::readFile(dir / "h.txt").substr(8));
}

// Text fields are written as JSON writes them, whatever they hold: quotes, backslashes,
// control characters and Chinese alike.
TEST_F(CliHistory, ListJsonWritesAnyStoredTextAsJsonWould) {
    ASSERT_EQ(runCli(dir.path(), "import " + (dir / "h.txt").string()).exitCode, 0);
    const std::string odd = "甲\"乙\\丙\n\t01,02";
    {
        HistoryDb db(dir / HistoryDb::kFileName);
        SQLite::Statement change(db.connection(), "UPDATE lishi SET txtHisLst = ? WHERE SQQH = 2013002");
        change.bind(1, odd);
        ASSERT_EQ(change.exec(), 1);
    }
    const std::string jsonText = runCli(dir.path(), "list --json").output;
    EXPECT_EQ(jsonText, nlohmann::ordered_json::parse(jsonText).dump(1) + "\n");
    const auto json = nlohmann::json::parse(jsonText);
    EXPECT_EQ(json[1]["txtHisLst"], odd);
}

TEST_F(CliHistory, AddsDeletesAndTellsTheNextIssue) {
    EXPECT_EQ(runCli(dir.path(), "next-issue --help").exitCode, 0);
    EXPECT_EQ(runCli(dir.path(), "add 2013001 1 2 3 4 5 6 7 8").exitCode, 0);
    EXPECT_EQ(runCli(dir.path(), "next-issue").output, "2013002\n");
    EXPECT_NE(runCli(dir.path(), "add 2013002 1 2 3 4 5 6 7 7").exitCode, 0);  // repeated number
    EXPECT_NE(runCli(dir.path(), "add 2013001 1 2 3 4 5 6 7 9").exitCode, 0);  // issue not rising
    EXPECT_NE(runCli(dir.path(), "add 2013002 1 2 3").exitCode, 0);            // too few numbers
    const auto deleted = runCli(dir.path(), "delete-last");
    EXPECT_EQ(deleted.exitCode, 0);
    EXPECT_NE(deleted.output.find("已删除第 2013001 期"), std::string::npos) << deleted.output;
    EXPECT_NE(deleted.output.find("删除前的历史号码已备份到"), std::string::npos) << deleted.output;
    EXPECT_EQ(runCli(dir.path(), "list").output, "");
    EXPECT_EQ(runCli(dir.path(), "list --json").output, "[]\n");
    EXPECT_EQ(runCli(dir.path(), "delete-last").output, "历史号码为空，没有删除任何一期。\n");
}

TEST_F(CliHistory, NumbersAreDecimalAndIssuesAreIssues) {
    EXPECT_EQ(runCli(dir.path(), "add 2026097 01 08 09 10 11 12 13 14").exitCode, 0);
    EXPECT_EQ(runCli(dir.path(), "add 2026098 010 02 03 04 05 06 07 011").exitCode, 0);
    const std::string stored = "2026097 01 08 09 10 11 12 13 14 \n2026098 10 02 03 04 05 06 07 11 \n";
    EXPECT_EQ(runCli(dir.path(), "list").output, stored);
    const auto overflowing = runCli(dir.path(), "add 2147483647 15 16 17 18 19 20 21 22");
    EXPECT_NE(overflowing.exitCode, 0);
    EXPECT_NE(overflowing.output.find("“2147483647” 不是期号"), std::string::npos) << overflowing.output;
    EXPECT_NE(runCli(dir.path(), "trim-to 99999999").output.find("不是期号"), std::string::npos);
    EXPECT_EQ(runCli(dir.path(), "list").output, stored);
}

TEST_F(CliHistory, RefusesWhatWouldLoseDataWithoutSaying) {
    ASSERT_EQ(runCli(dir.path(), "import " + (dir / "h.txt").string()).exitCode, 0);
    EXPECT_NE(runCli(dir.path(), "clear").exitCode, 0);
    test::writeFile(dir / "bad.txt", "2014001 01 02 03 04 05 06 07 44\r\n");
    const auto bad = runCli(dir.path(), "import " + (dir / "bad.txt").string());
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.output.find("第 1 行"), std::string::npos) << bad.output;
    EXPECT_NE(runCli(dir.path(), "import --zodiac-offset 2 " + (dir / "h.txt").string()).exitCode, 0);
    EXPECT_EQ(runCli(dir.path(), "list").output.size(), 40u * 33);
    EXPECT_EQ(runCli(dir.path(), "clear --yes").exitCode, 0);
    EXPECT_EQ(runCli(dir.path(), "list").output, "");
}

TEST_F(CliHistory, AForeignDatabaseFileIsAnErrorNamingIt) {
    test::writeFile(dir / "ZembraRAV.db", "not a database at all, certainly not one with a history in it");
    const auto run = runCli(dir.path(), "list");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("ZembraRAV.db"), std::string::npos) << run.output;
}

TEST_F(CliHistory, TellsItsVersionWithoutACommandOrADatabase) {
    const auto run = runCli(dir.path(), "--version");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.output, std::string("drawfollow-cli ") + kVersion + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "ZembraRAV.db"));
}

}  // namespace
}  // namespace drawfollow
