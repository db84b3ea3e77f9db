// Chance beside the results: the tally's 期望次数 and 偏离 columns and the verdict above it
// hold the core's numbers, and 回测 runs off the window's thread, fills its dialog, and
// leaves the history untouched, cancelled or not.
#include "analysis/backtest.h"
#include "analysis/chance_baseline.h"
#include "app/search/backtest_dialog.h"
#include "app/search/chance_charts.h"
#include "app/search/chance_columns.h"
#include "app/search/search_panel_controller.h"
#include "app/shell/flex_grid.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"
#include "window_session.h"

#include <QAreaSeries>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <cmath>
#include <filesystem>
#include <memory>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

ValueChance valueChance(int value, long long count, double expected, std::optional<double> z,
                        std::optional<double> adjustedP) {
    ValueChance v;
    v.value = value;
    v.text = std::to_string(value);
    v.count = count;
    v.expected = expected;
    v.z = z;
    v.adjustedP = adjustedP;
    return v;
}

// The database file and its write-ahead log, as bytes.
std::string storedBytes(const WindowSession& s) {
    std::string bytes = readFile(s.databaseFile());
    const std::filesystem::path wal = s.databaseFile().string() + "-wal";
    if (std::filesystem::exists(wal))
        bytes += readFile(wal);
    return bytes;
}

// Moves `value` to the first place, by a swap when the draw holds it elsewhere, so that
// the draw's numbers stay distinct.
void putFirst(DrawInput& draw, int value) {
    for (size_t p = 1; p < draw.numbers.size(); ++p)
        if (draw.numbers[p] == value)
            std::swap(draw.numbers[p], draw.numbers[0]);
    draw.numbers[0] = value;
}

template <class Series>
Series* seriesNamed(const QChart& chart, const QString& name) {
    for (QAbstractSeries* s : chart.series())
        if (s->name() == name)
            return qobject_cast<Series*>(s);
    return nullptr;
}

void tickFirstPositions(WindowSession& s, int count) {
    for (int p = 1; p <= count; ++p)
        s.find<QCheckBox>(QStringLiteral("Check1_%1").arg(p))->setChecked(true);
}

std::array<bool, kPositions> firstTicked(int count) {
    std::array<bool, kPositions> ticked{};
    for (int p = 0; p < count; ++p)
        ticked[p] = true;
    return ticked;
}

}  // namespace

class ChanceWindowTest : public QObject {
    Q_OBJECT

private slots:
    void chanceColumnsShadeOnlyTheAdjustedSignificant() {
        ChanceBaseline chance;
        chance.values = {valueChance(16, 65, 53.04, 2.345, 0.012), valueChance(3, 40, 41.96, -0.3, 0.9),
                         valueChance(9, 0, 0, std::nullopt, std::nullopt),
                         valueChance(22, 30, 20.0, 2.0, 0.05)};  // exactly at the level: not shaded
        const CellGrid tally = {textCells(tallyHeader()),
                                {"1", "16", "65", "x"},
                                {"2", "03", "40", "x"},
                                {"3", "09", "0", "x"},
                                {"4", "22", "30", "x"}};
        const ChanceTally shown = withChance(tally, chance);
        QCOMPARE(cellTexts(shown.grid.front()), chanceTallyHeader());
        QCOMPARE(shown.grid[1][kChanceExpectedColumn].text(), std::string("53.0"));
        QCOMPARE(shown.grid[1][kChanceZColumn].text(), std::string("2.35"));
        QCOMPARE(shown.grid[2][kChanceZColumn].text(), std::string("-0.30"));
        QCOMPARE(shown.grid[3][kChanceZColumn].text(), std::string("—"));
        // The figures stay numbers for the spreadsheet, each with the decimals it shows.
        QCOMPARE(shown.grid[1][kChanceExpectedColumn], GridCell::fixed(53.04, 1));
        QCOMPARE(shown.grid[1][kChanceZColumn].value(), 2.35);
        QCOMPARE(shown.shaded, std::vector<QPoint>{QPoint(kChanceZColumn, 0)});
        // A tally whose baseline could not be read keeps the columns, empty.
        const CellGrid plain = withoutChance(tally);
        QCOMPARE(plain[1].size(), size_t(kChanceZColumn + 1));
        QVERIFY(plain[1][kChanceExpectedColumn].text().empty());
    }

