// mnuRestore driven through the window: the list of safety copies newest first, restoring
// the chosen one (after a copy of the history it replaces), the refresh and the status bar;
// a cancelled choice and a folder without copies; the list read off the window's thread;
// and the list dialog itself.
#include "app/shell/flex_grid.h"
#include "app/shell/row_choice_dialog.h"
#include "app/shell/work_runner.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "support/temp_dir.h"
#include "window_session.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

int gridRows(WindowSession& s) {
    return s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model()->rowCount();
}

size_t storedCount(WindowSession& s) {
    HistoryDb db(s.databaseFile());
    return db.draws().size();
}

// Triggers the menu item and waits for the change it runs off the window's thread.
void trigger(WindowSession& s, const char* action) {
    auto* a = s.find<QAction>(QLatin1String(action));
    QVERIFY2(a->isEnabled(), action);
    a->trigger();
    QVERIFY(s.finishWork());
}

}  // namespace

class RestoreWindowTest : public QObject {
    Q_OBJECT

private slots:
    void theChosenCopyReplacesTheHistoryAfterACopyOfIt() {
        WindowSession s;
        s.seed(seededDraws(30, 7, 2014001));
        QVERIFY(s.start());
        s.dialogs().setNextInput(QStringLiteral("2014016"));
        trigger(s, "mnuDlzd");
        QVERIFY(s.clickAndWait(QStringLiteral("Command3")));
        QVERIFY2(s.window().statusBar()->currentMessage().contains(QStringLiteral("已删除 1 期")),
                 qPrintable(s.window().statusBar()->currentMessage()));

        s.dialogs().clear();
        s.dialogs().setNextRow(1);
        s.find<QAction>(QStringLiteral("mnuRestore"))->trigger();
        // The restore runs off the window's thread, named in the status bar's busy bar.
        QCOMPARE(s.find<QLabel>(QStringLiteral("busyLabel"))->text(), QStringLiteral("恢复备份…"));
        QVERIFY(s.finishWork());
        const QList<QStringList>& rows = s.dialogs().offeredRows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows[0].mid(1),
                 (QStringList{QStringLiteral("删除最后历史"), QStringLiteral("16"), QStringLiteral("2014016")}));
        QCOMPARE(rows[1].mid(1),
                 (QStringList{QStringLiteral("删除到选定期"), QStringLiteral("30"), QStringLiteral("2014030")}));
        const auto copies = listSafetyCopies(s.dataDir());
        QCOMPARE(rows[1][0], QString::fromStdString(madeText(copies[2].copy)));

