// The exports driven through the window: Command4's text file, and the three grids as
// workbooks from mnuDcls and a double click, each handed to the system's program; a file
// that cannot be written or opened is explained, and the window goes on working.
#include "app/history/file_exports.h"
#include "app/shell/flex_grid.h"
#include "io/history_text.h"
#include "store/text_grid.h"
#include "support/history_builder.h"
#include "window_session.h"
#include "xlsx_sheet_reader.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace fs = std::filesystem;

namespace {

QString pathOf(const fs::path& p) {
    return QString::fromStdString(p.string());
}

FlexGrid* grid(WindowSession& s, int n) {
    return s.find<FlexGrid>(QStringLiteral("MSFlexGrid%1").arg(n));
}

void doubleClickCell(FlexGrid* g) {
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(g->model()->index(0, 0)).center());
}

// "A1" for grid cell (0, 0): the cell a grid cell is copied to.
std::string sheetCell(size_t row, size_t column) {
    return std::string(1, static_cast<char>('A' + column)) + std::to_string(row + 1);
}

// The cells of a grid as it shows them, its header row first.
TextGrid gridTexts(const QAbstractItemModel& grid) {
    TextGrid texts;
    auto& header = texts.emplace_back();
    for (int c = 0; c < grid.columnCount(); ++c)
        header.push_back(grid.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().toStdString());
    for (int r = 0; r < grid.rowCount(); ++r) {
        auto& row = texts.emplace_back();
        for (int c = 0; c < grid.columnCount(); ++c)
            row.push_back(grid.index(r, c).data(Qt::DisplayRole).toString().toStdString());
    }
    return texts;
}

// Every text of the grid, header row included, is in the sheet at its place.
void expectSheetHolds(const fs::path& file, const TextGrid& texts) {
    const Sheet sheet = readFirstSheet(file);
    QCOMPARE(sheet.name, std::string("Sheet1"));
    size_t filled = 0;
    for (size_t r = 0; r < texts.size(); ++r)
        for (size_t c = 0; c < texts[r].size(); ++c) {
            if (texts[r][c].empty())
                continue;
            ++filled;
            const auto cell = sheet.cells.find(sheetCell(r, c));
            QVERIFY2(cell != sheet.cells.end(), sheetCell(r, c).c_str());
            QCOMPARE(shownText(cell->second), texts[r][c]);
        }
    QCOMPARE(sheet.cells.size(), filled);
}

// What grid n exports: the tally its four columns without the window's chance columns.
TextGrid exportedTexts(const QAbstractItemModel& model, int n) {
    TextGrid texts = gridTexts(model);
    if (n == 3)
        for (std::vector<std::string>& row : texts)
            row.resize(4);
    return texts;
}

}  // namespace

class FileExportsTest : public QObject {
    Q_OBJECT

private slots:
    void textExportWritesOneCanonicalLinePerDrawAndOpensTheFile() {
        WindowSession s;
        const std::vector<DrawInput> draws = {draw(2013148, {3, 7, 12, 18, 22, 25, 29, 11}),
                                              draw(2013149, {1, 2, 3, 4, 5, 6, 7, 8}),
                                              draw(2013150, {30, 21, 9, 10, 19, 20, 28, 27})};
        s.seed(draws);
        QVERIFY(s.start());
        FIND_ENABLED(QPushButton, command4, s, "Command4");
        QVERIFY(s.clickAndWait(QStringLiteral("Command4")));  // written off the window's thread
        const fs::path file = s.dataDir() / fs::path(u8"更新至2013150期历史号码.txt");
        QCOMPARE(readFile(file), std::string("2013148 03 07 12 18 22 25 29 11 \r\n"
                                             "2013149 01 02 03 04 05 06 07 08 \r\n"
                                             "2013150 30 21 09 10 19 20 28 27 \r\n"));
        QCOMPARE(s.dialogs().openedFiles(), QStringList{pathOf(file)});
        QVERIFY(s.dialogs().messages().isEmpty());
        // A second export overwrites the same file, and the file imports back to the same draws.
        QVERIFY(s.clickAndWait(QStringLiteral("Command4")));
        QCOMPARE(s.dialogs().openedFiles().size(), 2);
        QCOMPARE(readHistoryFile(file).draws, draws);
    }

