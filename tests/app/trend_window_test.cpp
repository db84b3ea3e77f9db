// The 走势图 window: its grid model over a history small enough to check by hand, and the
// window as the menu and the history button open it.
#include "app/trend/trend_window.h"
#include "app/shell/spreadsheet_writer.h"
#include "app/shell/work_runner.h"
#include "app/trend/count_axis.h"
#include "app/trend/omission_bar_delegate.h"
#include "app/trend/omission_table_model.h"
#include "app/trend/trend_ball_delegate.h"
#include "app/trend/trend_chart_data.h"
#include "app/trend/trend_grid_model.h"
#include "database_probes.h"
#include "support/history_builder.h"
#include "window_session.h"
#include "xlsx_sheet_reader.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QValueAxis>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

// Number 1 in the first two draws, 2 in the first and the last, 29 never; tail 1 twice in
// the second draw (1 and 11).
std::vector<DrawInput> handDraws() {
    return {draw(2026001, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2026002, {1, 11, 12, 13, 14, 15, 16, 17}),
            draw(2026003, {21, 22, 23, 24, 25, 26, 27, 2})};
}

TrendTable handTrend(WindowSession& s, Kind kind, IssueRange range = {}) {
    return readTrend(*s.history().database(), {kind, TallyScope::All, s.history().derivation()}, range);
}

QString cell(const QAbstractItemModel& m, int row, int column, int role = Qt::DisplayRole) {
    return m.data(m.index(row, column), role).toString();
}

// A colour as the workbook writes it, "FFRRGGBB".
std::string argb(const QColor& colour) {
    return colour.name(QColor::HexArgb).toUpper().remove(u'#').toStdString();
}

std::string argbOf(const QAbstractItemModel& m, int row, int column, int role) {
    return argb(m.data(m.index(row, column), role).value<QBrush>().color());
}

const QString kReading = QStringLiteral("正在读取……");

// Opens the window from the menu and waits for its first table, which a worker reads.
bool openTrend(WindowSession& s) {
    s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
    auto* note = s.find<QLabel>(QStringLiteral("trendNote"));
    return QTest::qWaitFor([note] { return note->text() != kReading; });
}

}  // namespace

