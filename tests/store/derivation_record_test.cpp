// The settings recorded beside the rows: kept by replacing, guarded by adding, followed by
// deriving every row again, and an older file without them upgraded with its rows intact.
#include "store/derivation_record.h"
#include "store/history_db.h"
#include "store/schema.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

using test::seededDraws;
using test::settingsFor;

// Every column of every row of a table, as text, in rowid order.
std::vector<std::string> tableText(SQLite::Database& db, const std::string& table) {
    SQLite::Statement q(db, "SELECT * FROM " + table + " ORDER BY rowid");
    std::vector<std::string> rows;
    while (q.executeStep()) {
        std::string row;
        for (int i = 0; i < q.getColumnCount(); ++i)
            row += (q.getColumn(i).isNull() ? std::string("NULL") : q.getColumn(i).getString()) + '|';
        rows.push_back(row);
    }
    return rows;
}

bool sameRecord(const std::optional<DerivationSettings>& recorded, const DerivationSettings& expected) {
    return recorded && recorded->segmentOffset == expected.segmentOffset &&
           recorded->codes.offset() == expected.codes.offset() &&
           recorded->codes.sequential() == expected.codes.sequential() &&
           recorded->codes.tableYear() == expected.codes.tableYear();
}

class DerivationRecordTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return dir / HistoryDb::kFileName; }
    test::TempDir dir;
};

TEST_F(DerivationRecordTest, ReplacingRecordsTheSettingsAndAddingMustShareThem) {
    HistoryDb db(file());
    EXPECT_FALSE(db.recordedDerivation());
    const auto draws = seededDraws(12, 5, 2026001);
    db.replaceAll(std::span(draws).first(10), settingsFor(2025));
    EXPECT_TRUE(sameRecord(db.recordedDerivation(), settingsFor(2025)));

    // Another code table would mix two meanings of one code in one history.
    EXPECT_THROW(db.append(draws[10], settingsFor(2026)), StoreError);
    EXPECT_THROW(db.appendBatch(std::span(draws).subspan(10), settingsFor(2025, 0)), StoreError);
    EXPECT_THROW(db.append(draws[10], settingsFor(2025, 1, 0)), StoreError);
    EXPECT_EQ(db.drawCount(), 10);
    db.append(draws[10], settingsFor(2025));
    EXPECT_EQ(db.drawCount(), 11);

    // An emptied history takes whatever its next draw is derived with.
    db.deleteAll();
    db.append(draws[0], settingsFor(2026, 0, 0));
    EXPECT_TRUE(sameRecord(db.recordedDerivation(), settingsFor(2026, 0, 0)));
}

TEST_F(DerivationRecordTest, SequentialCodesDoNotDependOnTheTablesYear) {
    EXPECT_TRUE(derivesSameRows(settingsFor(2025, 1, 1, true), settingsFor(2026, 1, 1, true)));
    EXPECT_FALSE(derivesSameRows(settingsFor(2025), settingsFor(2026)));
    EXPECT_FALSE(derivesSameRows(settingsFor(2026, 1, 1, true), settingsFor(2026)));
    EXPECT_FALSE(derivesSameRows(settingsFor(2026, 1, 0), settingsFor(2026, 1, 1)));
    EXPECT_TRUE(derivesSameRows(settingsFor(2026), settingsFor(2038)));  // twelve years on, the same animal
}

TEST_F(DerivationRecordTest, DerivingAgainGivesTheRowsOfAFreshImportAndKeepsTheRest) {
    const auto draws = seededDraws(300, 9, 2025140);
    const DerivationSettings after = settingsFor(2026, 0, 0);
    HistoryDb db(file());
    db.replaceAll(draws, settingsFor(2025), true);
    db.execute("UPDATE Lishi SET strQQH = 'kept', intTh = 3, txtHisP6 = 'scratch' WHERE SQQH = 2025150");

    EXPECT_EQ(db.rederiveAll(after), draws.size());
    EXPECT_TRUE(sameRecord(db.recordedDerivation(), after));
    std::vector<DrawRow> rows = test::everyRow(db);
    const auto kept = std::find_if(rows.begin(), rows.end(), [](const DrawRow& r) { return r.issue == 2025150; });
    ASSERT_NE(kept, rows.end());
    EXPECT_EQ(kept->issueText, "kept");
    EXPECT_EQ(kept->hitCount, 3);
    EXPECT_EQ(kept->scratchList, "scratch");
    kept->issueText = issueText(kept->issue);
    kept->hitCount = 0;
    kept->scratchList.clear();

    test::TempDir other;
    HistoryDb fresh(other / HistoryDb::kFileName);
    fresh.replaceAll(draws, after);
    EXPECT_EQ(rows, test::everyRow(fresh));
}

TEST_F(DerivationRecordTest, ACancelledDerivationChangesNothing) {
    const auto draws = seededDraws(600, 4, 2026001);
    HistoryDb db(file());
    db.replaceAll(draws, settingsFor(2025));
    const auto before = test::everyRow(db);
    EXPECT_THROW(db.rederiveAll(settingsFor(2026), [](size_t done, size_t) { return done < 512; }), StoreError);
    EXPECT_EQ(test::everyRow(db), before);
    EXPECT_TRUE(sameRecord(db.recordedDerivation(), settingsFor(2025)));
}

TEST_F(DerivationRecordTest, AnOlderFileIsUpgradedWithItsTablesExactlyAsTheyWere) {
    std::vector<std::string> lishi, carcu;
    {
        HistoryDb db(file());
        db.replaceAll(seededDraws(40, 3, 2013001), settingsFor(2013));
        db.execute("INSERT INTO Carcu (Nmb, Count) VALUES (7, 3)");
        // What the first version wrote: no Derivation or Picks table, version 1.
        db.connection().exec("DROP TABLE Derivation; DROP TABLE Picks; PRAGMA user_version = 1");
        lishi = tableText(db.connection(), "Lishi");
        carcu = tableText(db.connection(), "Carcu");
    }
    HistoryDb db(file());
    EXPECT_EQ(db.connection().execAndGet("PRAGMA user_version").getInt(), kSchemaVersion);
    EXPECT_EQ(missingSchemaParts(db.connection()), "");
    EXPECT_FALSE(db.recordedDerivation());  // how its rows were derived is not known
    EXPECT_EQ(tableText(db.connection(), "Lishi"), lishi);
    EXPECT_EQ(tableText(db.connection(), "Carcu"), carcu);

    db.replaceAll(seededDraws(5), settingsFor(2013));
    db.execute("UPDATE Derivation SET SxIni = 7");  // not a value this program writes
    EXPECT_FALSE(db.recordedDerivation());
}

}  // namespace
}  // namespace drawfollow