    void chartsDrawTheCountsAndABandOfTwoSigma() {
        ChanceBaseline chance;
        chance.values = {valueChance(16, 65, 53.0, 1.5, 0.3), valueChance(3, 2, 1.0, 1.0, 0.9)};
        chance.values[0].variance = 64.0;
        chance.values[1].variance = 4.0;  // the band would reach below 0: held at 0
        const std::unique_ptr<QChart> tally(tallyChanceChart(chance));
        auto* bars = qobject_cast<QBarSeries*>(tally->series().front());
        QVERIFY(bars);
        QCOMPARE(bars->barSets().front()->at(0), 65.0);
        auto* band = seriesNamed<QAreaSeries>(*tally, QStringLiteral("±2σ 随机范围"));
        QVERIFY(band);
        QCOMPARE(band->upperSeries()->at(0).y(), 53.0 + 16.0);
        QCOMPARE(band->lowerSeries()->at(0).y(), 53.0 - 16.0);
        QCOMPARE(band->lowerSeries()->at(1).y(), 0.0);

        BacktestResult result;
        result.targets.resize(2);
        result.targets[0].hit = 2;
        result.targets[0].expected = 1.5;
        result.targets[0].variance = 1.0;
        result.targets[1].hit = 0;
        result.targets[1].expected = 1.0;
        result.targets[1].variance = 3.0;
        const std::unique_ptr<QChart> backtest(backtestChart(result));
        auto* observed = seriesNamed<QLineSeries>(*backtest, QStringLiteral("实际命中（累计）"));
        auto* expected = seriesNamed<QLineSeries>(*backtest, QStringLiteral("随机期望（累计）"));
        QVERIFY(observed && expected);
        QCOMPARE(observed->points(), (QList<QPointF>{{1, 2}, {2, 2}}));
        QCOMPARE(expected->at(1).y(), 2.5);
        band = seriesNamed<QAreaSeries>(*backtest, QStringLiteral("±2σ 随机范围"));
        QCOMPARE(band->upperSeries()->at(1).y(), 2.5 + 2 * std::sqrt(4.0));
    }

