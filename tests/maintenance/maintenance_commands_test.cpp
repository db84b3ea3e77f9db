#include "io/history_text.h"
#include "io/safety_copy.h"

#include "support/history_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::runCli;

class CliMaintenance : public ::testing::Test {
protected:
    void SetUp() override {
        HistoryDb db(dir / HistoryDb::kFileName);
        db.appendBatch(test::seededDraws(30, 5, 2014001), test::settingsFor(2014));
    }

    std::vector<int> issues() {
        HistoryDb db(dir / HistoryDb::kFileName);
        std::vector<int> result;
        for (const auto& d : db.draws())
            result.push_back(d.issue);
        return result;
    }

    test::TempDir dir;
};

TEST_F(CliMaintenance, TrimsReportWhatTheyDeletedAndWhereTheHistoryWasSaved) {
    auto run = runCli(dir.path(), "trim-to 2014020");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("已删除 10 期，保留 20 期历史号码"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find(kSafetyCopyFolder), std::string::npos) << run.output;

    run = runCli(dir.path(), "delete-newest 5");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(issues().back(), 2014015);
    EXPECT_EQ(safetyCopies(dir.path()).size(), 2u);

    run = runCli(dir.path(), "delete-newest 0");
    EXPECT_NE(run.output.find("已删除 0 期，保留 15 期"), std::string::npos) << run.output;
}

TEST_F(CliMaintenance, TrimsThatWouldDeleteEveryDrawNeedYes) {
    for (const char* trim : {"trim-to 2013150", "delete-newest 30", "delete-newest 99"}) {
        const auto refused = runCli(dir.path(), trim);
        EXPECT_NE(refused.exitCode, 0) << trim;
        EXPECT_NE(refused.output.find("这将删除全部 30 期历史号码"), std::string::npos) << refused.output;
        EXPECT_NE(refused.output.find("--yes"), std::string::npos) << refused.output;
    }
    EXPECT_EQ(issues().size(), 30u);
    EXPECT_TRUE(safetyCopies(dir.path()).empty());

    EXPECT_EQ(runCli(dir.path(), "delete-newest 29").exitCode, 0) << "one draw left needs no confirmation";
    EXPECT_EQ(runCli(dir.path(), "trim-to 2013150 --yes").exitCode, 0);
    EXPECT_TRUE(issues().empty());
}

TEST_F(CliMaintenance, BackupsListsTheCopiesNewestFirstAndRestorePutsOneBack) {
    EXPECT_EQ(runCli(dir.path(), "backups").output, "没有安全备份。\n");
    ASSERT_EQ(runCli(dir.path(), "trim-to 2014020").exitCode, 0);
    ASSERT_EQ(runCli(dir.path(), "delete-last").exitCode, 0);

    const auto listed = runCli(dir.path(), "backups");
    EXPECT_EQ(listed.exitCode, 0) << listed.output;
    const auto copies = listSafetyCopies(dir.path());
    ASSERT_EQ(copies.size(), 2u);
    const std::string heading = "编号\t时间\t命令\t期数\t最新期号\n";
    EXPECT_EQ(listed.output, heading + copies[0].copy.id + "\t" + madeText(copies[0].copy) +
                                 "\t删除最后历史\t20\t2014020\n" + copies[1].copy.id + "\t" + madeText(copies[1].copy) +
                                 "\t删除到选定期\t30\t2014030\n");

    const auto restored = runCli(dir.path(), "restore " + copies[1].copy.id);
    EXPECT_EQ(restored.exitCode, 0) << restored.output;
    EXPECT_NE(restored.output.find("已恢复备份 " + copies[1].copy.id + "，共 30 期历史号码"), std::string::npos)
        << restored.output;
    EXPECT_EQ(issues().size(), 30u);
    const auto afterRestore = listSafetyCopies(dir.path());
    ASSERT_EQ(afterRestore.size(), 3u);
    EXPECT_EQ(afterRestore[0].copy.cause, CopyCause::Restore);
    EXPECT_EQ(afterRestore[0].draws, 19u) << "the restore saved the history it replaced";

    const auto unknown = runCli(dir.path(), "restore 20990101-000000-000");
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_NE(unknown.output.find("没有编号为 20990101-000000-000 的安全备份"), std::string::npos) << unknown.output;
    EXPECT_EQ(issues().size(), 30u);
}

TEST_F(CliMaintenance, ClearSavesTheHistoryFirst) {
    const auto run = runCli(dir.path(), "clear --yes");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(issues().empty());
    ASSERT_EQ(safetyCopies(dir.path()).size(), 1u);
    EXPECT_EQ(readHistoryFile(safetyCopies(dir.path()).front()).draws.size(), 30u);
}

TEST_F(CliMaintenance, CompactsAndExportsTheHistoryGrid) {
    EXPECT_EQ(runCli(dir.path(), "compact").exitCode, 0);
    const auto run = runCli(dir.path(), "export-xlsx history");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("已将 31 行写入"), std::string::npos) << run.output;
    EXPECT_TRUE(std::filesystem::exists(dir / "lishi.xlsx"));

    EXPECT_NE(runCli(dir.path(), "export-xlsx history " + (dir / "missing" / "x.xlsx").string()).exitCode, 0);
    EXPECT_NE(runCli(dir.path(), "export-xlsx unknown").exitCode, 0);
}

}  // namespace
}  // namespace drawfollow
