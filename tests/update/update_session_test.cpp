// An update driven page by page without the network: the drop of the years no longer
// kept, and what ends an update and what it keeps.
#include "io/update_session.h"
#include "io/history_import.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

const std::filesystem::path kPages = std::filesystem::path(DRAWFOLLOW_TEST_DATA_DIR) / "update";

class UpdateSessionTest : public testing::Test {
protected:
    UpdateSession session(int currentYear, int keepYears, std::string host = "http://127.0.0.1:9") {
        return UpdateSession(db, test::settingsFor(currentYear),
                             UpdateRequest{std::move(host), keepYears, currentYear});
    }

    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
};

TEST_F(UpdateSessionTest, YearsNoLongerKeptAreDroppedAfterASafetyCopy) {
    // 2005001 .. 2013100 at 150 draws a year.
    const std::vector<DrawInput> before = test::seededDraws(1300, 11, 2005001, 150);
    db.appendBatch(before, test::settingsFor(2005));

    UpdateSession update = session(2014, 6);
    ASSERT_TRUE(update.prepare()) << update.summary().message();

    const std::vector<DrawInput> left = storedDraws(db);
    ASSERT_FALSE(left.empty());
    EXPECT_EQ(left.front().issue, 2008001);
    EXPECT_EQ(left.back().issue, before.back().issue);
    EXPECT_EQ(update.summary().dropped, before.size() - left.size());
    EXPECT_EQ(update.plannedYears(), (std::vector<int>{2013, 2014}));

    ASSERT_TRUE(update.summary().safetyCopy);
    const HistoryText copy = readHistoryFile(*update.summary().safetyCopy);
    EXPECT_EQ(copy.draws, before);
    EXPECT_NE(update.summary().message().find("2008 年以前"), std::string::npos);
}

TEST_F(UpdateSessionTest, NoSafetyCopyMeansNothingIsDropped) {
    db.appendBatch(test::seededDraws(300, 5, 2005001, 150), test::settingsFor(2005));
    test::writeFile(dir / kSafetyCopyFolder, "a file where the folder should be");

    UpdateSession update = session(2014, 6);
    EXPECT_FALSE(update.prepare());
    EXPECT_EQ(db.drawCount(), 300);
    EXPECT_FALSE(update.currentYear());
    EXPECT_NE(update.summary().message().find("安全备份"), std::string::npos) << update.summary().message();
}

TEST_F(UpdateSessionTest, UnusableAddressChangesNothing) {
    db.appendBatch(test::seededDraws(300, 5, 2005001, 150), test::settingsFor(2005));
    UpdateSession update = session(2014, 6, "ftp://chart.example.com");
    EXPECT_FALSE(update.prepare());
    EXPECT_EQ(db.drawCount(), 300);
    EXPECT_FALSE(update.summary().succeeded());
}

TEST_F(UpdateSessionTest, UnrecognisedPageOfAPastYearEndsTheUpdate) {
    UpdateSession update = session(2014, 3);
    ASSERT_TRUE(update.prepare());
    EXPECT_EQ(update.currentYear(), 2011);
    EXPECT_EQ(update.acceptPage("<html><body>服务器维护中</body></html>", "text/html"), 0u);
    EXPECT_FALSE(update.currentYear());
    const UpdateSummary& summary = update.summary();
    ASSERT_TRUE(summary.failure);
    EXPECT_EQ(summary.failure->year, 2011);
    EXPECT_EQ(summary.yearsNotRead, (std::vector<int>{2012, 2013, 2014}));
}

TEST_F(UpdateSessionTest, UnreadableDrawKeepsTheDrawsBeforeItAndEndsTheUpdate) {
    std::string page = test::readFile(kPages / "chart_2011_utf8_undeclared.html");
    // The third draw's fourth number becomes "3x".
    const size_t row = page.find("<td>2011003</td>");
    ASSERT_NE(row, std::string::npos);
    size_t cell = row;
    for (int i = 0; i < 6; ++i)
        cell = page.find("<td>", cell + 1);
    page.replace(cell + 4, 2, "3x");

    UpdateSession update = session(2014, 3);
    ASSERT_TRUE(update.prepare());
    EXPECT_EQ(update.acceptPage(page, "text/html"), 2u);
    EXPECT_EQ(db.drawCount(), 2);
    ASSERT_TRUE(update.summary().failure);
    EXPECT_NE(update.summary().failure->reason.find("2011003"), std::string::npos);
}

TEST_F(UpdateSessionTest, CancelKeepsWhatWasStored) {
    UpdateSession update = session(2014, 3);
    ASSERT_TRUE(update.prepare());
    EXPECT_EQ(update.acceptPage(test::readFile(kPages / "chart_2011_utf8_undeclared.html"), ""), 4u);
    update.cancel();
    EXPECT_TRUE(update.summary().cancelled);
    EXPECT_EQ(update.summary().yearsNotRead, (std::vector<int>{2012, 2013, 2014}));
    EXPECT_EQ(db.drawCount(), 4);
    EXPECT_NE(update.summary().message().find("新增 4 期"), std::string::npos);
}

}  // namespace
}  // namespace drawfollow
