// The history's changes run off the window's thread: while another program holds the
// write lock the change waits, the window keeps handling events with every command that
// changes the history or the panel off, and 取消 leaves the file exactly as it was.
#include "app/shell/flex_grid.h"
#include "database_probes.h"
#include "io/history_text.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

const char* const kWidgetsOffWhileBusy[] = {"Command1", "Command2", "Command3", "cmdRdLst", "Check1_1", "Text1"};
const char* const kItemsOffWhileBusy[] = {"mnuErase", "mnuClear", "mnuDlzd", "mnuRestore", "mnuSxcs_0", "mnuDscs_0"};

// The names of the commands that are not in the state `enabled`.
QStringList notInState(WindowSession& s, bool enabled) {
    QStringList wrong;
    for (const char* name : kWidgetsOffWhileBusy)
        if (s.find<QWidget>(QLatin1String(name))->isEnabled() != enabled)
            wrong << QLatin1String(name);
    for (const char* name : kItemsOffWhileBusy)
        if (s.find<QAction>(QLatin1String(name))->isEnabled() != enabled)
            wrong << QLatin1String(name);
    return wrong;
}

int gridRows(WindowSession& s) {
    return s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model()->rowCount();
}

QString status(WindowSession& s) {
    return s.window().statusBar()->currentMessage();
}

// Whether the event loop runs: a timer started now fires.
bool eventLoopRuns() {
    bool fired = false;
    QTimer::singleShot(0, [&fired] { fired = true; });
    return QTest::qWaitFor([&fired] { return fired; });
}

void cancelTheJob(WindowSession& s) {
    auto* cancel = s.find<QToolButton>(QStringLiteral("busyCancel"));
    cancel->click();
    QVERIFY(!cancel->isEnabled());
}

}  // namespace

class HistoryJobsTest : public QObject {
    Q_OBJECT

private slots:
    void anImportRunsWhileTheWindowStaysLive() {
        WindowSession s;
        s.seed(seededDraws(5));
        QVERIFY(s.start());
        TempDir elsewhere;
        const auto draws = seededDraws(20, 9, 2013001);
        writeHistoryFile(elsewhere / "new.txt", draws);
        s.dialogs().setNextConfirm(true);
        s.dialogs().setNextFile(QString::fromStdString((elsewhere / "new.txt").string()));

        HeldWriteLock lock(s.databaseFile());
        s.find<QPushButton>(QStringLiteral("cmdRdLst"))->click();
        QVERIFY(!s.find<QWidget>(QStringLiteral("busyIndicator"))->isHidden());
        QCOMPARE(s.find<QLabel>(QStringLiteral("busyLabel"))->text(), QStringLiteral("读入历史…"));
        QVERIFY2(notInState(s, false).isEmpty(), qPrintable(notInState(s, false).join(u',')));
        QVERIFY(eventLoopRuns());
        QVERIFY(!s.find<QWidget>(QStringLiteral("busyIndicator"))->isHidden());  // still waiting

        lock.release();
        QVERIFY(s.finishWork());
        QVERIFY2(notInState(s, true).isEmpty(), qPrintable(notInState(s, true).join(u',')));
        QCOMPARE(gridRows(s), 20);
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QString::number(draws.back().issue + 1));
        QVERIFY2(status(s).contains(QStringLiteral("读入 20 期")), qPrintable(status(s)));
        QCOMPARE(s.dialogs().messages().size(), 2);  // the question and the file dialog
    }

    void aTrimRunsWhileTheWindowStaysLive() {
        WindowSession s;
        s.seed(seededDraws(30, 7, 2014001));
        QVERIFY(s.start());
        HeldWriteLock lock(s.databaseFile());
        s.dialogs().setNextInput(QStringLiteral("2014016"));
        s.find<QAction>(QStringLiteral("mnuDlzd"))->trigger();
        QVERIFY2(notInState(s, false).isEmpty(), qPrintable(notInState(s, false).join(u',')));
        QVERIFY(eventLoopRuns());
        QCOMPARE(gridRows(s), 30);  // nothing shown changes before the trim is done

        lock.release();
        QVERIFY(s.finishWork());
        QCOMPARE(gridRows(s), 16);
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("2014017"));
        QVERIFY2(status(s).contains(QStringLiteral("已删除 14 期")), qPrintable(status(s)));
        QVERIFY2(notInState(s, true).isEmpty(), qPrintable(notInState(s, true).join(u',')));
    }

    void aCancelledRestoreLeavesTheFileAsItWas() {
        WindowSession s;
        s.seed(seededDraws(30, 7, 2014001));
        QVERIFY(s.start());
        s.dialogs().setNextInput(QStringLiteral("2014016"));
        s.find<QAction>(QStringLiteral("mnuDlzd"))->trigger();
        QVERIFY(s.finishWork());
        const QStringList before = tablesAsText(s.databaseFile());

        HeldWriteLock lock(s.databaseFile());
        s.dialogs().setNextRow(0);  // the copy of all 30 draws
        s.find<QAction>(QStringLiteral("mnuRestore"))->trigger();
        // The list of copies is read first; the restore the choice starts then waits for the lock.
        QTRY_COMPARE(s.dialogs().messages().size(), 2);  // the input box and the list of copies
        cancelTheJob(s);
        lock.release();
        QVERIFY(s.finishWork());

        QCOMPARE(tablesAsText(s.databaseFile()), before);
        QCOMPARE(gridRows(s), 16);
        QCOMPARE(status(s), QStringLiteral("恢复备份已取消，历史号码未作改动。"));
        QCOMPARE(s.dialogs().messages().size(), 2);  // the input box and the list of copies
    }

    void aCancelledSettingChangeKeepsTheSettingAndTheRows() {
        WindowSession s(2026);
        s.seed(seededDraws(20, 8, 2026001));
        QVERIFY(s.start());
        const QStringList before = tablesAsText(s.databaseFile());

        HeldWriteLock lock(s.databaseFile());
        s.find<QAction>(QStringLiteral("mnuSxcs_0"))->trigger();
        cancelTheJob(s);
        lock.release();
        QVERIFY(s.finishWork());

        QCOMPARE(tablesAsText(s.databaseFile()), before);
        // The setting keeps its old choice, for this run and the next start.
        QCOMPARE(s.history().settings().zodiacOffset(), 1);
        QVERIFY(s.storedText(QStringLiteral("SxIni")) != QStringLiteral("0"));
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxcs_1"))->isChecked());
        QCOMPARE(s.history().derivation().codes.offset(), 1);
        QVERIFY2(status(s).contains(QStringLiteral("已取消")), qPrintable(status(s)));
        QVERIFY(s.dialogs().messages().isEmpty());
    }
};

QTEST_MAIN(HistoryJobsTest)
#include "history_jobs_test.moc"