        QCOMPARE(gridRows(s), 30);
        QCOMPARE(storedCount(s), size_t(30));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("2014031"));
        QCOMPARE(copies.size(), size_t(3));
        QCOMPARE(copies[0].copy.cause, std::optional(CopyCause::Restore));
        QCOMPARE(copies[0].draws, size_t(15));
        const QString status = s.window().statusBar()->currentMessage();
        QVERIFY2(status.contains(QStringLiteral("已恢复")) && status.contains(QStringLiteral("删除到选定期")) &&
                     status.contains(QString::fromStdString(copies[0].copy.file.string())),
                 qPrintable(status));
    }

    void aCancelledChoiceOrNoCopyChangesNothing() {
        WindowSession s;
        s.seed(seededDraws(10));
        QVERIFY(s.start());
        trigger(s, "mnuRestore");
        QCOMPARE(s.dialogs().messages().size(), 1);
        QVERIFY(s.dialogs().lastText().contains(QStringLiteral("还没有安全备份")));

        s.dialogs().setNextConfirm(true);
        trigger(s, "mnuClear");
        trigger(s, "mnuRestore");  // unscripted: cancelled
        QCOMPARE(s.dialogs().offeredRows().size(), 1);
        QCOMPARE(gridRows(s), 0);
        QCOMPARE(safetyCopies(s.dataDir()).size(), size_t(1));
    }

    // The way back the refusal of a damaged file names works from the window it starts.
    void aDamagedFileIsRefusedAndTheNewestCopyBringsTheHistoryBack() {
        WindowSession s;
        const auto draws = seededDraws(600, 7, 2014001);
        s.seed(draws);
        writeSafetyCopy(s.dataDir(), draws, CopyCause::DeleteNewest);
        std::string bytes = readFile(s.databaseFile());
        std::fill(bytes.begin() + 2 * 65536, bytes.begin() + 3 * 65536, '\0');
        writeFile(s.databaseFile(), bytes);

        QVERIFY(s.start());
        QVERIFY(!s.history().historyAvailable());
        QTRY_VERIFY(s.dialogs().lastText().contains(QStringLiteral("已损坏")));
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("恢复备份")), qPrintable(s.dialogs().lastText()));
        QVERIFY(!s.find<QAction>(QStringLiteral("mnuClear"))->isEnabled());
        QVERIFY(!s.find<QPushButton>(QStringLiteral("Command4"))->isEnabled());

        s.dialogs().setNextRow(0);
        trigger(s, "mnuRestore");
        QVERIFY(s.history().historyAvailable());
        QCOMPARE(gridRows(s), 600);
        QCOMPARE(storedCount(s), size_t(600));
        QVERIFY(s.find<QAction>(QStringLiteral("mnuClear"))->isEnabled());
        // The text export reads the history the restore brought back, without a restart.
        QVERIFY(s.find<QPushButton>(QStringLiteral("Command4"))->isEnabled());
        const QString status = s.window().statusBar()->currentMessage();
        QVERIFY2(status.contains(QStringLiteral("损坏的历史数据库文件已改名为")), qPrintable(status));
    }

    // Each copy's file is read for the list: the window only shows the choice once the worker
    // has read them, and 取消 before then leaves no choice to make.
    void theCopiesAreListedOffTheWindowsThreadAndTheListingCanBeCancelled() {
        WindowSession s;
        s.seed(seededDraws(40, 7, 2014001));
        QVERIFY(s.start());
        QVERIFY(s.clickAndWait(QStringLiteral("Command3")));
        auto* runner = s.window().findChild<WorkRunner*>();
        QVERIFY(runner);

        s.dialogs().clear();
        s.dialogs().setNextRow(0);
        s.find<QAction>(QStringLiteral("mnuRestore"))->trigger();
        QVERIFY(runner->busy(WorkLane::History));
        QCOMPARE(s.find<QLabel>(QStringLiteral("busyLabel"))->text(), QStringLiteral("恢复备份…"));
        QVERIFY(s.dialogs().messages().isEmpty());  // the row choice is one of them
        QVERIFY(s.finishWork());
        QCOMPARE(s.dialogs().offeredRows().size(), 1);
        QCOMPARE(s.dialogs().offeredRows()[0].mid(1),
                 (QStringList{QStringLiteral("删除最后历史"), QStringLiteral("40"), QStringLiteral("2014040")}));
        QCOMPARE(gridRows(s), 40);

        s.dialogs().clear();
        s.dialogs().setNextRow(0);
        s.find<QAction>(QStringLiteral("mnuRestore"))->trigger();
        runner->cancelShown();
        QVERIFY(s.finishWork());
        QVERIFY(s.dialogs().messages().isEmpty());
        QCOMPARE(gridRows(s), 40);
        QCOMPARE(safetyCopies(s.dataDir()).size(), size_t(2));
        QVERIFY2(s.window().statusBar()->currentMessage().contains(QStringLiteral("恢复备份已取消")),
                 qPrintable(s.window().statusBar()->currentMessage()));
    }

    void theListDialogOffersEveryRowAndTakesTheSelectedOne() {
        const QList<QStringList> rows{{QStringLiteral("2026-05-17 14:30:05"), QStringLiteral("恢复备份")},
                                      {QStringLiteral("2026-05-16 09:00:00"), QStringLiteral("清空历史号码")},
                                      {QStringLiteral("2026-05-15 08:00:00"), QStringLiteral("—")}};
        RowChoiceDialog dialog(QStringLiteral("恢复备份"), QStringLiteral("选择"),
                               {QStringLiteral("备份时间"), QStringLiteral("命令")}, rows);
        auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("rowChoiceTable"));
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 3);
        QCOMPARE(table->item(1, 1)->text(), QStringLiteral("清空历史号码"));
        QCOMPARE(dialog.chosenRow(), std::optional(0));
        table->selectRow(2);
        QCOMPARE(dialog.chosenRow(), std::optional(2));
        table->clearSelection();
        QCOMPARE(dialog.chosenRow(), std::nullopt);
    }
};

QTEST_MAIN(RestoreWindowTest)
#include "restore_window_test.moc"
