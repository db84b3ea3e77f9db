#include "io/xlsx_export.h"

#include "io/history_grid.h"
#include "store/history_db.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"
#include "xlsx_sheet_reader.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace drawfollow {
namespace {

namespace fs = std::filesystem;

std::string columnLetter(size_t c) {
    return std::string(1, static_cast<char>('A' + c));
}

TEST(HistoryGrid, HeadersThenIssueAndNumbersWithoutLeadingZeros) {
    const CellGrid grid = historyGrid(std::vector{test::draw(2013001, {3, 7, 12, 18, 22, 25, 29, 11})});
    ASSERT_EQ(grid.size(), 2u);
    EXPECT_EQ(cellTexts(grid[0]), (std::vector<std::string>{"期号", "平1码", "平2码", "平3码", "平4码", "平5码",
                                                            "平6码", "平7码", "特码"}));
    EXPECT_EQ(cellTexts(grid[1]), (std::vector<std::string>{"2013001", "3", "7", "12", "18", "22", "25", "29", "11"}));
    for (const GridCell& cell : grid[1])
        EXPECT_EQ(cell.display(), GridCell::Display::Whole) << cell.text();
}

TEST(HistoryGrid, AnEmptyHistoryIsTheHeaderRowAlone) {
    test::TempDir dir;
    HistoryDb db(dir / HistoryDb::kFileName);
    EXPECT_EQ(historyGrid(db), CellGrid{textCells(historyGridHeader())});
}

class SpreadsheetExport : public ::testing::Test {
protected:
    test::TempDir dir;
    fs::path target = dir / std::string(spreadsheetFileName(ExportedGrid::History));
};

TEST_F(SpreadsheetExport, AHundredDrawHistoryGivesAHundredAndOneRowsOfNineColumns) {
    const auto draws = test::seededDraws(100, 11, 2013001);
    const CellGrid grid = historyGrid(draws);
    writeSpreadsheet(grid, target);

    const auto sheet = test::readFirstSheet(target);
    EXPECT_EQ(sheet.name, "Sheet1");
    EXPECT_EQ(sheet.dimension, "A1:I101");
    EXPECT_EQ(sheet.cells.size(), 101u * 9);
    for (size_t r = 0; r < grid.size(); ++r) {
        for (size_t c = 0; c < grid[r].size(); ++c) {
            const std::string ref = columnLetter(c) + std::to_string(r + 1);
            ASSERT_EQ(sheet.cells.count(ref), 1u) << ref;
            const auto& cell = sheet.cells.at(ref);
            EXPECT_EQ(cell.value, grid[r][c].text()) << ref;
            EXPECT_EQ(cell.isNumber, r > 0) << ref << ": headers are strings, draws numbers";
        }
    }
}

// Rows made one at a time give the sheet the whole grid gives; a source that fails part way
// leaves the earlier file as it was and nothing else behind.
TEST_F(SpreadsheetExport, RowsWrittenAsTheyComeGiveTheWholeGridsSheet) {
    const auto draws = test::seededDraws(30, 5, 2013001);
    writeSpreadsheet(historyGrid(draws), target);
    const auto whole = test::readFirstSheet(target);
    EXPECT_EQ(writeSpreadsheet(historyGridRows(draws), target), 31u);
    const auto streamed = test::readFirstSheet(target);
    EXPECT_EQ(streamed.dimension, "A1:I31");
    ASSERT_EQ(streamed.cells.size(), whole.cells.size());
    for (const auto& [ref, cell] : whole.cells) {
        ASSERT_EQ(streamed.cells.count(ref), 1u) << ref;
        EXPECT_EQ(streamed.cells.at(ref).value, cell.value) << ref;
        EXPECT_EQ(streamed.cells.at(ref).isNumber, cell.isNumber) << ref;
    }

    int made = 0;
    const CellRows failing = [&made](std::vector<GridCell>& row) {
        if (++made == 4)
            throw StoreError("读不出第 4 行。");
        row = {"1", "2"};
        return true;
    };
    EXPECT_THROW(writeSpreadsheet(failing, target), StoreError);
    EXPECT_EQ(test::readFirstSheet(target).dimension, "A1:I31");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// How each kind of cell is stored: a figure as a number, in the general format only where
// that shows it as the grid does; a text as a string, however much it looks like a number.
struct StoredCase {
    GridCell cell;
    bool number;
    std::string value;   // as the sheet's XML holds it
    std::string format;  // the cell's number format
};

void PrintTo(const StoredCase& c, std::ostream* os) {
    *os << '"' << c.cell.text() << '"';
}

class StoredCells : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredCells, FiguresAreNumbersWithTheirOwnFormatAndTextsStayText) {
    test::TempDir dir;
    const StoredCase& c = GetParam();
    writeSpreadsheet(CellGrid{{c.cell}}, dir / "cell.xlsx");
    const auto sheet = test::readFirstSheet(dir / "cell.xlsx");
    ASSERT_EQ(sheet.cells.count("A1"), 1u);
    const test::SheetCell& cell = sheet.cells.at("A1");
    EXPECT_EQ(cell.isNumber, c.number);
    EXPECT_EQ(cell.value, c.value);
    EXPECT_EQ(cell.numberFormat, c.format);
    EXPECT_EQ(test::shownText(cell), c.cell.text());
}

INSTANTIATE_TEST_SUITE_P(Cells, StoredCells,
                         ::testing::Values(StoredCase{GridCell::whole(7), true, "7", "General"},
                                           StoredCase{GridCell::whole(2013001), true, "2013001", "General"},
                                           StoredCase{GridCell::whole(-3), true, "-3", "General"},
                                           StoredCase{GridCell::fixed(12.5, 1), true, "12.5", "General"},
                                           StoredCase{GridCell::fixed(12.5, 2), true, "12.5", "0.00"},
                                           StoredCase{GridCell::fixed(2.699999, 2), true, "2.7", "0.00"},
                                           StoredCase{GridCell::fixed(3, 1), true, "3", "0.0"},
                                           StoredCase{GridCell::fixed(0.00001, 5), true, "1E-05", "0.00000"},
                                           StoredCase{GridCell::percent(12, 35), true, "0.34286", "0.000%"},
                                           StoredCase{GridCell::percent(1, 1), true, "1", "0.000%"},
                                           StoredCase{GridCell("07"), false, "07", "General"},
                                           StoredCase{GridCell("12"), false, "12", "General"},
                                           StoredCase{GridCell("34.286%"), false, "34.286%", "General"},
                                           StoredCase{GridCell("鼠"), false, "鼠", "General"}));

// Averages such as the omission table's are numbers in the file, shown with their decimals.
TEST_F(SpreadsheetExport, FixedDecimalsAreNumbersWithANumberFormat) {
    const CellGrid grid{{"值", "平均遗漏", "偏离"},
                        {"01", GridCell::fixed(2.7, 2), GridCell::fixed(-1.5, 2)},
                        {"02", GridCell::fixed(3, 2), GridCell::fixed(0.25, 2)}};
    writeSpreadsheet(grid, dir / "yilou.xlsx");
    const auto sheet = test::readFirstSheet(dir / "yilou.xlsx");
    for (const auto& [ref, value, format] : {std::tuple{"B2", "2.7", "0.00"}, std::tuple{"B3", "3", "0.00"},
                                             std::tuple{"C2", "-1.5", "0.00"}, std::tuple{"C3", "0.25", "General"}}) {
        ASSERT_EQ(sheet.cells.count(ref), 1u) << ref;
        const test::SheetCell& cell = sheet.cells.at(ref);
        EXPECT_TRUE(cell.isNumber) << ref;
        EXPECT_EQ(cell.value, value) << ref;
        EXPECT_EQ(cell.numberFormat, format) << ref;
        EXPECT_EQ(test::shownText(cell), grid[ref[1] - '1'][ref[0] - 'A'].text()) << ref;
    }
    EXPECT_FALSE(sheet.cells.at("A2").isNumber);  // a ball number keeps its leading zero
}

TEST_F(SpreadsheetExport, MixedCellsKeepTheirTypesAndEmptyCellsStayBlank) {
    const CellGrid tally{{"序号", "结果", "出现次数", "百分比"},
                         {GridCell::whole(1), "鼠", GridCell::whole(12), GridCell::percent(12, 35)},
                         {GridCell::whole(2), "07", "", GridCell::fixed(0.5, 1)},
                         {GridCell::whole(3), "牛", GridCell::whole(0), GridCell::percent(0, 35)}};
    writeSpreadsheet(tally, dir / "Jieguo.xlsx");
    const auto sheet = test::readFirstSheet(dir / "Jieguo.xlsx");
    EXPECT_EQ(sheet.dimension, "A1:D4");
    const auto expectCell = [&](const std::string& ref, bool number, const std::string& value) {
        ASSERT_EQ(sheet.cells.count(ref), 1u) << ref;
        EXPECT_EQ(sheet.cells.at(ref).isNumber, number) << ref;
        EXPECT_EQ(sheet.cells.at(ref).value, value) << ref;
    };
    expectCell("A1", false, "序号");
    expectCell("B2", false, "鼠");
    expectCell("C2", true, "12");
    expectCell("B3", false, "07");
    expectCell("D3", true, "0.5");
    expectCell("C4", true, "0");
    EXPECT_EQ(sheet.cells.count("C3"), 0u);
    // A percentage is a number the spreadsheet can sum, shown as the grid showed it.
    for (const auto& [ref, shown] : {std::pair{"D2", "34.286%"}, std::pair{"D4", "0.000%"}}) {
        const auto& cell = sheet.cells.at(ref);
        EXPECT_TRUE(cell.isNumber) << ref;
        EXPECT_EQ(cell.numberFormat, "0.000%") << ref;
        EXPECT_EQ(test::shownText(cell), shown) << ref;
    }
    EXPECT_NEAR(std::stod(sheet.cells.at("D2").value), 0.34286, 1e-12);
    EXPECT_EQ(sheet.cells.at("C2").numberFormat, "General");
}

TEST_F(SpreadsheetExport, ColouredCellsShareOneFormatPerColourPairAndKeepTheirTypes) {
    const CellColours ball{0xd22b2b, 0xffffff};
    const CellColours grey{std::nullopt, 0x9a9a9a};
    const CellColours summary{0xf2f2e6, std::nullopt};
    CellGrid grid{{"期号", "01", "02"}};
    ColourGrid colours{{}};
    for (int r = 1; r <= 3000; ++r) {
        grid.push_back({GridCell::whole(2013000 + r), "01", GridCell::whole(r % 7)});
        colours.push_back({{}, r % 2 ? ball : grey, grey});
    }
    grid.push_back({"出现率", GridCell::percent(1, 2), ""});
    colours.push_back({{}, summary, summary});
    writeSpreadsheet(grid, target, colours);

    const auto sheet = test::readFirstSheet(target);
    const auto& drawn = sheet.cells.at("B2");
    EXPECT_EQ(drawn.value, "01");
    EXPECT_EQ(drawn.fill, "FFD22B2B");
    EXPECT_EQ(drawn.fontColour, "FFFFFFFF");
    const auto& omission = sheet.cells.at("C2");
    EXPECT_TRUE(omission.isNumber);
    EXPECT_EQ(omission.fill, "");
    EXPECT_EQ(omission.fontColour, "FF9A9A9A");
    EXPECT_EQ(sheet.cells.at("B3").fill, "");
    // A coloured percentage keeps its percent format; an empty coloured cell keeps its colour.
    EXPECT_EQ(sheet.cells.at("B3002").numberFormat, "0.000%");
    EXPECT_EQ(sheet.cells.at("B3002").fill, "FFF2F2E6");
    EXPECT_EQ(sheet.cells.at("C3002").fill, "FFF2F2E6");
    // Cells without colours stay in the general format, as an uncoloured export writes them.
    EXPECT_EQ(sheet.cells.at("A2").fill, "");
    EXPECT_EQ(sheet.cells.at("A2").fontColour, "");
    // The default, ball, grey, the summary and the coloured percentage.
    EXPECT_EQ(sheet.cellFormats, 5u);
}

TEST_F(SpreadsheetExport, AColourGridShorterThanTheTextsLeavesTheRestUncoloured) {
    writeSpreadsheet(CellGrid{{"a", "b"}, {"c", "d"}}, target, ColourGrid{{CellColours{0x00ff00, 0x000000}}});
    const auto sheet = test::readFirstSheet(target);
    EXPECT_EQ(sheet.cells.at("A1").fill, "FF00FF00");
    EXPECT_EQ(sheet.cells.at("A1").fontColour, "FF000000");  // black is a colour, not "none"
    for (const char* ref : {"B1", "A2", "B2"})
        EXPECT_EQ(sheet.cells.at(ref).fill, "") << ref;
}

TEST_F(SpreadsheetExport, DataBarsCoverTheirColumnBelowTheHeaderFromZero) {
    const std::vector<DataBarColumn> bars = {{1, 0xf4a261}, {2, 0x000000}};
    CellGrid grid{{"值", "当前遗漏", "最大遗漏"}};
    for (const auto& [value, current, longest] : {std::tuple{1, 0, 9}, std::tuple{2, 4, 7}, std::tuple{3, 2, 5}})
        grid.push_back({GridCell::whole(value), GridCell::whole(current), GridCell::whole(longest)});
    writeSpreadsheet(grid, target, {}, bars);
    const auto sheet = test::readFirstSheet(target);
    const std::map<std::string, std::pair<std::string, std::string>> expected = {{"B2:B4", {"FFF4A261", "num 0"}},
                                                                                 {"C2:C4", {"FF000000", "num 0"}}};
    EXPECT_EQ(sheet.dataBars, expected);
    EXPECT_TRUE(sheet.cells.at("B3").isNumber);
}

TEST_F(SpreadsheetExport, AHeaderOnlyGridGivesAOneRowSheet) {
    // A bar over no rows is no bar, not an error.
    writeSpreadsheet(CellGrid{{"序号", "结果", "出现次数", "百分比"}}, target, {}, {{2, 0xff0000}});
    const auto sheet = test::readFirstSheet(target);
    EXPECT_EQ(sheet.dimension, "A1:D1");
    EXPECT_EQ(sheet.cells.size(), 4u);
    EXPECT_TRUE(sheet.dataBars.empty());
}

TEST_F(SpreadsheetExport, ASecondExportReplacesTheFirstAndLeavesNothingElseBehind) {
    writeSpreadsheet(CellGrid{{"first"}}, target);
    writeSpreadsheet(CellGrid{{"second"}}, target);
    EXPECT_EQ(test::readFirstSheet(target).cells.at("A1").value, "second");
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1u);
}

