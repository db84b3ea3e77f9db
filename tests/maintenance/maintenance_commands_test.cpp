#include "io/history_import.h"
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
        for (const auto& d : storedDraws(db))
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
    EXPECT_TRUE(std::filesystem::exists(dir / "lishi.xls"));

    EXPECT_NE(runCli(dir.path(), "export-xlsx history " + (dir / "missing" / "x.xls").string()).exitCode, 0);
    EXPECT_NE(runCli(dir.path(), "export-xlsx unknown").exitCode, 0);
}

}  // namespace
}  // namespace drawfollow
