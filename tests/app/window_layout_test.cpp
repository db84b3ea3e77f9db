// The window on small and scaled screens: the search controls and every tally column in
// sight, and the size and splitter kept between runs.
#include "app/shell/flex_grid.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
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
        for (const char* name :
             {"Command1", "Command2", "Text3_0", "Text3_1", "cmdBacktest", "MSFlexGrid3", "chanceVerdict"}) {
            const QWidget* w = s.find<QWidget>(QLatin1String(name));
            QVERIFY2(w->isVisible(), name);
            QVERIFY2(unclippedRect(w).size() == w->size(), name);
        }
        auto* tally = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"));
        QVERIFY(tally->model()->rowCount() > 0);
        const QHeaderView* header = tally->horizontalHeader();
        for (int c = 0; c < tally->model()->columnCount(); ++c) {
            const int left = header->sectionViewportPosition(c);
            QVERIFY2(left >= 0 && left + header->sectionSize(c) <= tally->viewport()->width(),
                     qPrintable(QStringLiteral("tally column %1").arg(c)));
        }
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

    // The tally starts wide enough for all its columns; a narrower one, chosen to give the
    // hits grid room, is kept for the next start.
    void resultSplitStartsWithTheWholeTallyAndIsKept() {
        WindowSession s;
        s.seed(seededDraws(50));
        QVERIFY(s.start());
        s.window().resize(1024, 600);
        QCoreApplication::processEvents();
        FIND(QSplitter, split, s, "resultSplitter");
        auto* tally = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"));
        const int wholeTally = split->sizes().at(1);
        QVERIFY(tally->horizontalHeader()->length() <= tally->viewport()->width());
        // A wider window gives the room to the hits grid, not to the tally.
        s.window().resize(1200, 600);
        QCoreApplication::processEvents();
        QCOMPARE(split->sizes().at(1), wholeTally);

        split->setSizes({split->sizes().at(0) + 100, wholeTally - 100});
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
        // The start-up size for a first run: the screen, up to a laptop's, never below the window's minimum.
        const QRect screen = s.window().screen()->availableGeometry();
        const QSize fitted(std::min(1366, screen.width()), std::min(768, screen.height()));
        QCOMPARE(s.window().size(), fitted.expandedTo(s.window().minimumSizeHint()));
        const QList<int> sizes = s.find<QSplitter>(QStringLiteral("mainSplitter"))->sizes();
        QVERIFY(sizes.at(0) > 0 && sizes.at(1) > 0);
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "window_layout_test.moc"