class TrendWindowTest : public QObject {
    Q_OBJECT

private slots:
    void gridShowsBallsOmissionsAndFigures() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        TrendGridModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTable(handTrend(s, Kind::Number));
        QCOMPARE(model.columnCount(), 30);
        QCOMPARE(model.rowCount(), 3 + 5);  // the draws, then five summary lines
        QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QStringLiteral("2026003"));
        QCOMPARE(model.headerData(3, Qt::Vertical).toString(), QStringLiteral("出现次数"));
        QCOMPARE(model.headerData(7, Qt::Vertical).toString(), QStringLiteral("当前遗漏"));

        const int one = 0;
        const int two = 1;
        const int never = 28;  // 29
        QCOMPARE(model.headerData(never, Qt::Horizontal).toString(), QStringLiteral("29"));
        // Drawn: a ball with the value; not drawn: the omission, grey and without a ball.
        QCOMPARE(cell(model, 0, one, TrendGridModel::DrawnCountRole), QStringLiteral("1"));
        QCOMPARE(cell(model, 2, one), QStringLiteral("1"));
        QCOMPARE(cell(model, 2, one, TrendGridModel::DrawnCountRole), QStringLiteral("0"));
        QVERIFY(model.data(model.index(2, one), Qt::ForegroundRole).isValid());
        QVERIFY(!model.data(model.index(0, one), Qt::ForegroundRole).isValid());
        QCOMPARE(cell(model, 1, two), QStringLiteral("1"));  // one draw since 2 came
        const QStringList neverColumn{cell(model, 0, never), cell(model, 1, never), cell(model, 2, never)};
        QCOMPARE(neverColumn, QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
        // The summary lines: 出现次数, 平均遗漏, 最大遗漏, 最大连出, 当前遗漏; never a ball.
        QStringList oneFigures, neverFigures;
        for (int row = 3; row < 8; ++row) {
            oneFigures << cell(model, row, one);
            neverFigures << cell(model, row, never);
            QCOMPARE(cell(model, row, one, TrendGridModel::DrawnCountRole), QStringLiteral("0"));
        }
        QCOMPARE(oneFigures.join(u' '), QStringLiteral("2 0.33 1 2 1"));
        QCOMPARE(neverFigures.join(u' '), QStringLiteral("0 3.00 3 0 3"));
        // A figure too wide for its cell is printed smaller; the tooltip says it in full.
        QCOMPARE(cell(model, 4, one, Qt::ToolTipRole), QStringLiteral("1 的平均遗漏：0.33"));
        QVERIFY(!model.data(model.index(0, one), Qt::ToolTipRole).isValid());

        // Twice in one draw, the ball shows the count instead of the value.
        model.setTable(handTrend(s, Kind::Tail));
        const int tailOne = 1 - model.table().column(0).value;
        QCOMPARE(cell(model, 1, tailOne, TrendGridModel::DrawnCountRole), QStringLiteral("2"));
        QCOMPARE(cell(model, 1, tailOne), QStringLiteral("2"));
        QCOMPARE(cell(model, 2, tailOne), QStringLiteral("1"));  // 21
    }

    void heatComparesTheCurrentOmissionWithTheAverage() {
        struct Case {
            int current;
            double average;
            Heat heat;
        };
        for (const Case& c : {Case{0, 1.0, Heat::Hot}, Case{1, 2.0, Heat::Neither}, Case{1, 2.5, Heat::Hot},
                              Case{4, 2.0, Heat::Neither}, Case{5, 2.0, Heat::Cold}, Case{0, 0.0, Heat::Neither}}) {
            ValueFigures v;
            v.current = c.current;
            v.average = c.average;
            QCOMPARE(heatOf(v), c.heat);
        }
    }

    void omissionTableSortsByNumbersAndBarsTheCurrentOmission() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        OmissionTableModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setTable(handTrend(s, Kind::Number));
        QCOMPARE(model.rowCount(), 30);
        QCOMPARE(model.headerData(model.currentColumn(), Qt::Horizontal).toString(), QStringLiteral("当前遗漏"));
        // 1: current 1 of the longest 3 (never drawn); 2 just drawn.
        QCOMPARE(model.data(model.index(0, model.currentColumn()), OmissionTableModel::BarFractionRole).toDouble(),
                 1.0 / 3);
        QCOMPARE(model.data(model.index(1, model.currentColumn()), OmissionTableModel::BarFractionRole).toDouble(),
                 0.0);
        QVERIFY(!model.data(model.index(0, 0), OmissionTableModel::BarFractionRole).isValid());
        const int heat = model.columnCount() - 1;
        QCOMPARE(cell(model, 1, heat), QStringLiteral("热"));  // 2: current 0, average 0.33
        QCOMPARE(cell(model, 0, heat), QStringLiteral("冷"));  // 1: current 1, over twice its average 0.33
        QCOMPARE(cell(model, 28, heat), QString());            // 29: never drawn, current 3 and average 3.00
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(OmissionTableModel::SortRole);
        sorted.sort(0, Qt::DescendingOrder);
        // By the value, not its text, and the same for every figure.
        QCOMPARE(cell(sorted, 0, 0), cell(model, 29, 0));
        QCOMPARE(cell(sorted, 29, 0), cell(model, 0, 0));
        const int average = 5;  // 值, 出现次数, 出现期数, 当前遗漏, 最大遗漏, 平均遗漏
        QCOMPARE(model.headerData(average, Qt::Horizontal).toString(), QStringLiteral("平均遗漏"));
        sorted.sort(average, Qt::AscendingOrder);
        QCOMPARE(cell(sorted, 0, average), QStringLiteral("0.33"));
        QCOMPARE(cell(sorted, 29, average), QStringLiteral("3.00"));
    }

    void chartsCountPerWindowAndExpectTheWholeHistorysRate() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        const TrendTable whole = handTrend(s, Kind::Number);
        QCOMPARE(windowCounts(whole, 0, 1), std::vector<int>({1, 1, 0}));
        QCOMPARE(windowCounts(whole, 0, 2), std::vector<int>({2, 1}));
        QCOMPARE(windowCounts(whole, 1, 3), std::vector<int>({2}));
        QVERIFY(windowCounts(whole, 0, 4).empty());
        // 1 came twice in three draws: in the last two, 2 × 2/3 expected.
        const std::vector<double> expected =
            expectedCounts(handTrend(s, Kind::Number, {2026002, {}}), countsPerDraw(whole));
        QCOMPARE(expected.size(), size_t(30));
        QCOMPARE(expected[0], 4.0 / 3);
        QCOMPARE(expected[28], 0.0);
        const std::vector<double> none =
            expectedCounts(whole, countsPerDraw(handTrend(s, Kind::Number, {2027001, {}})));
        QCOMPARE(none, std::vector<double>(30, 0.0));
    }

    // Each new range draws the charts again: what the old drawing had goes, axes included,
    // which the chart no longer owns once taken off.
    void aChartClearedForANewDrawingKeepsNothingOfTheOld() {
        QChart chart;
        auto* series = new QLineSeries;
        chart.addSeries(series);
        QValueAxis* counts = countAxis(12);
        chart.addAxis(counts, Qt::AlignLeft);
        series->attachAxis(counts);
        const QPointer<QObject> seriesKept(series);
        const QPointer<QObject> axisKept(counts);
        clearChart(chart);
        QVERIFY(chart.series().isEmpty());
        QVERIFY(chart.axes().isEmpty());
        QVERIFY(seriesKept.isNull());
        QVERIFY(axisKept.isNull());
    }

    // A long line is drawn from fewer points that keep its every turn at the chart's width.
    void aLongLineKeepsEachPixelColumnsExtremes() {
        std::vector<int> counts(10007);
        std::mt19937 random(11);
        for (int& c : counts)
            c = std::uniform_int_distribution<int>(0, 10)(random);
        counts[5000] = 40;  // one spike, as a value's run of luck
        const int buckets = 100;
        const std::vector<LinePoint> line = pixelLine(counts, 10, buckets);
        QVERIFY(line.size() <= size_t(4 * buckets));
        QCOMPARE(line.front().x, 10);
        QCOMPARE(line.back().x, 10 + 10006);
        for (size_t i = 0; i < line.size(); ++i) {
            QCOMPARE(line[i].y, counts[size_t(line[i].x - 10)]);
            QVERIFY(i == 0 || line[i].x > line[i - 1].x);
        }
        const size_t perBucket = (counts.size() + buckets - 1) / buckets;
        for (size_t begin = 0; begin < counts.size(); begin += perBucket) {
            const size_t end = std::min(counts.size(), begin + perBucket);
            const auto [low, high] = std::minmax_element(counts.begin() + long(begin), counts.begin() + long(end));
            int lowest = 1000, highest = -1;
            for (const LinePoint& p : line)
                if (size_t(p.x - 10) >= begin && size_t(p.x - 10) < end) {
                    lowest = std::min(lowest, p.y);
                    highest = std::max(highest, p.y);
                }
            QCOMPARE(lowest, *low);
            QCOMPARE(highest, *high);
        }
        // Short enough: every point as it is.
        const std::vector<int> few(counts.begin(), counts.begin() + 400);
        const std::vector<LinePoint> all = pixelLine(few, 2, buckets);
        QCOMPARE(all.size(), few.size());
        QCOMPARE(all[399].x, 401);
        QCOMPARE(all[399].y, few[399]);
    }

    void countAxesPutTheirLinesOnWholeCounts() {
        struct Case {
            double highest;
            int step;
            int top;
        };
        for (const Case& c : {Case{0, 1, 1}, Case{5, 1, 6}, Case{6, 1, 7}, Case{7, 2, 8}, Case{8, 2, 10},
                              Case{103, 20, 120}, Case{100, 20, 120}, Case{1234.5, 500, 1500}}) {
            const CountScale scale = countScale(c.highest);
            QCOMPARE(scale.step, c.step);
            QCOMPARE(scale.top, c.top);
        }
    }

    void opensFromTheMenuAndTheHistoryButtonAtTheNewestDraw() {
        WindowSession s;
        s.seed(seededDraws(300));
        QVERIFY(s.start());
        FIND_ENABLED(QAction, menuItem, s, "mnuTrend");
        menuItem->trigger();
        FIND(QDialog, trend, s, "frmTrend");
        QTRY_VERIFY(trend->isVisible());
        FIND(QTableView, grid, s, "trendGrid");
        QTRY_COMPARE(grid->model()->rowCount(), 300 + 5);
        QCOMPARE(grid->verticalScrollBar()->value(), grid->verticalScrollBar()->maximum());
        QVERIFY(grid->verticalScrollBar()->maximum() > 0);

        s.find<QPushButton>(QStringLiteral("trendLast30"))->click();
        QTRY_COMPARE(grid->model()->rowCount(), 30 + 5);
        s.find<QComboBox>(QStringLiteral("trendKind"))->setCurrentIndex(3);  // 尾数
        QTRY_COMPARE(grid->model()->columnCount(), 10);
        QCOMPARE(grid->model()->rowCount(), 30 + 5);

        // A range the history cannot give is said, not shown as an empty chart.
        FIND(QLabel, note, s, "trendNote");
        s.find<QLineEdit>(QStringLiteral("trendFirst"))->setText(QStringLiteral("2099001"));
        s.find<QLineEdit>(QStringLiteral("trendLast"))->setText(QStringLiteral("2013001"));
        s.find<QPushButton>(QStringLiteral("trendShow"))->click();
        QVERIFY(note->isVisible());
        QVERIFY(!note->text().isEmpty());
        s.find<QPushButton>(QStringLiteral("trendLast0"))->click();
        QTRY_VERIFY(note->isHidden());
        QCOMPARE(grid->model()->rowCount(), 300 + 5);

        trend->hide();
        FIND_ENABLED(QPushButton, button, s, "cmdTrend");
        button->click();
        QTRY_VERIFY(trend->isVisible());
        QCOMPARE(s.window().findChildren<QDialog*>(QStringLiteral("frmTrend")).size(), 1);
    }

    // A long history's table is read on a worker: the window is up before it, and the
    // grid then holds the very table the database gives.
    void opensAtOnceAndFillsTheGridWhenTheTableArrives() {
        WindowSession s;
        s.seed(seededDraws(40, 6));
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
        FIND(QDialog, trend, s, "frmTrend");
        FIND(QTableView, grid, s, "trendGrid");
        FIND(QLabel, note, s, "trendNote");
        QVERIFY(trend->isVisible());
        QCOMPARE(grid->model()->rowCount(), TrendGridModel().rowCount());  // the figures' rows alone
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), kReading);

        QTRY_COMPARE(grid->model()->rowCount(), 40 + 5);
        QVERIFY(note->isHidden());
        TrendGridModel expected;
        expected.setTable(handTrend(s, Kind::Number));
        QCOMPARE(grid->model()->columnCount(), expected.columnCount());
        for (int row = 0; row < expected.rowCount(); ++row)
            for (int column = 0; column < expected.columnCount(); ++column) {
                QCOMPARE(cell(*grid->model(), row, column), cell(expected, row, column));
                QCOMPARE(cell(*grid->model(), row, column, TrendGridModel::DrawnCountRole),
                         cell(expected, row, column, TrendGridModel::DrawnCountRole));
            }
    }

    // A range chosen while the opening's table is still on its way is what stays shown.
    void aRangeChosenDuringTheFirstReadIsNotOverwrittenByIt() {
        WindowSession s;
        s.seed(seededDraws(40, 7));
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
        FIND(QTableView, grid, s, "trendGrid");
        QCOMPARE(grid->model()->rowCount(), TrendGridModel().rowCount());  // the figures' rows alone
        s.find<QPushButton>(QStringLiteral("trendLast30"))->click();
        QTRY_COMPARE(grid->model()->rowCount(), 30 + 5);
        QVERIFY(s.finishAllWork());
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(grid->model()->rowCount(), 30 + 5);
    }

    // Every later choice is read on a worker too: what arrives is the table the database
    // gives for it, and the expected line keeps the whole history's rate of the kind shown.
    void aChangedChoiceShowsTheTableComputedDirectly() {
        WindowSession s;
        const std::vector<DrawInput> draws = seededDraws(60, 8);
        s.seed(draws);
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QTableView, grid, s, "trendGrid");
        FIND(QLabel, note, s, "trendNote");
        s.find<QPushButton>(QStringLiteral("trendLast30"))->click();
        QCOMPARE(note->text(), kReading);
        QTRY_VERIFY(note->isHidden());
        s.find<QComboBox>(QStringLiteral("trendKind"))->setCurrentIndex(3);  // 尾数
        QTRY_VERIFY(note->isHidden());

        const IssueRange last30{draws[30].issue, {}};
        TrendGridModel expected;
        expected.setTable(handTrend(s, Kind::Tail, last30));
        QCOMPARE(grid->model()->rowCount(), 30 + 5);
        QCOMPARE(grid->model()->columnCount(), expected.columnCount());
        for (int row = 0; row < expected.rowCount(); ++row)
            for (int column = 0; column < expected.columnCount(); ++column)
                QCOMPARE(cell(*grid->model(), row, column), cell(expected, row, column));

        FIND(QChartView, frequency, s, "frequencyChart");
        const QLineSeries* line = nullptr;
        for (QAbstractSeries* series : frequency->chart()->series())
            line = line ? line : qobject_cast<QLineSeries*>(series);
        QVERIFY(line);
        const std::vector<double> rates = expectedCounts(expected.table(), countsPerDraw(handTrend(s, Kind::Tail)));
        QCOMPARE(line->count(), static_cast<int>(rates.size()));
        for (int column = 0; column < line->count(); ++column)
            QCOMPARE(line->at(column).y(), rates[static_cast<size_t>(column)]);
    }

    // The latest choice wins over a table read for an earlier one that comes late: a quick
    // read overtaking a long one, and a range refused while a read is out.
    void theLatestChoiceWinsOverALateTable() {
        WindowSession s;
        s.seed(seededDraws(3000, 9, 2007001));
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QTableView, grid, s, "trendGrid");
        FIND(QLabel, note, s, "trendNote");
        s.find<QComboBox>(QStringLiteral("trendKind"))->setCurrentIndex(3);  // the whole history read again
        s.find<QPushButton>(QStringLiteral("trendLast30"))->click();
        QVERIFY(s.finishAllWork());
        QTRY_VERIFY(note->isHidden());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(grid->model()->rowCount(), 30 + 5);
        QCOMPARE(grid->model()->columnCount(), 10);

        s.find<QPushButton>(QStringLiteral("trendLast0"))->click();
        s.find<QLineEdit>(QStringLiteral("trendFirst"))->setText(QStringLiteral("20x"));
        s.find<QPushButton>(QStringLiteral("trendShow"))->click();
        QVERIFY(s.finishAllWork());
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QVERIFY(note->isVisible());
        QCOMPARE(note->text(), QStringLiteral("期数范围只能填期号（数字），或者空着。"));
        QCOMPARE(grid->model()->rowCount(), 30 + 5);
    }

    // Closed, or gone altogether, while a worker still reads: nothing is touched afterwards,
    // and the window opened again shows the newest choice.
    void closingWhileAReadIsOutIsSafe() {
        WindowSession s;
        s.seed(seededDraws(3000, 10, 2007001));
        QVERIFY(s.start());
        auto* runner = s.window().findChild<WorkRunner*>();
        QVERIFY(runner);
        {
            SpreadsheetWriter spreadsheets(*runner);
            TrendWindow own(s.history(), *runner, spreadsheets, s.dialogs());
            own.show();
            own.findChild<QPushButton*>(QStringLiteral("trendLast30"))->click();
        }
        QTRY_VERIFY(runner->idle());

        QVERIFY(openTrend(s));
        FIND(QDialog, trend, s, "frmTrend");
        FIND(QTableView, grid, s, "trendGrid");
        s.find<QPushButton>(QStringLiteral("trendLast50"))->click();
        trend->close();
        QTRY_VERIFY(runner->idle());
        QVERIFY(openTrend(s));
        QTRY_COMPARE(grid->model()->rowCount(), 50 + 5);
    }

    void exportsTheGridWithItsIssuesAndTheChartsAsPictures() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QTabWidget, tabs, s, "trendTabs");
        FIND_ENABLED(QPushButton, exportButton, s, "trendExport");
        exportButton->click();
        QVERIFY(s.finishWrites());
        const Sheet grid = readFirstSheet(s.dataDir() / "zoushi.xlsx");
        QCOMPARE(grid.cells.at("A1").value, std::string("期号"));
        QCOMPARE(grid.cells.at("A2").value, std::string("2026001"));
        QCOMPARE(grid.cells.at("A5").value, std::string("出现次数"));
        QCOMPARE(grid.cells.at("B7").value, std::string("1"));  // 1: 最大遗漏
        tabs->setCurrentIndex(2);
        exportButton->click();
        QVERIFY(!QImage(QString::fromStdString((s.dataDir() / "cishu.png").string())).isNull());
        QVERIFY(s.dialogs().messages().isEmpty());
    }

    // No figure is text in either workbook: counts, omissions and averages such as 2.70 or
    // 3.00 are numbers shown with their decimals; only ball numbers keep a leading zero as text.
    void everyFigureIsStoredAsANumber() {
        WindowSession s;
        s.seed(seededDraws(40, 7, 2026001));
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QTabWidget, tabs, s, "trendTabs");
        FIND_ENABLED(QPushButton, exportButton, s, "trendExport");
        const QRegularExpression figure(QStringLiteral("^-?(0|[1-9][0-9]*)(\\.[0-9]+)?%?$"));
        for (const auto& [tab, file] : {std::pair{0, "zoushi.xlsx"}, std::pair{1, "yilou.xlsx"}}) {
            tabs->setCurrentIndex(tab);
            exportButton->click();
            QVERIFY(s.finishWrites());
            const Sheet sheet = readFirstSheet(s.dataDir() / file);
            int withDecimals = 0;
            for (const auto& [ref, cell] : sheet.cells) {
                const QString text = QString::fromStdString(cell.value);
                QVERIFY2(cell.isNumber || !figure.match(text).hasMatch(),
                         qPrintable(QStringLiteral("%1 %2: “%3” is text")
                                        .arg(QLatin1String(file), QString::fromStdString(ref), text)));
                withDecimals += cell.isNumber && (cell.numberFormat.starts_with("0.") || text.contains(u'.'));
            }
            if (tab == 1)
                QVERIFY2(withDecimals > 0, "the averages keep their decimals");
        }
    }

    void theWorkbooksAreColouredAsTheScreen() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QTabWidget, tabs, s, "trendTabs");
        FIND(QTableView, grid, s, "trendGrid");
        FIND_ENABLED(QPushButton, exportButton, s, "trendExport");
        exportButton->click();
        QVERIFY(s.finishWrites());
        const Sheet chart = readFirstSheet(s.dataDir() / "zoushi.xlsx");
        // 1 drawn in 2026001: its ball; missed in 2026003: the grey omission; 出现次数 on the summary's ground.
        const SheetCell& drawn = chart.cells.at("B2");
        QCOMPARE(drawn.fill, argb(ballColours(1).ball));
        QCOMPARE(drawn.fontColour, argb(ballColours(1).text));
        const SheetCell& missed = chart.cells.at("B4");
        QCOMPARE(missed.value, std::string("1"));
        QCOMPARE(missed.fill, std::string());
        QCOMPARE(missed.fontColour, argbOf(*grid->model(), 2, 0, Qt::ForegroundRole));
        QCOMPARE(chart.cells.at("B5").fill, argbOf(*grid->model(), 3, 0, Qt::BackgroundRole));
        QCOMPARE(chart.cells.at("A2").fill, std::string());  // the issues stay plain
        // A few formats for hundreds of coloured cells.
        QVERIFY2(chart.cellFormats <= 6, qPrintable(QString::number(chart.cellFormats)));

        tabs->setCurrentIndex(1);
        exportButton->click();
        QVERIFY(s.finishWrites());
        FIND(QTableView, omission, s, "omissionTable");
        const Sheet table = readFirstSheet(s.dataDir() / "yilou.xlsx");
        const int heat = omission->model()->columnCount() - 1;
        const std::string heatColumn(1, char('A' + heat));
        // Sorted by value: 1 cold in row 2, 2 hot in row 3, 29 unmarked.
        QCOMPARE(table.cells.at(heatColumn + "2").value, std::string("冷"));
        QCOMPARE(table.cells.at(heatColumn + "2").fontColour, argbOf(*omission->model(), 0, heat, Qt::ForegroundRole));
        QCOMPARE(table.cells.at(heatColumn + "3").fontColour, argbOf(*omission->model(), 1, heat, Qt::ForegroundRole));
        QVERIFY(table.cells.at(heatColumn + "2").fontColour != table.cells.at(heatColumn + "3").fontColour);
        QCOMPARE(table.cells.at("B2").fontColour, std::string());
        // The current omission's bar, from 0 as on screen, over every value's row.
        const int current = [&] {
            for (int c = 0; c < omission->model()->columnCount(); ++c)
                if (omission->model()->headerData(c, Qt::Horizontal).toString() == QStringLiteral("当前遗漏"))
                    return c;
            return -1;
        }();
        QVERIFY(current > 0);
        const std::string barRange = std::string(1, char('A' + current)) + "2:" + std::string(1, char('A' + current)) +
                                     std::to_string(omission->model()->rowCount() + 1);
        QCOMPARE(table.dataBars.size(), size_t(1));
        QCOMPARE(table.dataBars.count(barRange), size_t(1));
        QCOMPARE(table.dataBars.at(barRange).first, argb(omissionBarColour()));
        QCOMPARE(table.dataBars.at(barRange).second, std::string("num 0"));
        QVERIFY(chart.dataBars.empty());
    }

    void aClickedValueFillsTheNextManualBoxOfASearchOfItsKind() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        QVERIFY(openTrend(s));  // opened again: one fill per click all the same
        FIND(QTableView, grid, s, "trendGrid");
        const auto clickHeader = [grid](int column) {
            QHeaderView* header = grid->horizontalHeader();
            const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        };
        FIND(QLineEdit, first, s, "Text22_1");
        FIND(QLineEdit, second, s, "Text22_2");
        clickHeader(6);
        clickHeader(11);
        QCOMPARE(first->text(), QStringLiteral("7"));
        QCOMPARE(second->text(), QStringLiteral("12"));
        QCOMPARE(s.search().tab(), PanelTab::Manual);
        QCOMPARE(panelSearchAsShown(s, SearchButton::Follow, {}).inputs.values->at(1), 12);
        // Not into a search of another kind, where it would be read as that kind's code.
        s.search().setSearchKind(Kind::Zodiac);
        clickHeader(2);
        QVERIFY(s.find<QLineEdit>(QStringLiteral("Text22_3"))->text().isEmpty());
        const QString said = s.window().statusBar()->currentMessage();
        QVERIFY2(said.contains(QStringLiteral("检索类型是生肖，走势图显示的是号码")), qPrintable(said));
        // A tail into a tail search, by its code.
        s.search().setSearchKind(Kind::Tail);
        s.find<QComboBox>(QStringLiteral("trendKind"))->setCurrentIndex(3);
        QTRY_COMPARE(grid->model()->columnCount(), 10);
        clickHeader(1);
        QCOMPARE(panelSearchAsShown(s, SearchButton::Follow, {}).inputs.values->at(2),
                 grid->model()->headerData(1, Qt::Horizontal).toInt());
    }

    void followsTheHistoryAndCountsBackFromTheNewestDraw() {
        WindowSession s;
        const std::vector<DrawInput> draws = seededDraws(40);
        s.seed(draws);
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QTableView, grid, s, "trendGrid");
        FIND(QLineEdit, first, s, "trendFirst");
        s.find<QPushButton>(QStringLiteral("trendLast30"))->click();
        QCOMPARE(first->text(), QString::number(draws[10].issue));
        QTRY_COMPARE(grid->model()->rowCount(), 30 + 5);
        // More draws asked for than stored: all of them.
        s.find<QPushButton>(QStringLiteral("trendLast50"))->click();
        QVERIFY(first->text().isEmpty());
        QTRY_COMPARE(grid->model()->rowCount(), 40 + 5);

        const EntryOutcome stored = s.history().storeDraw(
            QString::number(s.history().nextIssue()),
            {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
             QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("30")});
        QVERIFY2(stored.stored, qPrintable(stored.problem));
        QTRY_COMPARE(grid->model()->rowCount(), 41 + 5);
        QCOMPARE(grid->model()->headerData(40, Qt::Vertical).toString(),
                 QString::number(s.history().history().back().issue));
        QCOMPARE(grid->model()->data(grid->model()->index(40, 29), TrendGridModel::DrawnCountRole).toInt(), 1);
    }

    // A hidden window reads nothing until it is shown again; a shown one holds its reads
    // while another thread changes the history.
    void readsOnlyWhenShownAndNotWhileTheHistoryChanges() {
        WindowSession s;
        s.seed(seededDraws(30, 4, 2014001));
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QDialog, trend, s, "frmTrend");
        FIND(QTableView, grid, s, "trendGrid");
        QCOMPARE(grid->model()->rowCount(), 30 + 5);

        trend->hide();
        const EntryOutcome stored = s.history().storeDraw(
            QString::number(s.history().nextIssue()),
            {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
             QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("30")});
        QVERIFY2(stored.stored, qPrintable(stored.problem));
        QCOMPARE(grid->model()->rowCount(), 30 + 5);
        QVERIFY(openTrend(s));
        QCOMPARE(grid->model()->rowCount(), 31 + 5);

        FIND(QPushButton, show, s, "trendShow");
        HeldWriteLock lock(s.databaseFile());
        s.dialogs().setNextInput(QStringLiteral("2014016"));
        s.find<QAction>(QStringLiteral("mnuDlzd"))->trigger();
        QVERIFY(!show->isEnabled());
        lock.release();
        QVERIFY(s.finishWork());
        QVERIFY(show->isEnabled());
        QTRY_COMPARE(grid->model()->rowCount(), 16 + 5);
    }

    void drawnCellsArePaintedAsBalls() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QTableView, grid, s, "trendGrid");
        grid->scrollToTop();
        const QImage shown = grid->viewport()->grab().toImage();
        const auto centre = [&](int row, int column) {
            return shown.pixelColor(grid->visualRect(grid->model()->index(row, column)).center() + QPoint(0, 8));
        };
        // Below the centre, past the digits: the ball's red on a drawn cell, the plain base elsewhere.
        const QColor drawn = centre(0, 0);
        const QColor missed = centre(2, 0);
        QVERIFY2(drawn.red() > 150 && drawn.green() < 100, qPrintable(drawn.name()));
        QVERIFY2(missed.green() > 150, qPrintable(missed.name()));
    }

    void wideFiguresShrinkToTheirCellButNotBeyondHalf() {
        QFont font;
        font.setPointSizeF(10);
        const auto width = [](const QFont& f, const QString& text) { return QFontMetrics(f).horizontalAdvance(text); };
        QCOMPARE(fontToFit(font, QStringLiteral("7"), 20), font);
        const QFont fitted = fontToFit(font, QStringLiteral("2.76"), 20);
        QVERIFY(fitted.pointSizeF() < 10);
        QVERIFY2(width(fitted, QStringLiteral("2.76")) <= 21, qPrintable(QString::number(fitted.pointSizeF())));
        QVERIFY(fontToFit(font, QStringLiteral("26667.00"), 20).pointSizeF() >= 5.5);
        QFont pixels;
        pixels.setPixelSize(14);
        QVERIFY(fontToFit(pixels, QStringLiteral("26667"), 20).pixelSize() < 14);
    }

    void fitsA1024x600Screen() {
        WindowSession s;
        s.seed(seededDraws(300));
        QVERIFY(s.start());
        QVERIFY(openTrend(s));
        FIND(QDialog, trend, s, "frmTrend");
        trend->resize(1024, 600 - 30);  // a title bar off the screen's height
        QVERIFY2(trend->minimumSizeHint().width() <= trend->width(),
                 qPrintable(QString::number(trend->minimumSizeHint().width())));
        QCOMPARE(trend->size(), QSize(1024, 570));
        QCoreApplication::processEvents();
        FIND(QTableView, grid, s, "trendGrid");
        // Every number's column in sight, with the issues, and rows enough to read a trend.
        QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
        QVERIFY(grid->viewport()->height() > 10 * grid->verticalHeader()->defaultSectionSize());
        for (const char* name : {"trendLast0", "trendShow", "trendExport", "trendKind"}) {
            const QWidget* w = s.find<QWidget>(QLatin1String(name));
            QVERIFY2(w->isVisible() && w->width() >= w->sizeHint().width(), name);
            QVERIFY2(trend->rect().contains(QRect(w->mapTo(trend, QPoint(0, 0)), w->size())), name);
        }
    }

    void aFailedExportIsSaidAndNotReportedDone() {
        WindowSession s;
        s.seed(handDraws());
        QVERIFY(s.start());
        // A folder where the workbook should go cannot be replaced by it.
        std::filesystem::create_directory(s.dataDir() / "zoushi.xlsx");
        QVERIFY(openTrend(s));
        s.find<QPushButton>(QStringLiteral("trendExport"))->click();
        QVERIFY(s.finishWrites());
        QCOMPARE(s.dialogs().messages().size(), 1);
        QVERIFY(s.dialogs().lastText().contains(QStringLiteral("未能导出")));
        QVERIFY(s.find<QLabel>(QStringLiteral("trendExportNote"))->text().isEmpty());
    }
};

QTEST_MAIN(TrendWindowTest)
#include "trend_window_test.moc"