TEST_F(SpreadsheetExport, AFailedExportLeavesTheOldFileAndSaysWhy) {
    writeSpreadsheet(CellGrid{{"old"}}, target);
    const std::string old = test::readFile(target);
    // Something in the way of the new workbook, as a file held open elsewhere would be.
    fs::create_directory(fs::path(target.string() + ".part"));
    try {
        writeSpreadsheet(CellGrid{{"new"}}, target);
        FAIL() << "the export reported success";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("无法写入电子表格文件"), std::string::npos) << e.what();
    }
    EXPECT_EQ(test::readFile(target), old);
}

TEST_F(SpreadsheetExport, AMissingFolderIsReportedInWordsAndTheLibraryPrintsNothing) {
    testing::internal::CaptureStderr();
    std::string told;
    try {
        writeSpreadsheet(CellGrid{{"x"}}, dir / "no such folder" / "lishi.xlsx");
    } catch (const StoreError& e) {
        told = e.what();
    }
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "");
    EXPECT_NE(told.find("无法建立文件，文件夹不存在或没有写入权限"), std::string::npos) << told;
    // The library's own words follow, for a bug report, without its mark.
    EXPECT_NE(told.find("No such file or directory"), std::string::npos) << told;
    EXPECT_EQ(told.find("[ERROR]"), std::string::npos) << told;
}

