// 记录本期预测 and 预测记录: the window records the pick 回测 would make for the next issue,
// lists it pending, scores it the moment its draw is stored, deletes it when asked and
// exports the list; the 杀号 box is kept between runs.
#include "analysis/pick_book.h"
#include "app/history/history_controller.h"
#include "app/search/pick_book_dialog.h"
#include "app/search/search_panel_controller.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include <filesystem>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

QString cell(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

}  // namespace

class PicksWindowTest : public QObject {
    Q_OBJECT

private slots:
    void recordedPickIsScoredWhenItsDrawIsStored() {
        WindowSession s;
        s.seed(seededDraws(160, 3, 2013001));
        QVERIFY(s.start());
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        s.find<QSpinBox>(QStringLiteral("backtestTop"))->setValue(4);
        s.find<QCheckBox>(QStringLiteral("backtestExclude"))->setChecked(true);
        QCOMPARE(s.find<QSpinBox>(QStringLiteral("backtestTop"))->prefix(), QStringLiteral("后 "));
        FIND_ENABLED(QPushButton, record, s, "cmdRecordPick");
        record->click();
        QTRY_VERIFY(s.window().statusBar()->currentMessage().startsWith(QStringLiteral("已为第 2014011 期记录预测")));
        QVERIFY(s.dialogs().messages().isEmpty());

        std::array<bool, kPositions> ticked{};
        ticked[0] = true;
        const std::optional<SearchPanel> panel =
            s.search().panelState(SearchButton::Follow, ticked, s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(),
                                  s.find<QLineEdit>(QStringLiteral("Text3_1"))->text());
        QVERIFY(panel);
        const std::optional<BacktestTarget> choice =
            Backtest(*s.history().database(), *panel).nextChoice(4, PickMode::Exclude);
        QVERIFY(choice);
        const std::vector<PickRecord> records = readPicks(*s.history().database());
        QCOMPARE(records.size(), size_t{1});
        QCOMPARE(records[0].values, choice->chosen);
        QVERIFY(records[0].exclude);

        s.find<QAction>(QStringLiteral("mnuPickBook"))->trigger();
        auto* dialog = s.window().findChild<PickBookDialog*>();
        QVERIFY(dialog);
        auto* table = dialog->findChild<QTableView*>(QStringLiteral("pickBookTable"));
        QCOMPARE(table->model()->rowCount(), 1);
        QCOMPARE(cell(table, 0, 5), QStringLiteral("待开奖"));

        // The draw comes: the open dialog scores the pick at once.
        std::array<QString, kPositions> boxes;
        for (int p = 0; p < kPositions; ++p)
            boxes[p] = QStringLiteral("%1").arg(p + 1, 2, 10, QLatin1Char('0'));
        s.history().storeDraw(QStringLiteral("2014011"), boxes);
        QCOMPARE(cell(table, 0, 5), QStringLiteral("已开奖"));
        const PickBook book = readPickBook(*s.history().database());
        QCOMPARE(cell(table, 0, 6), QString::number(book.picks[0].score->hit));
        QCOMPARE(dialog->book().exclude.scored, 1);

        // Exported beside the history, then deleted after a confirmation.
        dialog->findChild<QPushButton*>(QStringLiteral("cmdExportPicks"))->click();
        QVERIFY(s.finishWrites());
        QVERIFY(std::filesystem::exists(s.dataDir() / "预测记录.xlsx"));
        table->selectRow(0);
        s.dialogs().setNextConfirm(false);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdDeletePick"))->click();
        QCOMPARE(table->model()->rowCount(), 1);
        table->selectRow(0);
        s.dialogs().setNextConfirm(true);
        dialog->findChild<QPushButton*>(QStringLiteral("cmdDeletePick"))->click();
        QCOMPARE(table->model()->rowCount(), 0);
        QVERIFY(readPicks(*s.history().database()).empty());

        // 杀号 is kept for the next start.
        s.window().close();
        QVERIFY(s.restart());
        QVERIFY(s.find<QCheckBox>(QStringLiteral("backtestExclude"))->isChecked());
    }

    void pickWithoutHitsIsRefusedInWords() {
        WindowSession s;
        s.seed(seededDraws(60, 3, 2013001));
        QVERIFY(s.start());
        for (int p = 1; p <= kPositions; ++p)
            s.find<QCheckBox>(QStringLiteral("Check1_%1").arg(p))->setChecked(true);
        s.find<QPushButton>(QStringLiteral("cmdRecordPick"))->click();
        QTRY_COMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(s.dialogs().messages().front().title, QStringLiteral("预测未记录"));
        QVERIFY(readPicks(*s.history().database()).empty());
    }

    // The values are chosen on a worker from the snapshot; a draw stored meanwhile makes
    // them stale: refused in words, nothing recorded, and the next click records.
    void aPickChosenOnAHistoryThatChangedIsNotRecorded() {
        WindowSession s;
        s.seed(seededDraws(160, 3, 2013001));
        QVERIFY(s.start());
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        FIND_ENABLED(QPushButton, record, s, "cmdRecordPick");
        record->click();
        std::array<QString, kPositions> boxes;
        for (int p = 0; p < kPositions; ++p)
            boxes[p] = QStringLiteral("%1").arg(p + 1, 2, 10, QLatin1Char('0'));
        QVERIFY(s.history().storeDraw(QStringLiteral("2014011"), boxes).stored);
        QTRY_COMPARE(s.dialogs().messages().size(), 1);
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("历史已有变动")), qPrintable(s.dialogs().lastText()));
        QVERIFY(readPicks(*s.history().database()).empty());

        record->click();
        QTRY_VERIFY(s.window().statusBar()->currentMessage().startsWith(QStringLiteral("已为第 2014012 期记录预测")));
        QCOMPARE(readPicks(*s.history().database()).size(), size_t{1});
    }
};

QTEST_MAIN(PicksWindowTest)
#include "picks_window_test.moc"