    void anEmptyHistoryWritesAnEmptyFileWithoutAnIssueInItsName() {
        WindowSession s;
        QVERIFY(s.start());
        QVERIFY(s.clickAndWait(QStringLiteral("Command4")));
        QCOMPARE(readFile(s.dataDir() / fs::path(u8"更新至期历史号码.txt")), std::string());
    }

    void aTextFileThatCannotBeWrittenIsReportedAndNothingIsOpened() {
        WindowSession s;
        s.seed({draw(2013001, {1, 2, 3, 4, 5, 6, 7, 8})});
        QVERIFY(s.start());
        fs::create_directories(s.dataDir() / fs::path(u8"更新至2013001期历史号码.txt") / "in the way");
        QVERIFY(s.clickAndWait(QStringLiteral("Command4")));
        QCOMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(s.dialogs().messages().first().kind, MessageKind::Warning);
        QVERIFY(s.dialogs().lastText().contains(QStringLiteral("未能导出")));
        QVERIFY(s.dialogs().openedFiles().isEmpty());
    }

    void aFileWithoutAProgramToOpenItIsNamedInTheStatusBar() {
        WindowSession s;
        s.seed({draw(2013001, {1, 2, 3, 4, 5, 6, 7, 8})});
        QVERIFY(s.start());
        s.dialogs().setOpenSucceeds(false);
        QVERIFY(s.clickAndWait(QStringLiteral("Command4")));
        QVERIFY(s.window().statusBar()->currentMessage().contains(QStringLiteral("没有可以打开文本文件的程序")));
        s.find<QAction>(QStringLiteral("mnuDcls"))->trigger();
        QVERIFY(s.finishWrites());
        QVERIFY(s.dialogs().messages().isEmpty());
        const QString said = s.window().statusBar()->currentMessage();
        QVERIFY2(said.contains(pathOf(s.dataDir() / "lishi.xlsx")) && said.contains(QStringLiteral("没有可以打开")),
                 qPrintable(said));
        QVERIFY(fs::exists(s.dataDir() / "lishi.xlsx"));
    }

    void theHistoryGridFromTheMenuGivesAHundredAndOneRowsOfNineColumns() {
        WindowSession s;
        const auto draws = seededDraws(100, 5, 2013001);
        s.seed(draws);
        QVERIFY(s.start());
        FIND_ENABLED(QAction, menu, s, "mnuDcls");
        menu->trigger();
        QVERIFY(s.finishWrites());
        const fs::path file = s.dataDir() / "lishi.xlsx";
        const Sheet sheet = readFirstSheet(file);
        QCOMPARE(sheet.dimension, std::string("A1:I101"));
        QCOMPARE(sheet.cells.at("A1").value, std::string("期号"));
        QCOMPARE(sheet.cells.at("I1").value, std::string("特码"));
        QVERIFY(sheet.cells.at("A101").isNumber);
        QCOMPARE(sheet.cells.at("A101").value, std::to_string(draws.back().issue));
        expectSheetHolds(file, gridTexts(*grid(s, 1)->model()));
        QCOMPARE(s.dialogs().openedFiles(), QStringList{pathOf(file)});
    }

    // The cells are read off the window's thread from what the grid showed when asked: a
    // change of the history right after does not reach the workbook.
    void theWorkbookHoldsTheGridAsItWasWhenAsked() {
        WindowSession s;
        s.seed(seededDraws(100, 5, 2013001));
        QVERIFY(s.start());
        const TextGrid shown = gridTexts(*grid(s, 1)->model());
        s.find<QAction>(QStringLiteral("mnuDcls"))->trigger();
        QVERIFY(s.clickAndWait(QStringLiteral("Command3")));
        QCOMPARE(grid(s, 1)->model()->rowCount(), 99);
        QVERIFY(s.finishWrites());
        expectSheetHolds(s.dataDir() / "lishi.xlsx", shown);
    }