    void searchFillsTheColumnsAndTheVerdictWithTheCoresNumbers_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("ticked");
        QTest::newRow("follow") << QStringLiteral("Command1") << 1;
        QTest::newRow("combination") << QStringLiteral("Command2") << 2;
    }

    void searchFillsTheColumnsAndTheVerdictWithTheCoresNumbers() {
        QFETCH(QString, button);
        QFETCH(int, ticked);
        WindowSession s;
        s.seed(seededDraws(240, 11, 2013001));
        QVERIFY(s.start());
        tickFirstPositions(s, ticked);
        QVERIFY(s.clickAndWait(button));
        QVERIFY(s.dialogs().messages().isEmpty());

        const SearchButton kind =
            button == QStringLiteral("Command1") ? SearchButton::Follow : SearchButton::Combination;
        const SearchInputs in = panelSearchAsShown(s, kind, firstTicked(ticked)).inputs;
        HistoryDb& db = *s.history().database();
        const SearchResult result =
            kind == SearchButton::Follow ? runFollowSearch(db, in) : runCombinationSearch(db, in);
        const ChanceBaseline chance = chanceOf(db, in, result);

        auto* tally = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"));
        QAbstractItemModel* model = tally->model();
        QCOMPARE(model->columnCount(), kChanceZColumn + 1);
        QCOMPARE(model->headerData(kChanceExpectedColumn, Qt::Horizontal).toString(), QStringLiteral("期望次数"));
        QCOMPARE(model->rowCount(), static_cast<int>(chance.values.size()));
        for (int r = 0; r < model->rowCount(); ++r) {
            const ValueChance& v = chance.values[r];
            QCOMPARE(model->index(r, 1).data().toString().toStdString(), v.text);
            QCOMPARE(model->index(r, kChanceExpectedColumn).data().toString(), QString::number(v.expected, 'f', 1));
            QCOMPARE(model->index(r, kChanceZColumn).data().toString(),
                     v.z ? QString::number(*v.z, 'f', 2) : QStringLiteral("—"));
            const bool significant = v.adjustedP && *v.adjustedP < kSignificanceLevel;
            QCOMPARE(model->index(r, kChanceZColumn).data(Qt::BackgroundRole).isValid(), significant);
            QVERIFY(!model->index(r, kChanceExpectedColumn).data(Qt::BackgroundRole).isValid());
        }
        QCOMPARE(s.find<QLabel>(QStringLiteral("chanceVerdict"))->text(), chanceLine(chance));
        QVERIFY(s.find<QPushButton>(QStringLiteral("chanceChartButton"))->isEnabled());
    }

    void aValueThatAlwaysFollowsIsShadedAndCalledSignificant() {
        // Every draw holding 1 in the first place is followed by one holding 30 in it.
        std::vector<DrawInput> draws = seededDraws(300, 5, 2013001);
        for (size_t i = 0; i < draws.size(); ++i)
            putFirst(draws[i], i % 2 == 0 ? 1 : 30);
        putFirst(draws.back(), 1);  // the base
        WindowSession s;
        s.seed(draws);
        QVERIFY(s.start());
        tickFirstPositions(s, 1);
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(s.dialogs().messages().isEmpty());
        QAbstractItemModel* model = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"))->model();
        QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("30"));
        QVERIFY(model->index(0, kChanceZColumn).data(Qt::BackgroundRole).isValid());
        QVERIFY(s.find<QLabel>(QStringLiteral("chanceVerdict"))->text().contains(QStringLiteral("显著偏离随机")));
    }

    void backtestFillsItsDialogAndLeavesTheHistoryAlone() {
        WindowSession s;
        s.seed(seededDraws(160, 3, 2013001));
        QVERIFY(s.start());
        tickFirstPositions(s, 2);
        s.find<QSpinBox>(QStringLiteral("backtestTargets"))->setValue(12);
        s.find<QSpinBox>(QStringLiteral("backtestTop"))->setValue(4);
        const std::string before = storedBytes(s);
        FIND_ENABLED(QPushButton, backtest, s, "cmdBacktest");
        backtest->click();
        // It runs off the window's thread, named in the status bar's busy bar, one at a time.
        QCOMPARE(s.find<QLabel>(QStringLiteral("busyLabel"))->text(), QStringLiteral("正在回测…"));
        QVERIFY(!backtest->isEnabled());
        QTRY_VERIFY(s.window().findChild<BacktestDialog*>() != nullptr);
        QVERIFY(s.dialogs().messages().isEmpty());
        QVERIFY(backtest->isEnabled());

        const std::optional<SearchPanel> panel = s.search().panelState(
            SearchButton::Follow, firstTicked(2), s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(),
            s.find<QLineEdit>(QStringLiteral("Text3_1"))->text());
        QVERIFY(panel);
        const BacktestResult expected = Backtest(*s.history().database(), *panel).run({12, 4});
        auto* dialog = s.window().findChild<BacktestDialog*>();
        QAbstractItemModel* table = dialog->findChild<QTableView*>(QStringLiteral("backtestTable"))->model();
        QCOMPARE(table->rowCount(), static_cast<int>(expected.targets.size()));
        QCOMPARE(table->headerData(3, Qt::Horizontal).toString(), QStringLiteral("前 4 个结果值"));
        const CellGrid grid = backtestTable(expected);
        for (int r = 0; r < table->rowCount(); ++r)
            for (int c = 0; c < table->columnCount(); ++c)
                QCOMPARE(table->index(r, c).data().toString().toStdString(), grid[r + 1][c].text());
        QVERIFY(dialog->findChild<QLabel*>(QStringLiteral("backtestVerdict"))
                    ->text()
                    .startsWith(QString::fromStdString(backtestVerdict(expected))));
        QCOMPARE(storedBytes(s), before);

        // The two boxes are kept for the next start.
        s.window().close();
        QVERIFY(s.restart());
        QCOMPARE(s.find<QSpinBox>(QStringLiteral("backtestTargets"))->value(), 12);
        QCOMPARE(s.find<QSpinBox>(QStringLiteral("backtestTop"))->value(), 4);
    }

    void cancelledBacktestLeavesTheHistoryAlone() {
        WindowSession s;
        s.seed(seededDraws(400, 9, 2013001));
        QVERIFY(s.start());
        tickFirstPositions(s, 3);
        s.find<QSpinBox>(QStringLiteral("backtestTargets"))->setValue(300);
        const std::string before = storedBytes(s);
        FIND_ENABLED(QPushButton, backtest, s, "cmdBacktest");
        backtest->click();
        QVERIFY(!backtest->isEnabled());
        // 300 targets take far longer than the click after this one.
        s.find<QToolButton>(QStringLiteral("busyCancel"))->click();
        QTRY_VERIFY(backtest->isEnabled());
        QVERIFY(s.dialogs().messages().isEmpty());
        QVERIFY(s.window().findChild<BacktestDialog*>() == nullptr);
        QCOMPARE(s.window().statusBar()->currentMessage(), QStringLiteral("回测已取消，历史数据库未改动。"));
        QCOMPARE(storedBytes(s), before);
    }

    void backtestOfAPanelTheSearchRefusesSaysWhy() {
        WindowSession s;
        s.seed(seededDraws(60, 3, 2013001));
        QVERIFY(s.start());
        tickFirstPositions(s, 1);
        s.find<QLineEdit>(QStringLiteral("Text3_0"))->setText(QStringLiteral("x"));
        s.find<QPushButton>(QStringLiteral("cmdBacktest"))->click();
        // The panel is checked on the worker, against the window's snapshot of the history.
        QTRY_COMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(s.dialogs().messages().front().title, QStringLiteral("回测未进行"));
        QTRY_VERIFY(s.find<QPushButton>(QStringLiteral("cmdBacktest"))->isEnabled());
        QVERIFY(s.window().findChild<BacktestDialog*>() == nullptr);
    }
};

QTEST_MAIN(ChanceWindowTest)
#include "chance_window_test.moc"
