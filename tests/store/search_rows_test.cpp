#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::draw;

class SearchRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.replaceAll(
            std::vector{draw(2020101, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2020102, {13, 14, 28, 29, 30, 9, 10, 25}),
                        draw(2020103, {11, 12, 15, 16, 17, 18, 19, 20})},
            test::settingsFor(2020));
    }

    std::vector<std::pair<int, int>> carcu() {
        SQLite::Statement q(db.connection(), "SELECT Nmb, Count FROM Carcu ORDER BY rowid");
        std::vector<std::pair<int, int>> rows;
        while (q.executeStep())
            rows.emplace_back(q.getColumn(0).getInt(), q.getColumn(1).getInt());
        return rows;
    }

    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
};

TEST_F(SearchRowsTest, TheTallyIsRewrittenOnlyWhenCarcuHoldsSomethingElse) {
    const std::vector<TallyRow> tally = {{1, 3}, {2, 0}, {3, 5}};
    db.storeTally(tally);
    EXPECT_EQ(carcu(), (std::vector<std::pair<int, int>>{{1, 3}, {2, 0}, {3, 5}}));
    const int changes = db.connection().getTotalChanges();
    db.storeTally(tally);
    EXPECT_EQ(db.connection().getTotalChanges(), changes);
    db.storeTally(std::vector<TallyRow>{{1, 3}, {2, 0}});
    EXPECT_EQ(carcu(), (std::vector<std::pair<int, int>>{{1, 3}, {2, 0}}));
}

}  // namespace
}  // namespace drawfollow