    void aDoubleClickExportsEachGridUnderItsOwnName() {
        WindowSession s;
        s.seed(seededDraws(60, 8, 2013001));
        QVERIFY(s.start());
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(grid(s, 2)->model()->rowCount() > 0);
        QVERIFY(grid(s, 3)->model()->rowCount() > 0);
        const std::pair<int, const char*> grids[] = {{1, "lishi.xlsx"}, {2, "Jiansuo.xlsx"}, {3, "Jieguo.xlsx"}};
        for (const auto& [n, name] : grids) {
            doubleClickCell(grid(s, n));
            QVERIFY(s.finishWrites());
            QVERIFY2(fs::exists(s.dataDir() / name), name);
            expectSheetHolds(s.dataDir() / name, exportedTexts(*grid(s, n)->model(), n));
            QCOMPARE(s.dialogs().openedFiles().last(), pathOf(s.dataDir() / name));
        }
        QCOMPARE(s.dialogs().openedFiles().size(), 3);
    }

    void aGridShowingOnlyItsHeaderExportsOneRow() {
        WindowSession s;
        QVERIFY(s.start());
        FlexGrid* tally = grid(s, 3);
        QCOMPARE(tally->model()->rowCount(), 0);
        // The header row and the empty space below it both take the double click.
        QHeaderView* header = tally->horizontalHeader();
        QTest::mouseDClick(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(1) + header->sectionSize(1) / 2, header->height() / 2));
        QVERIFY(s.finishWrites());
        QTest::mouseDClick(tally->viewport(), Qt::LeftButton, {}, tally->viewport()->rect().center());
        QVERIFY(s.finishWrites());
        QCOMPARE(s.dialogs().openedFiles().size(), 2);
        const Sheet sheet = readFirstSheet(s.dataDir() / "Jieguo.xlsx");
        QCOMPARE(sheet.dimension, std::string("A1:D1"));
        expectSheetHolds(s.dataDir() / "Jieguo.xlsx", exportedTexts(*tally->model(), 3));
    }

    // The workbook is written off the window's thread; until it is, a second one is refused.
    void aSecondWorkbookWaitsUntilTheFirstIsWritten() {
        WindowSession s;
        s.seed(seededDraws(5));
        QVERIFY(s.start());
        const QString lishi = pathOf(s.dataDir() / "lishi.xlsx");
        doubleClickCell(grid(s, 1));
        QCOMPARE(s.window().statusBar()->currentMessage(), QStringLiteral("正在写入“%1”…").arg(lishi));
        doubleClickCell(grid(s, 1));
        QCOMPARE(s.window().statusBar()->currentMessage(), QStringLiteral("上一个表格还在写入，请稍候再导出。"));
        QVERIFY(s.finishWrites());
        QCOMPARE(s.dialogs().openedFiles(), QStringList{lishi});
        QCOMPARE(s.window().statusBar()->currentMessage(), QStringLiteral("已将表格导出到“%1”。").arg(lishi));
        doubleClickCell(grid(s, 1));
        QVERIFY(s.finishWrites());
        QCOMPARE(s.dialogs().openedFiles().size(), 2);
    }

    void aWorkbookThatCannotBeReplacedIsReportedAndTheWindowGoesOn() {
        WindowSession s;
        s.seed(seededDraws(5));
        QVERIFY(s.start());
        // Something that cannot be replaced stands under the workbook's name.
        const fs::path blocked = s.dataDir() / "Jiansuo.xlsx";
        fs::create_directories(blocked / "in the way");
        doubleClickCell(grid(s, 1));
        QVERIFY(s.finishWrites());
        QTest::mouseDClick(grid(s, 2)->viewport(), Qt::LeftButton, {}, grid(s, 2)->viewport()->rect().center());
        QVERIFY(s.finishWrites());
        QCOMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(s.dialogs().messages().first().kind, MessageKind::Warning);
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("Jiansuo.xlsx")), qPrintable(s.dialogs().lastText()));
        QCOMPARE(s.dialogs().openedFiles(), QStringList{pathOf(s.dataDir() / "lishi.xlsx")});
        QVERIFY(fs::is_directory(blocked / "in the way"));
        // Once it is out of the way the same double click works.
        fs::remove_all(blocked);
        QTest::mouseDClick(grid(s, 2)->viewport(), Qt::LeftButton, {}, grid(s, 2)->viewport()->rect().center());
        QVERIFY(s.finishWrites());
        QVERIFY(fs::is_regular_file(blocked));
        QCOMPARE(s.dialogs().openedFiles().size(), 2);
    }
};

QTEST_MAIN(FileExportsTest)
#include "file_exports_test.moc"
