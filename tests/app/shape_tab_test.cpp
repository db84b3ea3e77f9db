// The 形态 tab of the 走势图 window: the grid of every draw's shape, the chosen measure's
// chart, verdict and omission, the scope it follows, and its workbook.
#include "app/trend/shape_grid_model.h"
#include "database_probes.h"
#include "support/history_builder.h"
#include "window_session.h"
#include "xlsx_sheet_reader.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

// Worked out by hand: sums 83, 76, 70 regular; the special numbers 16, 11, 30.
std::vector<DrawInput> handDraws() {
    return {draw(2026001, {1, 2, 3, 10, 15, 22, 30, 16}), draw(2026002, {5, 6, 7, 8, 9, 20, 21, 11}),
            draw(2026003, {1, 2, 5, 6, 11, 16, 29, 30})};
}

QString cell(const QAbstractItemModel& m, int row, int column) {
    return m.data(m.index(row, column)).toString();
}

constexpr int kShapeTabIndex = 4;

}  // namespace

class ShapeTabTest : public QObject {
    Q_OBJECT

private slots:
    void gridShowsEveryMeasureOfEveryDraw() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        ShapeGridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTable(readShapes(*s.history().database(), TallyScope::Regular));
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 9);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("和值"));
        QCOMPARE(model.headerData(8, Qt::Horizontal).toString(), QStringLiteral("区间"));
        QCOMPARE(model.headerData(2, Qt::Vertical).toInt(), 2026003);
        QStringList first;
        for (int c = 0; c < model.columnCount(); ++c)
            first << cell(model, 0, c);
        // The history's first draw has no draw before it: no 重号.
        QCOMPARE(first.join(u' '), QStringLiteral("83 29 3 2 3 2  10 4:1:2"));
        QCOMPARE(cell(model, 2, 6), QStringLiteral("2"));
        QCOMPARE(model.data(model.index(0, 0), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
    }

    void readsWhenInSightAndFollowsTheScopeAndTheHistory() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
        FIND(QTabWidget, tabs, s, "trendTabs");
        FIND(QTableView, grid, s, "shapeGrid");
        // Nothing read while another tab is in sight.
        QCOMPARE(grid->model()->rowCount(), 0);
        tabs->setCurrentIndex(kShapeTabIndex);
        QCOMPARE(tabs->tabText(kShapeTabIndex), QStringLiteral("形态"));
        QTRY_COMPARE(grid->model()->rowCount(), 3);
        // The window opens on 平特: the special numbers join the sum.
        QCOMPARE(cell(*grid->model(), 0, 0), QStringLiteral("99"));
        s.find<QComboBox>(QStringLiteral("trendScope"))->setCurrentIndex(1);  // 平码
        QTRY_COMPARE(cell(*grid->model(), 0, 0), QStringLiteral("83"));

        FIND(QLabel, verdict, s, "shapeVerdict");
        QCOMPARE(verdict->text(), QStringLiteral("无法与随机抽取比较（期数太少，期望次数凑不满两组）"));
        s.find<QComboBox>(QStringLiteral("trendScope"))->setCurrentIndex(2);  // 特码
        QTRY_COMPARE(grid->model()->rowCount(), 0);
        QVERIFY2(verdict->text().contains(QStringLiteral("只看平码或平特")), qPrintable(verdict->text()));
        s.find<QComboBox>(QStringLiteral("trendScope"))->setCurrentIndex(1);

        const EntryOutcome stored = s.history().storeDraw(
            QString::number(s.history().nextIssue()),
            {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
             QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("30")});
        QVERIFY2(stored.stored, qPrintable(stored.problem));
        QTRY_COMPARE(grid->model()->rowCount(), 4);
        QCOMPARE(cell(*grid->model(), 3, 6), QStringLiteral("4"));  // 1 2 5 6 again
    }

    void theChosenMeasureShowsItsChanceAndOmission() {
        WindowSession s;
        s.seed(seededDraws(200, 9, 2014001));
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
        s.find<QTabWidget>(QStringLiteral("trendTabs"))->setCurrentIndex(kShapeTabIndex);
        FIND(QComboBox, measure, s, "shapeMeasure");
        FIND(QTableView, omission, s, "shapeOmission");
        FIND(QChartView, chart, s, "shapeChart");
        FIND(QLabel, verdict, s, "shapeVerdict");
        FIND(QTableView, grid, s, "shapeGrid");
        QTRY_COMPARE(grid->model()->rowCount(), 200);
        measure->setCurrentIndex(2);  // 奇偶 of eight numbers: 0..8
        QCOMPARE(omission->model()->rowCount(), 9);
        QCOMPARE(omission->model()->data(omission->model()->index(8, 0)).toString(), QStringLiteral("8"));
        const auto bars = chart->chart()->series();
        QCOMPARE(bars.size(), 1);
        const QList<QBarSet*> sets = static_cast<QBarSeries*>(bars.front())->barSets();
        QCOMPARE(sets.size(), 2);
        double observed = 0, expected = 0;
        for (int i = 0; i < sets[0]->count(); ++i) {
            observed += sets[0]->at(i);
            expected += sets[1]->at(i);
        }
        QCOMPARE(observed, 200.0);
        QVERIFY(qAbs(expected - 200.0) < 1e-9);
        QVERIFY2(verdict->text().startsWith(QStringLiteral("卡方 ")), qPrintable(verdict->text()));

        // A click on a measure's column shows that measure.
        emit grid->horizontalHeader()->sectionClicked(8);
        QCOMPARE(measure->currentText(), QStringLiteral("区间"));
        QCOMPARE(omission->model()->rowCount(), 45);  // a + b + c = 8, none above 8
    }

    // A change of the history on another thread: the tab, brought into sight meanwhile, waits
    // for it instead of waiting on the database with the window frozen.
    void holdsItsReadWhileTheHistoryChanges() {
        WindowSession s;
        s.seed(seededDraws(30, 4, 2014001));
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
        FIND(QTableView, grid, s, "shapeGrid");
        HeldWriteLock lock(s.databaseFile());
        s.dialogs().setNextInput(QStringLiteral("2014016"));
        s.find<QAction>(QStringLiteral("mnuDlzd"))->trigger();
        s.find<QTabWidget>(QStringLiteral("trendTabs"))->setCurrentIndex(kShapeTabIndex);
        QCOMPARE(grid->model()->rowCount(), 0);
        lock.release();
        QVERIFY(s.finishWork());
        QVERIFY(s.history().history().size() < 30);
        QTRY_COMPARE(grid->model()->rowCount(), static_cast<int>(s.history().history().size()));
        QCOMPARE(grid->model()->headerData(0, Qt::Vertical).toInt(), s.history().history().front().issue);
        // Now the first of the history: nothing before it to repeat.
        QCOMPARE(cell(*grid->model(), 0, 6), QString());
    }

    // Read on a worker from the shared snapshot: two choices in quick succession end on the
    // shapes of the second, as computed directly.
    void quickChoicesEndOnTheShapesOfTheLast() {
        WindowSession s;
        s.seed(seededDraws(3000, 5, 2007001));
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
        s.find<QTabWidget>(QStringLiteral("trendTabs"))->setCurrentIndex(kShapeTabIndex);
        FIND(QTableView, grid, s, "shapeGrid");
        s.find<QComboBox>(QStringLiteral("trendScope"))->setCurrentIndex(1);  // 平码, all 3,000
        s.find<QPushButton>(QStringLiteral("trendLast30"))->click();
        QVERIFY(s.finishAllWork());
        QTRY_COMPARE(grid->model()->rowCount(), 30);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(grid->model()->rowCount(), 30);
        const IssueRange last30{s.history().history()[2970].issue, {}};
        ShapeGridModel expected;
        expected.setTable(shapesOf(*s.history().snapshot(), TallyScope::Regular, last30));
        for (int row = 0; row < expected.rowCount(); ++row)
            for (int column = 0; column < expected.columnCount(); ++column)
                QCOMPARE(cell(*grid->model(), row, column), cell(expected, row, column));
    }

    void exportsTheGridWithItsIssues() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
        s.find<QComboBox>(QStringLiteral("trendScope"))->setCurrentIndex(1);  // 平码
        s.find<QTabWidget>(QStringLiteral("trendTabs"))->setCurrentIndex(kShapeTabIndex);
        FIND(QTableView, grid, s, "shapeGrid");
        QTRY_COMPARE(grid->model()->rowCount(), 3);
        FIND_ENABLED(QPushButton, exportButton, s, "trendExport");
        exportButton->click();
        QVERIFY(s.finishWrites());
        const Sheet sheet = readFirstSheet(s.dataDir() / "xingtai.xlsx");
        QCOMPARE(sheet.cells.at("A1").value, std::string("期号"));
        QCOMPARE(sheet.cells.at("B1").value, std::string("和值"));
        QCOMPARE(sheet.cells.at("A2").value, std::string("2026001"));
        QCOMPARE(sheet.cells.at("B2").value, std::string("83"));
        QCOMPARE(sheet.cells.at("J2").value, std::string("4:1:2"));
        QCOMPARE(sheet.cells.at("H4").value, std::string("2"));
        QVERIFY(s.dialogs().messages().isEmpty());
    }
};

QTEST_MAIN(ShapeTabTest)
#include "shape_tab_test.moc"
