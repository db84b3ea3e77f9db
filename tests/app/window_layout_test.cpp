// The window on small and scaled screens: the search controls, the tally's counts and (where
// the screen allows) every column of the hits grid in sight, and the size and splitter kept
// between runs.
#include "app/shell/flex_grid.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTabBar>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

// The part of `w` that is not cut off by the window or by any scrolled or clipped ancestor.
QRect unclippedRect(const QWidget* w) {
    QRect visible(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        visible &= QRect(p->mapTo(w->window(), QPoint(0, 0)), p->size());
    return visible;
}

// Every choice of the option frames, by objectName.
QStringList optionChoices() {
    QStringList names = {QStringLiteral("Option1_0"), QStringLiteral("Option1_1"),  QStringLiteral("Option1_2"),
                         QStringLiteral("Option1_3"), QStringLiteral("MaskEdBox2"), QStringLiteral("Option2_4"),
                         QStringLiteral("Option2_5")};
    for (int k = 0; k < 6; ++k)
        names << QStringLiteral("Option3_%1").arg(k) << QStringLiteral("Option4_%1").arg(k);
    for (int i = 0; i < 3; ++i)
        names << QStringLiteral("Option5_%1").arg(i);
    // The search row's frames, on a page of their own where the options are paged.
    names << QStringLiteral("Option6_0") << QStringLiteral("Option6_1") << QStringLiteral("Combo1")
          << QStringLiteral("Text3_0") << QStringLiteral("Text3_1") << QStringLiteral("backtestTargets")
          << QStringLiteral("backtestTop") << QStringLiteral("backtestExclude");
    return names;
}

bool wholeInSight(const QWidget* w) {
    return w->isVisible() && unclippedRect(w).size() == w->size();
}

}  // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void searchControlsAndTallyInSight_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("1024x600") << QSize(1024, 600) << 1.0;
        QTest::newRow("1366x768") << QSize(1366, 768) << 1.0;
        QTest::newRow("1920x1080 at 1.5") << QSize(1920, 1080) << 1.5;
    }

    void searchControlsAndTallyInSight() {
        QFETCH(QSize, screen);
        QFETCH(qreal, scale);
        // QT_SCALE_FACTOR is read at start-up: CTest runs this test once at each scale.
        if (!qFuzzyCompare(qApp->devicePixelRatio(), scale))
            QSKIP("another scale factor");
        WindowSession s;
        s.seed(seededDraws(200));
        QVERIFY(s.start());
        s.window().resize(screen / scale);
        QCOMPARE(s.window().size(), screen / scale);
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QCoreApplication::processEvents();
        // Every button that runs something; the range too where the options are not paged
        // (else it is a page tab away: everyChoiceReachableAndResultsTall).
        QStringList inSight = {QStringLiteral("Command1"),    QStringLiteral("Command2"),
                               QStringLiteral("cmdBacktest"), QStringLiteral("cmdRecordPick"),
                               QStringLiteral("MSFlexGrid3"), QStringLiteral("chanceVerdict")};
        if (s.find<QTabBar>(QStringLiteral("optionPages"))->isHidden())
            inSight << QStringLiteral("Text3_0") << QStringLiteral("Text3_1");
        for (const QString& name : inSight)
            QVERIFY2(wholeInSight(s.find<QWidget>(name)), qPrintable(name));
        const auto columnsInSight = [](const FlexGrid* grid) {
            const QHeaderView* header = grid->horizontalHeader();
            int whole = 0;
            while (whole < grid->model()->columnCount() && header->sectionViewportPosition(whole) >= 0 &&
                   header->sectionViewportPosition(whole) + header->sectionSize(whole) <= grid->viewport()->width())
                ++whole;
            return whole;
        };
        auto* tally = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"));
        QVERIFY(tally->model()->rowCount() > 0);
        QVERIFY2(columnsInSight(tally) >= 3, "序号, 结果 and 出现次数");
        // The draws found, up to 上期开奖, where the screen is wide enough; on 1024 pixels at
        // least the issue and five numbers.
        auto* hits = s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"));
        const int hitsColumns = hits->model()->columnCount();
        QVERIFY2(columnsInSight(hits) >= (screen.width() / scale > 1100 ? hitsColumns : 6),
                 qPrintable(QString::number(columnsInSight(hits))));
    }

    // No option hides below the fold: each is in sight, or a click on a page tab in sight
    // shows it; and the result grids keep room for a useful number of rows.
    void everyChoiceReachableAndResultsTall_data() { searchControlsAndTallyInSight_data(); }

    void everyChoiceReachableAndResultsTall() {
        QFETCH(QSize, screen);
        QFETCH(qreal, scale);
        if (!qFuzzyCompare(qApp->devicePixelRatio(), scale))
            QSKIP("another scale factor");
        WindowSession s;
        s.seed(seededDraws(200));
        QVERIFY(s.start());
        s.window().resize(screen / scale);
        QCoreApplication::processEvents();
        auto* pages = s.find<QTabBar>(QStringLiteral("optionPages"));
        const int pageCount = pages->isVisible() ? pages->count() : 1;
        if (pages->isVisible())
            QVERIFY(wholeInSight(pages));
        QStringList unseen = optionChoices();
        for (int page = 0; page < pageCount; ++page) {
            if (pages->isVisible()) {
                QTest::mouseClick(pages, Qt::LeftButton, {}, pages->tabRect(page).center());
                QCoreApplication::processEvents();
                QCOMPARE(pages->currentIndex(), page);
            }
            for (qsizetype i = unseen.size() - 1; i >= 0; --i)
                if (wholeInSight(s.find<QWidget>(unseen[i])))
                    unseen.removeAt(i);
        }
        QVERIFY2(unseen.isEmpty(), qPrintable(unseen.join(QLatin1Char(' '))));
        // On a wide enough screen all of them at once.
        QCOMPARE(pages->isVisible(), screen.width() / scale < 1100);
        // Eight rows of draws found at least, before and after a search.
        auto* hits = s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"));
        const auto rowsInSight = [hits] {
            return hits->viewport()->height() / hits->verticalHeader()->defaultSectionSize();
        };
        QVERIFY2(rowsInSight() >= 8, qPrintable(QString::number(rowsInSight())));
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QCoreApplication::processEvents();
        QVERIFY2(rowsInSight() >= 8, qPrintable(QString::number(rowsInSight())));
    }

    void sizeAndSplitterKeptBetweenRuns() {
        WindowSession s;
        QVERIFY(s.start());
        s.window().resize(1000, 580);
        FIND(QSplitter, splitter, s, "mainSplitter");
        splitter->setSizes({420, 560});
        const int historyWidth = splitter->sizes().at(0);
        s.window().close();
        QVERIFY(s.restart());
        QCOMPARE(s.window().size(), QSize(1000, 580));
        QCOMPARE(s.find<QSplitter>(QStringLiteral("mainSplitter"))->sizes().at(0), historyWidth);
    }

    // The hits grid starts with all its columns, the tally with its counts at least; a split
    // the user chose is kept for the next start.
    void resultSplitStartsWithTheWholeHitsGridAndIsKept() {
        WindowSession s;
        s.seed(seededDraws(50));
        QVERIFY(s.start());
        s.window().resize(1024, 600);
        QCoreApplication::processEvents();
        FIND(QSplitter, split, s, "resultSplitter");
        auto* tally = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"));
        const int tallyWidth = split->sizes().at(1);
        QVERIFY(tally->horizontalHeader()->sectionViewportPosition(2) + tally->columnWidth(2) <=
                tally->viewport()->width());
        // A wider window gives the room to the hits grid.
        s.window().resize(1200, 600);
        QCoreApplication::processEvents();
        QCOMPARE(split->sizes().at(1), tallyWidth);

        split->setSizes({split->sizes().at(0) - 60, tallyWidth + 60});
        const QList<int> chosen = split->sizes();
        s.window().close();
        QVERIFY(s.restart());
        QCOMPARE(s.find<QSplitter>(QStringLiteral("resultSplitter"))->sizes(), chosen);
    }

    void unreadableSavedLayoutFallsBackToTheScreen() {
        WindowSession s;
        s.presetSetting(QStringLiteral("WindowGeometry"), QStringLiteral("not a geometry"));
        s.presetSetting(QStringLiteral("SplitterState"), QStringLiteral("not a state"));
        QVERIFY(s.start());
        // The start-up size for a first run: a laptop screen's worth where it fits with its
        // frame, else the whole screen.
        const QRect screen = s.window().screen()->availableGeometry();
        QVERIFY(s.window().isMaximized() || s.window().size() == QSize(1366, 768));
        QVERIFY(screen.contains(s.window().frameGeometry()));
        const QList<int> sizes = s.find<QSplitter>(QStringLiteral("mainSplitter"))->sizes();
        QVERIFY(sizes.at(0) > 0 && sizes.at(1) > 0);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
