// An update driven page by page without the network: the history changes only when the
// update ends; a complete one drops the years no longer kept together with what it
// appends, one that ends early drops nothing.
#include "io/update_session.h"
#include "io/history_text.h"
#include "io/safety_copy.h"
#include "io/update_summary.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"
#include "test_paths.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace drawfollow {
namespace {

const std::filesystem::path kPages = std::filesystem::path(DRAWFOLLOW_TEST_DATA_DIR) / "update";

std::string page(int year) {
    return test::readFile(kPages / (year == 2013 ? "chart_2013_gbk_meta.html" : "chart_2014_utf8_meta.html"));
}

std::vector<DrawInput> chartDraws(int from, int to) {
    std::vector<DrawInput> draws = readHistoryFile(kPages / "chart_draws.txt").draws;
    std::erase_if(draws, [&](const DrawInput& d) { return d.issue < from || d.issue > to; });
    return draws;
}

std::string randomBytes() {
    std::mt19937 rng(4711);
    std::string bytes(4096, '\0');
    for (char& b : bytes)
        b = static_cast<char>(rng());
    return bytes;
}

// 2005001 to 2013100 at 150 draws a year: in 2014, keeping 6 years, the 450 draws before
// 2008 are to go and the pages of 2013 and 2014 are read (2013101..2013153, then 5 draws).
class UpdateSessionTest : public testing::Test {
protected:
    void SetUp() override { db.appendBatch(before, test::settingsFor(2005)); }

    UpdateSession session(int currentYear = 2014, int keepYears = 6, std::string host = "http://127.0.0.1:9") {
        // The update derives under the settings the history records, whatever the year.
        return UpdateSession(db, test::settingsFor(2005), UpdateRequest{std::move(host), keepYears, currentYear});
    }

    bool safetyCopyWritten() { return !safetyCopies(dir.path()).empty(); }

