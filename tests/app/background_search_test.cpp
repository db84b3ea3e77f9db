// A search runs off the window's thread: the window keeps handling events, the commands
// that change the history or the panel are off until the search ends, and a cancelled
// search leaves the history file as it was.
#include "app/shell/flex_grid.h"
#include "database_probes.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

const char* const kCommandsOffWhileBusy[] = {"Command1", "Command2", "Command3", "cmdRdLst", "Check1_1", "Text1"};

}  // namespace

class BackgroundSearchTest : public QObject {
    Q_OBJECT

private slots:
    void theWindowStaysLiveAndItsCommandsAreOffWhileASearchRuns() {
        WindowSession s;
        s.seed(seededDraws(300));
        QVERIFY(s.start());
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        FIND(QWidget, busy, s, "busyIndicator");
        HeldWriteLock lock(s.databaseFile());
        s.find<QPushButton>(QStringLiteral("Command1"))->click();
        QVERIFY(!busy->isHidden());
        for (const char* name : kCommandsOffWhileBusy)
            QVERIFY2(!s.find<QWidget>(QLatin1String(name))->isEnabled(), name);
        QVERIFY(!s.find<QAction>(QStringLiteral("mnuClear"))->isEnabled());

        bool timerRan = false;
        QTimer::singleShot(0, &s.window(), [&timerRan] { timerRan = true; });
        QTRY_VERIFY(timerRan);
        QVERIFY(!busy->isHidden());  // the search still waits for the lock

        lock.release();
        QTRY_VERIFY(busy->isHidden());
        for (const char* name : kCommandsOffWhileBusy)
            QVERIFY2(s.find<QWidget>(QLatin1String(name))->isEnabled(), name);
        QVERIFY(s.find<QAction>(QStringLiteral("mnuClear"))->isEnabled());
        QVERIFY(s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"))->model()->rowCount() > 0);
        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("跟随检索")));
        QVERIFY(s.dialogs().messages().isEmpty());
    }

    void aCancelledSearchLeavesTheFileAsItWas() {
        WindowSession s;
        s.seed(seededDraws(300));
        QVERIFY(s.start());
        // A first search fills the scratch fields; the second, with other positions, would
        // rewrite them.
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        const QStringList before = tablesAsText(s.databaseFile());
        s.find<QCheckBox>(QStringLiteral("Check1_2"))->setChecked(true);

        HeldWriteLock lock(s.databaseFile());
        s.find<QPushButton>(QStringLiteral("Command1"))->click();
        FIND(QToolButton, cancel, s, "busyCancel");
        cancel->click();
        QVERIFY(!cancel->isEnabled());
        lock.release();
        QTRY_VERIFY(s.find<QWidget>(QStringLiteral("busyIndicator"))->isHidden());

        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("检索已取消")));
        QCOMPARE(s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"))->model()->rowCount(), 0);
        QVERIFY(s.dialogs().messages().isEmpty());
        QCOMPARE(tablesAsText(s.databaseFile()), before);
        // The window searches again as before.
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("跟随检索")));
        QVERIFY(tablesAsText(s.databaseFile()) != before);
    }
};

QTEST_MAIN(BackgroundSearchTest)
#include "background_search_test.moc"
