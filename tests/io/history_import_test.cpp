#include "io/history_import.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace drawfollow {
namespace {

class HistoryImport : public ::testing::Test {
protected:
    test::TempDir dir;
    HistoryDb db{dir / HistoryDb::kFileName};
    DerivationSettings settings = test::settingsFor(2013);
};

TEST_F(HistoryImport, AnExportedFileImportsBackToIdenticalRows) {
    db.replaceAll(test::seededDraws(500, 5, 2013001, 153), settings);
    const auto rows = test::everyRow(db);
    const auto file = defaultExportPath(db, dir.path());
    EXPECT_EQ(file.filename().string(), "更新至2016041期历史号码.txt");
    exportHistoryFile(db, file);

    const std::string text = test::readFile(file);
    EXPECT_EQ(text.size(), 500u * 34);
    EXPECT_EQ(text.substr(0, 34), canonicalLine(rows[0].issue, rows[0].numbers()) + "\r\n");

    test::TempDir other;
    HistoryDb copy(other / HistoryDb::kFileName);
    const auto summary = importHistoryFile(copy, file, settings);
    EXPECT_EQ(summary.draws, 500u);
    EXPECT_EQ(summary.skippedLines, 0);
    EXPECT_EQ(test::everyRow(copy), rows);
}

TEST_F(HistoryImport, ReplacesTheHistoryAndDerivesTheFirstRowWithoutPredecessors) {
    db.replaceAll(test::seededDraws(10, 1, 2012001), settings);
    test::writeFile(dir / "h.txt", "2013016 01 02 03 04 05 06 07 08 \r\n2013017 01 02 03 04 05 06 07 08 \r\n");
    importHistoryFile(db, dir / "h.txt", settings);
    const auto rows = test::everyRow(db);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].previous, DrawValues{});
    EXPECT_EQ(rows[0].previousLists, DrawLists{});
    EXPECT_EQ(rows[1].previous, rows[0].own);
    // Zodiac years 2012 and 2013 give number 1 different codes.
    EXPECT_NE(rows[0].own[index(Kind::Zodiac)][0], rows[1].own[index(Kind::Zodiac)][0]);
}

TEST_F(HistoryImport, ABadFileChangesNothingAndNamesItsLines) {
    db.replaceAll(test::seededDraws(10), settings);
    const auto before = test::everyRow(db);
    test::writeFile(dir / "bad.txt", "2014001 01 02 03 04 05 06 07 08\r\n2014002 01 02 03 04 05 06 07 44\r\n");
    try {
        importHistoryFile(db, dir / "bad.txt", settings);
        FAIL() << "a bad file was imported";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("第 2 行"), std::string::npos) << e.what();
    }
    EXPECT_THROW(importHistoryFile(db, dir / "missing.txt", settings), StoreError);
    test::writeFile(dir / "empty.txt", "\r\n");
    EXPECT_THROW(importHistoryFile(db, dir / "empty.txt", settings), StoreError);
    EXPECT_EQ(test::everyRow(db), before);
}

// The next issue's zodiac year is the year the rows are derived and recorded for; a record of
// a year outside those a record may name would read back as no record at all.
TEST_F(HistoryImport, AHistoryWhoseNextIssueNoCodeTableYearFitsIsRefused) {
    db.replaceAll(test::seededDraws(10), settings);
    const auto before = test::everyRow(db);
    for (const char* line :
         {"0374888 01 02 03 04 05 06 07 08", "1899100 01 02 03 04 05 06 07 08", "2201200 01 02 03 04 05 06 07 08"}) {
        test::writeFile(dir / "far.txt", std::string(line) + "\r\n");
        try {
            importHistoryFile(db, dir / "far.txt",
                              [](std::optional<int> next) { return test::settingsFor(next ? *next / 1000 : 2013); });
            FAIL() << line << " was imported";
        } catch (const StoreError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string(line).substr(0, 7)), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("1900～2200"), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(test::everyRow(db), before);
    // The last year a record may name is accepted.
    test::writeFile(dir / "edge.txt", "2200100 01 02 03 04 05 06 07 08\r\n");
    EXPECT_EQ(importHistoryFile(db, dir / "edge.txt", settings).draws, 1u);
}

TEST_F(HistoryImport, AnEmptyHistoryExportsAnEmptyFileWithoutAnIssueInItsName) {
    const auto file = defaultExportPath(db, dir.path());
    EXPECT_EQ(file.filename().string(), "更新至期历史号码.txt");
    exportHistoryFile(db, file);
    EXPECT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(std::filesystem::file_size(file), 0u);
}

}  // namespace
}  // namespace drawfollow
