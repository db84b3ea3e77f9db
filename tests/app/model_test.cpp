// The grid models, checked with QAbstractItemModelTester.
#include "app/history/history_model.h"
#include "app/search/text_grid_model.h"
#include "app/shell/shown_cell.h"

#include <QAbstractItemModelTester>
#include <QTest>

#include <memory>
#include <vector>

using namespace drawfollow;

namespace {

StoredDraw drawOf(int issue, std::initializer_list<int> numbers) {
    StoredDraw d;
    d.issue = issue;
    int p = 0;
    for (int n : numbers)
        d.own[index(Kind::Number)][p++] = static_cast<int16_t>(n);
    return d;
}

}  // namespace

class ModelTest : public QObject {
    Q_OBJECT

private slots:
    void historyModel() {
        HistoryModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 9);
        model.reset({drawOf(2026001, {3, 7, 12, 18, 22, 25, 29, 11}), drawOf(2026002, {1, 2, 3, 4, 5, 6, 7, 8})});
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("2026001"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("3"));  // no leading zero
        QCOMPARE(model.data(model.index(0, 8)).toString(), QStringLiteral("11"));
        model.append(drawOf(2026003, {30, 29, 28, 27, 26, 25, 24, 23}));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.data(model.index(2, 0)).toString(), QStringLiteral("2026003"));
        model.reset({});
        QCOMPARE(model.rowCount(), 0);
    }

    void historyHeaders() {
        HistoryModel model;
        const QStringList expected = {QStringLiteral("期号"),  QStringLiteral("平1码"), QStringLiteral("平2码"),
                                      QStringLiteral("平3码"), QStringLiteral("平4码"), QStringLiteral("平5码"),
                                      QStringLiteral("平6码"), QStringLiteral("平7码"), QStringLiteral("特码")};
        for (int c = 0; c < 9; ++c)
            QCOMPARE(model.headerData(c, Qt::Horizontal).toString(), expected[c]);
    }

    void textGridModel() {
        TextGridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 0);
        model.setGrid({{"序号", "结果", "出现次数", "百分比"}, {"1", "狗", "3", "37.500%"}, {"2", "鼠"}});
        QCOMPARE(model.columnCount(), 4);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("出现次数"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("狗"));
        QCOMPARE(model.data(model.index(1, 3)).toString(), QString());  // a short row: empty cell
        model.setGrid({{"序号", "结果", "出现次数", "百分比"}});
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(model.columnCount(), 4);
    }

    // A grid of a long history's hits: a view's cell asks for its line only, the line's
    // other cells come from the same making, and the last line is as reachable as the first.
    void linesMadeOnDemand() {
        constexpr size_t kLines = 100000;
        auto made = std::make_shared<std::vector<size_t>>();
        TextGridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setGrid(RowGrid(textCells({"期号", "平1位", "前期开奖"}), kLines, [made](size_t line) {
            made->push_back(line);
            return std::vector<GridCell>{GridCell::whole(2000000 + static_cast<long long>(line)), "鼠"};
        }));
        QCOMPARE(model.rowCount(), static_cast<int>(kLines));
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("前期开奖"));
        made->clear();
        const int last = static_cast<int>(kLines) - 1;
        QCOMPARE(model.data(model.index(last, 0)).toString(), QStringLiteral("2099999"));
        QCOMPARE(shownCell(model.index(last, 0)), GridCell::whole(2099999));
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("2000000"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("鼠"));
        QCOMPARE(model.data(model.index(0, 2)).toString(), QString());  // a short line: empty cell
        QCOMPARE(*made, (std::vector<size_t>{kLines - 1, 0}));

        // A new grid drops the line kept from the old one.
        model.setGrid(CellGrid{textCells({"期号", "平1位", "前期开奖"}), {"2026001", "牛", "01 02"}});
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("牛"));
    }

    // A figure is shown as its text and handed to a file as the number it is; a text cell,
    // however numeric it looks, stays text.
    void figuresAreShownAsTextAndExportedAsNumbers() {
        TextGridModel model;
        model.setGrid({{"序号", "结果", "出现次数", "百分比"},
                       {GridCell::whole(1), "07", GridCell::whole(12), GridCell::percent(12, 35)}});
        QCOMPARE(model.data(model.index(0, 0)).toString(), QStringLiteral("1"));
        QCOMPARE(model.data(model.index(0, 3)).toString(), QStringLiteral("34.286%"));
        QCOMPARE(shownCell(model.index(0, 3)), GridCell::percent(12, 35));
        QCOMPARE(shownCell(model.index(0, 1)), GridCell("07"));
        const CellGrid grid = shownGrid(model);
        QCOMPARE(grid, model.grid().cells());

        HistoryModel history;
        history.reset({drawOf(2026001, {3, 7, 12, 18, 22, 25, 29, 11})});
        const CellGrid historyCells = shownGrid(history);
        QCOMPARE(historyCells[0][0], GridCell("期号"));
        QCOMPARE(historyCells[1][0], GridCell::whole(2026001));
        QCOMPARE(historyCells[1][1], GridCell::whole(3));
    }
};

QTEST_GUILESS_MAIN(ModelTest)
#include "model_test.moc"