TEST_F(SpreadsheetExport, ATargetThatCannotBeReplacedKeepsItsContent) {
    // A folder under the target's name cannot be replaced by a file.
    fs::create_directory(target);
    fs::path inside = target / "keep.txt";
    test::writeFile(inside, "kept");
    EXPECT_THROW(writeSpreadsheet(CellGrid{{"x"}}, target), StoreError);
    EXPECT_EQ(test::readFile(inside), "kept");
    EXPECT_FALSE(fs::exists(target.string() + ".part"));
}

TEST_F(SpreadsheetExport, AnExportInTheDataFolderIsNotWrittenThroughALinkLeadingOut) {
    const fs::path data = dir / "data";
    fs::create_directories(data);
    test::writeFile(dir / "other.txt", "kept");
    fs::create_symlink("../other.txt", data / "lishi.xlsx");
    EXPECT_THROW(writeSpreadsheet(CellGrid{{"x"}}, data / "lishi.xlsx", {}, {}, data), StoreError);
    EXPECT_EQ(test::readFile(dir / "other.txt"), "kept");
    EXPECT_TRUE(fs::is_symlink(data / "lishi.xlsx"));
}

TEST_F(SpreadsheetExport, AnExportThroughALinkReplacesTheFileItPointsTo) {
    fs::create_directory(dir / "real");
    writeSpreadsheet(CellGrid{{"old"}}, dir / "real" / "lishi.xlsx");
    fs::create_symlink("real/lishi.xlsx", target);
    writeSpreadsheet(CellGrid{{"new"}}, target);
    EXPECT_TRUE(fs::is_symlink(target));
    EXPECT_EQ(test::readFirstSheet(dir / "real" / "lishi.xlsx").cells.at("A1").value, "new");
    EXPECT_FALSE(fs::exists(dir / "real" / "lishi.xlsx.part"));
}

}  // namespace
}  // namespace drawfollow