    const std::vector<DrawInput> before = test::seededDraws(1300, 11, 2005001, 150);
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
};

TEST_F(UpdateSessionTest, CompleteUpdateDropsAndAppendsAtTheEnd) {
    UpdateSession update = session();
    ASSERT_TRUE(update.prepare()) << update.summary().message();
    EXPECT_EQ(update.plannedYears(), (std::vector<int>{2013, 2014}));
    EXPECT_EQ(update.acceptPage(page(2013), ""), 53u);
    // Reading is not storing.
    EXPECT_EQ(db.draws(), before);
    EXPECT_FALSE(safetyCopyWritten());
    EXPECT_EQ(update.acceptPage(page(2014), ""), 5u);
    EXPECT_FALSE(update.currentYear());

    const UpdateSummary& summary = update.summary();
    EXPECT_TRUE(summary.succeeded()) << summary.message();
    EXPECT_EQ(summary.dropped, 450u);
    EXPECT_EQ(summary.added, 58u);
    ASSERT_TRUE(summary.safetyCopy);
    EXPECT_EQ(readHistoryFile(*summary.safetyCopy).draws, before);
    EXPECT_NE(summary.message().find("已删除 2008 年以前的 450 期"), std::string::npos) << summary.message();

    // Row for row what dropping first and appending after gives.
    test::TempDir otherDir;
    HistoryDb oldOrder(otherDir / HistoryDb::kFileName);
    oldOrder.appendBatch(before, test::settingsFor(2005));
    oldOrder.connection().exec("DELETE FROM lishi WHERE SQQH < 2008001");
    oldOrder.appendBatch(chartDraws(2013101, 2014999), test::settingsFor(2005));
    EXPECT_EQ(test::everyRow(db), test::everyRow(oldOrder));
}

// The window writes on a worker: the update ends with its write pending, the history is
// untouched until the caller writes it over another connection, and the summary then says
// what an update that wrote at once says.
TEST_F(UpdateSessionTest, DeferredWriteChangesNothingUntilWrittenElsewhere) {
    UpdateSession update = session();
    update.deferWrite();
    ASSERT_TRUE(update.prepare());
    update.acceptPage(page(2013), "");
    update.acceptPage(page(2014), "");
    EXPECT_FALSE(update.currentYear());
    EXPECT_EQ(db.draws(), before);
    EXPECT_FALSE(safetyCopyWritten());

    std::optional<UpdateWrite> write = update.takePendingWrite();
    ASSERT_TRUE(write);
    EXPECT_FALSE(update.takePendingWrite());  // taken once
    EXPECT_EQ(write->dropBeforeYear, 2008);
    HistoryDb worker(dir / HistoryDb::kFileName);
    update.recordWrite(writeUpdate(worker, *write));

    const UpdateSummary& summary = update.summary();
    EXPECT_TRUE(summary.succeeded()) << summary.message();
    EXPECT_EQ(summary.dropped, 450u);
    EXPECT_EQ(summary.added, 58u);
    EXPECT_EQ(summary.newestIssue, write->draws.back().issue);
    ASSERT_TRUE(summary.safetyCopy);
    EXPECT_EQ(readHistoryFile(*summary.safetyCopy).draws, before);
    EXPECT_EQ(db.drawCount(), 1300 - 450 + 58);
}

TEST_F(UpdateSessionTest, AWriteThatFailsIsReportedAndChangesNothing) {
    UpdateSession update = session();
    update.deferWrite();
    ASSERT_TRUE(update.prepare());
    update.acceptPage(page(2013), "");
    update.cancel();  // ends early: appends what 2013 gave, drops nothing
    std::optional<UpdateWrite> write = update.takePendingWrite();
    ASSERT_TRUE(write);
    EXPECT_FALSE(write->dropBeforeYear);
    // Another program stored a draw meanwhile: the draws read no longer follow the history.
    db.append(test::draw(2013150, {1, 2, 3, 4, 5, 6, 7, 8}), test::settingsFor(2005));
    const std::vector<DrawInput> stored = db.draws();

    update.recordWrite(writeUpdate(db, *write));
    EXPECT_FALSE(update.summary().notStoredReason.empty());
    EXPECT_EQ(update.summary().added, 0u);
    EXPECT_EQ(db.draws(), stored);
}

// Every page was read; the write lost a race with another program. The summary must not say
// that pages were left unread.
TEST_F(UpdateSessionTest, AnUpdateThatReadEveryPageButCouldNotStoreSaysSo) {
    UpdateSession update = session();
    update.deferWrite();
    ASSERT_TRUE(update.prepare());
    update.acceptPage(page(2013), "");
    update.acceptPage(page(2014), "");
    const std::optional<UpdateWrite> write = update.takePendingWrite();
    ASSERT_TRUE(write);
    db.append(test::draw(2014100, {1, 2, 3, 4, 5, 6, 7, 8}), test::settingsFor(2005));

    update.recordWrite(writeUpdate(db, *write));
    const std::string told = update.summary().message();
    EXPECT_FALSE(update.summary().succeeded());
    EXPECT_EQ(told.find("在线更新读完了全部网页，但读到的号码没有保存。"), 0u) << told;
    EXPECT_EQ(told.find("读完全部网页后才删除"), std::string::npos) << told;
    EXPECT_NE(told.find("2008 年以前的 450 期都还在"), std::string::npos) << told;
    EXPECT_EQ(db.drawCount(), 1301);
}

TEST_F(UpdateSessionTest, CurrentYearPageWithoutTheDrawsStoredIsNoChart) {
    db.append(test::draw(2014001, {1, 2, 3, 4, 5, 6, 7, 8}), test::settingsFor(2005));
    UpdateSession update = session();
    ASSERT_TRUE(update.prepare());
    ASSERT_EQ(update.currentYear(), 2014);
    update.acceptPage(test::readFile(kPages / "chart_2014_no_draws_yet.html"), "");
    ASSERT_TRUE(update.summary().failure);
    EXPECT_EQ(update.summary().dropped, 0u);
    EXPECT_EQ(db.drawCount(), 1301);
}

struct EarlyEnd {
    const char* name;
    std::function<void(UpdateSession&)> act;
    size_t added;            // the draws read before the end, stored
    const char* reasonPart;  // of the failure; empty for a cancel
};

void PrintTo(const EarlyEnd& end, std::ostream* os) {
    *os << end.name;
}

class UpdateEndingEarlyTest : public UpdateSessionTest, public testing::WithParamInterface<EarlyEnd> {};

TEST_P(UpdateEndingEarlyTest, DropsNothing) {
    UpdateSession update = session();
    ASSERT_TRUE(update.prepare());
    GetParam().act(update);
    EXPECT_FALSE(update.currentYear());

    const UpdateSummary& summary = update.summary();
    const std::string message = summary.message();
    EXPECT_FALSE(summary.succeeded());
    EXPECT_EQ(message.rfind("在线更新完成", 0), std::string::npos) << message;
    EXPECT_EQ(summary.dropped, 0u);
    EXPECT_EQ(db.drawCountBefore(2008001), 450);
    EXPECT_FALSE(safetyCopyWritten());
    EXPECT_NE(message.find("没有删除任何历史号码：2008 年以前的 450 期"), std::string::npos) << message;

    std::vector<DrawInput> expected = before;
    const std::vector<DrawInput> read = chartDraws(2013101, 2013999);
    if (GetParam().added > 0)
        expected.insert(expected.end(), read.begin(), read.end());
    EXPECT_EQ(db.draws(), expected);
    EXPECT_EQ(summary.added, GetParam().added);
    if (*GetParam().reasonPart) {
        ASSERT_TRUE(summary.failure);
        EXPECT_NE(summary.failure->reason.find(GetParam().reasonPart), std::string::npos) << summary.failure->reason;
    } else {
        EXPECT_TRUE(summary.cancelled);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ends, UpdateEndingEarlyTest,
    testing::Values(
        EarlyEnd{"ConnectionRefused",
                 [](UpdateSession& u) { u.failCurrentYear("服务器拒绝连接（Connection refused）。"); }, 0, "拒绝连接"},
        EarlyEnd{"RandomBytes", [](UpdateSession& u) { u.acceptPage(randomBytes(), ""); }, 0, "无法识别"},
        EarlyEnd{"ErrorPage",
                 [](UpdateSession& u) { u.acceptPage("<html><body><h1>服务器维护中</h1></body></html>", "text/html"); },
                 0, "没有开奖走势表"},
        EarlyEnd{"EmptyBody", [](UpdateSession& u) { u.acceptPage("", "text/html"); }, 0, "无法识别"},
        EarlyEnd{"CancelAfterTheFirstYear",
                 [](UpdateSession& u) {
                     u.acceptPage(page(2013), "");
                     u.cancel();
                 },
                 53, ""},
        EarlyEnd{"CurrentYearNotAChart",
                 [](UpdateSession& u) {
                     u.acceptPage(page(2013), "");
                     u.acceptPage("<html><body>404 页面不存在</body></html>", "text/html");
                 },
                 53, "没有开奖走势表"}),
    [](const auto& info) { return info.param.name; });

TEST_F(UpdateSessionTest, NoSafetyCopyMeansNothingChanges) {
    test::writeFile(dir / kSafetyCopyFolder, "a file where the folder should be");
    UpdateSession update = session();
    ASSERT_TRUE(update.prepare());
    update.acceptPage(page(2013), "");
    update.acceptPage(page(2014), "");
    EXPECT_EQ(db.draws(), before);
    EXPECT_FALSE(update.summary().succeeded());
    const std::string message = update.summary().message();
    EXPECT_NE(message.find("读取到的 58 期历史号码没有保存"), std::string::npos) << message;
    EXPECT_NE(message.find("安全备份"), std::string::npos) << message;
}

TEST_F(UpdateSessionTest, DrawsThatWouldNotJoinTheHistoryAreNotStored) {
    // 2005001..2010150, all before the kept years 2011..2013: 2011's draws would follow
    // 2010150 only once everything before them is dropped.
    db.connection().exec("DELETE FROM lishi WHERE SQQH > 2010150");
    UpdateSession update = session(2013, 2);
    ASSERT_TRUE(update.prepare());
    ASSERT_EQ(update.currentYear(), 2011);
    EXPECT_EQ(update.acceptPage(test::readFile(kPages / "chart_2011_utf8_undeclared.html"), ""), 4u);
    update.cancel();
    EXPECT_EQ(db.drawCount(), 900);
    EXPECT_EQ(update.summary().added, 0u);
    EXPECT_NE(update.summary().message().find("读取到的 4 期历史号码没有保存"), std::string::npos)
        << update.summary().message();
}

TEST_F(UpdateSessionTest, UnusableAddressChangesNothing) {
    for (const char* host : {"ftp://chart.example.com", "https://", "http://chart example.com"}) {
        UpdateSession update = session(2014, 6, host);
        EXPECT_FALSE(update.prepare()) << host;
        EXPECT_FALSE(update.summary().succeeded());
    }
    EXPECT_EQ(db.draws(), before);
}

TEST_F(UpdateSessionTest, DropAndAppendIsOneTransaction) {
    // The second draw does not rise: the drop before it is undone too.
    const std::vector<DrawInput> draws{test::draw(2013101, {1, 2, 3, 4, 5, 6, 7, 8}),
                                       test::draw(2013101, {1, 2, 3, 4, 5, 6, 7, 9})};
    EXPECT_THROW(db.dropBeforeAndAppend(2008001, draws, test::settingsFor(2005)), StoreError);
    EXPECT_EQ(db.draws(), before);
}

class EmptyHistoryUpdateTest : public testing::Test {
protected:
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    UpdateSession update{db, test::settingsFor(2014), UpdateRequest{"http://127.0.0.1:9", 3, 2014}};
};

TEST_F(EmptyHistoryUpdateTest, UnrecognisedPageOfAPastYearEndsTheUpdate) {
    ASSERT_TRUE(update.prepare());
    EXPECT_EQ(update.currentYear(), 2011);
    EXPECT_EQ(update.acceptPage(test::readFile(kPages / "chart_2014_no_draws_yet.html"), "text/html"), 0u);
    EXPECT_FALSE(update.currentYear());
    const UpdateSummary& summary = update.summary();
    ASSERT_TRUE(summary.failure);
    EXPECT_EQ(summary.failure->year, 2011);
    EXPECT_EQ(summary.yearsNotRead, (std::vector<int>{2012, 2013, 2014}));
}

TEST_F(EmptyHistoryUpdateTest, UnreadableDrawKeepsTheDrawsBeforeItAndEndsTheUpdate) {
    std::string page = test::readFile(kPages / "chart_2011_utf8_undeclared.html");
    // The third draw's fourth number becomes "3x".
    const size_t row = page.find("<td>2011003</td>");
    ASSERT_NE(row, std::string::npos);
    size_t cell = row;
    for (int i = 0; i < 6; ++i)
        cell = page.find("<td>", cell + 1);
    page.replace(cell + 4, 2, "3x");

    ASSERT_TRUE(update.prepare());
    EXPECT_EQ(update.acceptPage(page, "text/html"), 2u);
    EXPECT_EQ(db.drawCount(), 2);
    ASSERT_TRUE(update.summary().failure);
    EXPECT_NE(update.summary().failure->reason.find("2011003"), std::string::npos);
}

}  // namespace
}  // namespace drawfollow
