#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;

class FailureText : public ::testing::Test {
protected:
    void SetUp() override { db.replaceAll(test::seededDraws(20), settings); }

    // The failure `change` meets, as the user is told it; the history must be as it was.
    std::string toldFor(const std::function<void()>& change) {
        const auto before = db.draws();
        std::string told;
        try {
            change();
            ADD_FAILURE() << "the change did not fail";
        } catch (const std::exception& e) {
            told = failureText(e);
        }
        db.connection().exec("PRAGMA query_only = OFF");
        EXPECT_EQ(db.draws(), before);
        return told;
    }

    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    const DerivationSettings settings = test::settingsFor(2013);
};

TEST_F(FailureText, AFullDiskSaysToFreeSpaceAndKeepsSQLitesWords) {
    // SQLite's own limit on the file's pages fails a write exactly as a full disk does.
    db.connection().exec("PRAGMA max_page_count = " +
                         std::to_string(db.connection().execAndGet("PRAGMA page_count").getInt()));
    const std::string told = toldFor([&] { db.appendBatch(test::seededDraws(400, 5, 2014001), settings); });
    EXPECT_EQ(told.find("磁盘已满"), 0u) << told;
    EXPECT_NE(told.find("腾出磁盘空间"), std::string::npos) << told;
    EXPECT_NE(told.find("（SQLite：database or disk is full）"), std::string::npos) << told;
}

TEST_F(FailureText, AFileThatCannotBeWrittenPointsToAWritableFolder) {
    db.connection().exec("PRAGMA query_only = ON");
    const std::string told = toldFor([&] { db.append(test::draw(2014001, {1, 2, 3, 4, 5, 6, 7, 8}), settings); });
    EXPECT_NE(told.find("不能写入"), std::string::npos) << told;
    EXPECT_NE(told.find("--data-dir"), std::string::npos) << told;
    EXPECT_NE(told.find("SQLite："), std::string::npos) << told;
}

TEST_F(FailureText, AFaultOfTheProgramAsksForABugReportWithTheOriginalText) {
    const std::string told = toldFor([&] { db.execute("SELECT no_such_field FROM Lishi"); });
    EXPECT_NE(told.find("报告给开发者"), std::string::npos) << told;
    EXPECT_NE(told.find("no such column: no_such_field"), std::string::npos) << told;
}

TEST_F(FailureText, SystemFailuresAreToldInWordsWithTheOriginalAfter) {
    test::writeFile(dir / "plain", "x");
    try {
        fs::create_directories(dir / "plain" / "sub");
        FAIL() << "a folder was made under a file";
    } catch (const fs::filesystem_error& e) {
        const std::string told = failureText(e);
        EXPECT_EQ(told.find("文件或文件夹不存在"), 0u) << told;
        EXPECT_NE(told.find(e.what()), std::string::npos) << told;
    }
    // The program's own messages stand as they are.
    EXPECT_EQ(failureText(StoreError("期号有误")), "期号有误");
}

}  // namespace
}  // namespace drawfollow
