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

    void aCancelledSearchShowsItsAnswerAndLeavesTheFileAsItWas() {
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

        // The answer was shown before its fields were to be written; only their writing stopped.
        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("保存已取消")));
        QVERIFY(s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"))->model()->rowCount() > 0);
        QVERIFY(s.dialogs().messages().isEmpty());
        QCOMPARE(tablesAsText(s.databaseFile()), before);
        // The window searches again as before.
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("跟随检索")));
        QVERIFY(tablesAsText(s.databaseFile()) != before);
    }

    // The grids come from the window's snapshot: they are shown while the search's fields
    // still wait for the file; a change another program commits meanwhile keeps them out.
    void theAnswerIsShownBeforeItsFieldsAreWritten() {
        WindowSession s;
        s.seed(seededDraws(300));
        QVERIFY(s.start());
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        const QStringList before = tablesAsText(s.databaseFile());
        auto* hits = s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"));
        FIND(QWidget, busy, s, "busyIndicator");

        HeldWriteLock lock(s.databaseFile());
        s.find<QPushButton>(QStringLiteral("Command1"))->click();
        QTRY_VERIFY(hits->model()->rowCount() > 0);
        QVERIFY(!busy->isHidden());
        QVERIFY(s.find<QLabel>(QStringLiteral("chanceVerdict"))->text().size() > 0);
        lock.commit("DELETE FROM lishi WHERE SQQH = (SELECT MAX(SQQH) FROM lishi)");
        QTRY_VERIFY(busy->isHidden());
        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("另一个程序改动了")));
        QStringList after = before;
        after.removeAt(299);  // the newest draw, Lishi's last row: only the other program's change
        QCOMPARE(tablesAsText(s.databaseFile()), after);

        // Once the window has read the change, a search keeps its fields again.
        QTRY_COMPARE(s.history().history().size(), size_t{299});
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(!s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("未保存")));
        QVERIFY(tablesAsText(s.databaseFile()) != after);
    }
};

QTEST_MAIN(BackgroundSearchTest)
#include "background_search_test.moc"
