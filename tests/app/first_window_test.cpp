// The first start on the screen CTest gives (1024x600, 1366x768, 1920x1080 scaled by 1.5):
// the main window's and the trend window's frames, title bars included, and the status bar
// lie inside the screen's available area; long status texts are elided, not cut; and the
// rule that places the windows, on any screen.
#include "app/shell/screen_fit.h"
#include "app/shell/status_texts.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QDialog>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

QString text(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

#define VERIFY_INSIDE(inner, outer) \
    QVERIFY2(                       \
        (outer).contains(inner),    \
        qPrintable(QStringLiteral("%1 %2 is not inside %3").arg(QLatin1String(#inner), text(inner), text(outer))))

}  // namespace

class FirstWindowTest : public QObject {
    Q_OBJECT

private slots:
    void bothWindowsAndTheStatusBarOnTheScreen() {
        WindowSession s;
        s.seed(seededDraws(200));
        QVERIFY(s.start());
        QWidget& main = s.window();
        const QRect available = main.screen()->availableGeometry();
        QTRY_VERIFY(main.frameGeometry() != main.geometry());  // the frame is known
        VERIFY_INSIDE(main.frameGeometry(), available);
        const QStatusBar* status = main.findChild<QStatusBar*>();
        QVERIFY(status && status->isVisible());
        VERIFY_INSIDE(QRect(status->mapToGlobal(QPoint(0, 0)), status->size()), available);
        // Nothing cut either: the laptop size where it fits, else the whole area.
        QVERIFY(main.isMaximized() || main.size() == QSize(1366, 768));

        for (int opening = 0; opening < 2; ++opening) {
            s.find<QAction>(QStringLiteral("mnuTrend"))->trigger();
            FIND(QDialog, trend, s, "frmTrend");
            QVERIFY(QTest::qWaitForWindowExposed(trend));
            QTRY_VERIFY(trend->frameGeometry() != trend->geometry());
            VERIFY_INSIDE(trend->frameGeometry(), available);
            QVERIFY(trend->width() >= std::min(1000, available.width() - 40));
            trend->close();
        }
    }

    // The status line shows the database, or a message over it, never both; a long text
    // ends in "…" and the whole of it is the tooltip.
    void longStatusTextsEndInAnEllipsis() {
        WindowSession s;
        s.seed(seededDraws(30));
        QVERIFY(s.start());
        auto* bar = qobject_cast<ElidingStatusBar*>(s.window().statusBar());
        QVERIFY(bar);
        const QString lasting = bar->lastingText();
        QVERIFY(lasting.contains(QStringLiteral("共 30 期")));
        const QString message =
            QStringLiteral("已将表格导出到“%1”。").arg(QStringLiteral("/很长的文件夹").repeated(60));
        bar->showMessage(message);
        QVERIFY2(bar->shownText().endsWith(QChar(0x2026)), qPrintable(bar->shownText()));
        QVERIFY(message.startsWith(bar->shownText().chopped(1)));
        QCOMPARE(bar->toolTip(), message);
        bar->clearMessage();
        QCOMPARE(bar->toolTip(), lasting);
        QVERIFY(bar->shownText() == lasting || lasting.startsWith(bar->shownText().chopped(1)));
    }

    void placementKeepsTheFrameInsideTheArea() {
        const QMargins frame(4, 30, 4, 4);
        const QSize minimum(700, 450);
        for (const QRect& area :
             {QRect(0, 0, 1024, 600), QRect(0, 24, 1366, 744), QRect(0, 0, 1280, 720), QRect(1920, 0, 1920, 1080)}) {
            const QRect client = fittedClientGeometry(area, frame, {1366, 768}, minimum);
            VERIFY_INSIDE(client.marginsAdded(frame), area);
            QVERIFY(client.width() >= minimum.width() && client.height() >= minimum.height());
        }
        // Room to spare: the wanted size, centred.
        const QRect wide = fittedClientGeometry({0, 0, 1920, 1080}, frame, {1366, 768}, minimum);
        QCOMPARE(wide.size(), QSize(1366, 768));
        QCOMPARE(wide.center(), QRect(0, 0, 1920, 1080).marginsRemoved(frame).center());
        // Not even the minimum fits: nothing, so that the window is maximized instead.
        QVERIFY(fittedClientGeometry({0, 0, 800, 480}, frame, {1366, 768}, minimum).isEmpty());
    }
};

QTEST_MAIN(FirstWindowTest)
#include "first_window_test.moc"
