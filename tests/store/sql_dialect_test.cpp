#include "store/history_db.h"

#include "support/history_builder.h"
#include "support/sql_dialect.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

TEST(SqlDialect, MapsPatternsAndLeft) {
    EXPECT_EQ(toSqlite(R"(UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [txtHisLstHm] LIKE "*1X03*")"),
              "UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [txtHisLstHm] LIKE '%1X03%'");
    EXPECT_EQ(toSqlite("UPDATE [Lishi] SET [txtHisP6]= LEFT([txtHisLstSx],LEN([txtHisLstSx])-4)"),
              "UPDATE [Lishi] SET [txtHisP6]= [LEFT]([txtHisLstSx],LEN([txtHisLstSx])-4)");
    EXPECT_EQ(toSqlite("SELECT * FROM Carcu ORDER BY Count DESC"), "SELECT * FROM Carcu ORDER BY Count DESC");
    EXPECT_EQ(toSqlite(R"(x LIKE "it's")"), "x LIKE 'it''s'");
    EXPECT_THROW(toSqlite(R"(x LIKE "*1X0)"), std::invalid_argument);
}

class DialectOnDb : public ::testing::Test {
protected:
    void SetUp() override {
        db.replaceAll(test::seededDraws(12), test::settingsFor(2013));
        registerTextFunctions(db.connection().getHandle());
    }
    int count(const std::string& where) {
        return db.connection().execAndGet(toSqlite("SELECT count(*) FROM [lishi] WHERE " + where)).getInt();
    }
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
};

TEST_F(DialectOnDb, QuotedTextIsNeverAColumn) {
    // Unmapped, "txtHisLst" would name the column and every row would match itself.
    EXPECT_EQ(executeDialect(db, R"(UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [txtHisLst] LIKE "txtHisLst")"), 0);
    EXPECT_EQ(count(R"([strQQH] = "strQQH")"), 0);
}

TEST_F(DialectOnDb, LikePatternsMatchTheStoredTokens) {
    const auto rows = test::everyRow(db);
    const std::string token = rows[5].previousLists.counted[index(Kind::Number)].substr(0, 4);
    int expected = 0;
    for (const auto& r : rows)
        expected += r.previousLists.counted[index(Kind::Number)].find(token) != std::string::npos;
    EXPECT_EQ(
        executeDialect(db, "UPDATE [Lishi] SET [intTh]=([intTh] +1) WHERE [txtHisLstHm] LIKE \"*" + token + "*\""),
        expected);
    EXPECT_EQ(count("[intTh] = 1"), expected);
}

TEST_F(DialectOnDb, LeftAndLenCutTheSpecialNumbersToken) {
    executeDialect(db, "UPDATE [Lishi] SET [txtHisP6]= LEFT([txtHisLstTou],LEN([txtHisLstTou])-4)");
    for (const auto& r : test::everyRow(db)) {
        const std::string& heads = r.previousLists.counted[index(Kind::Head)];
        EXPECT_EQ(r.scratchList, heads.empty() ? "" : heads.substr(0, heads.size() - 4)) << r.issue;
    }
}

TEST_F(DialectOnDb, TextFunctionsCountCharactersAndTolerateShortText) {
    auto text = [this](const std::string& expr) {
        return db.connection().execAndGet(toSqlite("SELECT " + expr)).getString();
    };
    EXPECT_EQ(text("LEN('生肖ab')"), "4");
    EXPECT_EQ(text("LEFT('生肖ab', 1)"), "生");
    EXPECT_EQ(text("LEFT('ab', LEN('ab') - 4)"), "");
    EXPECT_EQ(text("LEFT('ab', 9)"), "ab");
    EXPECT_TRUE(db.connection().execAndGet("SELECT [LEFT](NULL, 2) IS NULL").getInt());
}

TEST_F(DialectOnDb, BooleanLiteralsAndTheCountColumn) {
    executeDialect(db, "UPDATE [Lishi] SET [bolOk]= FALSE");
    executeDialect(db, "UPDATE [Lishi] SET [bolOk]= TRUE WHERE [intTh] = 0");
    EXPECT_EQ(count("[bolOk]= TRUE"), 12);
    executeDialect(db, "INSERT INTO Carcu (Nmb, Count) VALUES (1, 3), (2, 9), (3, 5)");
    SQLite::Statement q(db.connection(), toSqlite("SELECT * FROM Carcu ORDER BY Count DESC"));
    ASSERT_TRUE(q.executeStep());
    EXPECT_EQ(q.getColumn("Nmb").getInt(), 2);
}

TEST_F(DialectOnDb, RangeQueryWithFirstAfterLastSelectsNothing) {
    EXPECT_EQ(count("[SQQH] >= 2013010 AND  [SQQH] <= 2013002 AND [intTh] = 0"), 0);
    EXPECT_EQ(count("[SQQH] >= 2013002 AND  [SQQH] <= 2013010 AND [intTh] = 0"), 9);
}

}  // namespace
}  // namespace drawfollow
