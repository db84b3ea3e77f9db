// The history menu driven through the window: deleting the newest draw, clearing,
// trimming to an issue, deleting the newest N, the years the online update keeps, and
// what the window shows when one of them fails or the database cannot be opened.
#include "app/shell/flex_grid.h"
#include "io/history_text.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

const QString kTrimTitle = QStringLiteral("删除期数");
const QString kWrongYears =
    QStringLiteral("为了保证时效性和提高计算效率，软件只能统计16年以内的数据，请输入2到16中的自然数。");

QStringList gridIssues(WindowSession& s) {
    const auto* model = s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model();
    QStringList issues;
    for (int r = 0; r < model->rowCount(); ++r)
        issues << model->index(r, 0).data().toString();
    return issues;
}

QStringList issueRange(int first, int last) {
    QStringList issues;
    for (int i = first; i <= last; ++i)
        issues << QString::number(i);
    return issues;
}

// What the database file holds, read over a connection of its own.
std::vector<int> storedIssues(WindowSession& s) {
    return HistoryDb(s.databaseFile()).issues();
}

QString boxText(WindowSession& s, const char* name) {
    return s.find<QLineEdit>(QLatin1String(name))->text();
}

// Triggers the menu item and waits for the change it runs off the window's thread.
void trigger(WindowSession& s, const char* action) {
    auto* a = s.find<QAction>(QLatin1String(action));
    QVERIFY2(a->isEnabled(), action);
    a->trigger();
    QVERIFY(s.finishWork());
}

// The messages other than the prompts of input boxes and confirmations.
int warnings(const ScriptedDialogs& d) {
    int n = 0;
    for (const auto& m : d.messages())
        n += m.kind == MessageKind::Warning ? 1 : 0;
    return n;
}

}  // namespace

class HistoryCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void deletingTheNewestAsksNothingAndTheLastDeletionEmptiesTheHistory() {
        WindowSession s;
        s.seed({draw(2013001, {1, 2, 3, 4, 5, 6, 7, 8}), draw(2013002, {9, 10, 11, 12, 13, 14, 15, 16})});
        QVERIFY(s.start());
        QVERIFY(s.clickAndWait(QStringLiteral("Command3")));
        QCOMPARE(gridIssues(s), QStringList{QStringLiteral("2013001")});
        QCOMPARE(boxText(s, "Text1"), QStringLiteral("2013002"));
        trigger(s, "mnuErase");
        QVERIFY(gridIssues(s).isEmpty());
        QVERIFY(storedIssues(s).empty());
        // An empty history: the next issue falls back to the clock's year.
        QCOMPARE(boxText(s, "Text1"), QStringLiteral("2026001"));
        QVERIFY(s.dialogs().messages().isEmpty());
        // Each deletion saved the history it changed.
        const auto copies = listSafetyCopies(s.dataDir());
        QCOMPARE(copies.size(), size_t(2));
        QCOMPARE(copies[0].draws, size_t(1));
        QCOMPARE(copies[1].draws, size_t(2));
        QVERIFY(
            s.window().statusBar()->currentMessage().contains(QString::fromStdString(copies[0].copy.file.string())));
    }

    void clearingAnsweredWithCancelChangesNothing() {
        WindowSession s;
        s.seed(seededDraws(5));
        QVERIFY(s.start());
        trigger(s, "mnuClear");  // unscripted: Cancel
        QCOMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(s.dialogs().messages().first().title, QStringLiteral("确认清空"));
        QCOMPARE(s.dialogs().messages().first().text, QStringLiteral("确定要清空所有的历史号码吗？"));
        QCOMPARE(gridIssues(s).size(), 5);
        QCOMPARE(storedIssues(s).size(), size_t(5));
        QVERIFY(safetyCopies(s.dataDir()).empty());
    }

    void clearingAnsweredWithOkEmptiesTheHistoryAfterASafetyCopy() {
        WindowSession s;
        const auto draws = seededDraws(5);
        s.seed(draws);
        QVERIFY(s.start());
        s.dialogs().setNextConfirm(true);
        trigger(s, "mnuClear");
        QVERIFY(gridIssues(s).isEmpty());
        QVERIFY(storedIssues(s).empty());
        QVERIFY(!s.search().historyBase().values);  // no base draw left to search from
        const auto copies = safetyCopies(s.dataDir());
        QCOMPARE(copies.size(), size_t(1));
        QCOMPARE(readHistoryFile(copies.front()).draws.size(), draws.size());
        QVERIFY(s.window().statusBar()->currentMessage().contains(QString::fromStdString(copies.front().string())));
        QCOMPARE(warnings(s.dialogs()), 0);
    }

    void trimmingToAnIssueKeepsItAndEverythingBefore() {
        WindowSession s;
        s.seed(seededDraws(30, 7, 2014001));
        QVERIFY(s.start());
        s.dialogs().setNextInput(QStringLiteral("2014016"));
        trigger(s, "mnuDlzd");
        const auto& prompt = s.dialogs().messages().first();
        QCOMPARE(prompt.title, kTrimTitle);
        QCOMPARE(prompt.text, QStringLiteral("请输入需要删除到的期数，例如‘2014016’"));
        QCOMPARE(prompt.initial, QStringLiteral("2014030"));
        QCOMPARE(gridIssues(s), issueRange(2014001, 2014016));
        QCOMPARE(storedIssues(s).back(), 2014016);
        QCOMPARE(boxText(s, "Text1"), QStringLiteral("2014017"));
        QCOMPARE(boxText(s, "Text3_1"), QStringLiteral("2014016"));
        QCOMPARE(readHistoryFile(s.dataDir() / "lsbf.txt").draws.size(), size_t(16));
        QCOMPARE(safetyCopies(s.dataDir()).size(), size_t(1));
        QCOMPARE(s.dialogs().messages().size(), 1);  // the input box alone
    }

    void trimmingToTheNewestIssueRebuildsAndKeepsEverything() {
        WindowSession s;
        s.seed(seededDraws(30, 7, 2014001));
        QVERIFY(s.start());
        s.dialogs().setNextInput(QStringLiteral("2014030"));
        trigger(s, "mnuDlzd");
        QCOMPARE(gridIssues(s), issueRange(2014001, 2014030));
        QCOMPARE(readHistoryFile(s.dataDir() / "lsbf.txt").draws.size(), size_t(30));
        QCOMPARE(warnings(s.dialogs()), 0);
    }

    void trimAnswersThatDeleteNothing_data() {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::newRow("cancelled") << std::optional<QString>();
        QTest::newRow("empty") << std::optional<QString>(QString());
        QTest::newRow("text") << std::optional<QString>(QStringLiteral("二〇一四"));
        QTest::newRow("zero") << std::optional<QString>(QStringLiteral("0"));
        QTest::newRow("negative") << std::optional<QString>(QStringLiteral("-5"));
    }

    void trimAnswersThatDeleteNothing() {
        QFETCH(std::optional<QString>, answer);
        for (const char* command : {"mnuDlzd", "mnuEszhzd"}) {
            WindowSession s;
            s.seed(seededDraws(30, 7, 2014001));
            QVERIFY(s.start());
            s.dialogs().setNextInput(answer);
            trigger(s, command);
            QCOMPARE(gridIssues(s), issueRange(2014001, 2014030));
            QCOMPARE(storedIssues(s).size(), size_t(30));
            QVERIFY2(safetyCopies(s.dataDir()).empty(), command);
            QCOMPARE(s.dialogs().messages().size(), 1);
        }
    }

    void deletingTheNewestThreeLeavesLastYearsFinalDrawNewest() {
        WindowSession s;
        s.seed(seededDraws(153, 7, 2014001, 150));  // 2014001..2014150, 2015001..2015003
        QVERIFY(s.start());
        s.dialogs().setNextInput(QStringLiteral("3"));
        trigger(s, "mnuEszhzd");
        const auto& prompt = s.dialogs().messages().first();
        QCOMPARE(prompt.title, kTrimTitle);
        QCOMPARE(prompt.text,
                 QStringLiteral("请输入需要删除最后多少期历史号码（例如输入3，那么就将删除最后的3期历史号码）"));
        QCOMPARE(prompt.initial, QStringLiteral("1"));
        QCOMPARE(gridIssues(s).size(), 150);
        QCOMPARE(gridIssues(s).last(), QStringLiteral("2014150"));
        QCOMPARE(boxText(s, "Text1"), QStringLiteral("2014151"));
        QCOMPARE(s.history().zodiacYear(), zodiacYearOfIssue(2014150));
    }

    void deletingAtLeastTheWholeHistoryEmptiesIt_data() {
        QTest::addColumn<QString>("count");
        QTest::newRow("exactly") << QStringLiteral("10");
        QTest::newRow("more") << QStringLiteral("25");
    }

    void deletingAtLeastTheWholeHistoryEmptiesIt() {
        QFETCH(QString, count);
        WindowSession s;
        s.seed(seededDraws(10));
        QVERIFY(s.start());
        s.dialogs().setNextInput(count);
        trigger(s, "mnuEszhzd");
        QVERIFY(gridIssues(s).isEmpty());
        QVERIFY(storedIssues(s).empty());
        QCOMPARE(readHistoryFile(safetyCopies(s.dataDir()).front()).draws.size(), size_t(10));
    }

    void aCommandThatCannotSaveItsSafetyCopyChangesNothingAndSaysSo() {
        WindowSession s;
        s.seed(seededDraws(10));
        QVERIFY(s.start());
        // A file where the safety copies' folder belongs.
        writeFile(s.dataDir() / kSafetyCopyFolder, "not a folder");
        s.dialogs().setNextInput(QStringLiteral("3"));
        trigger(s, "mnuEszhzd");
        s.dialogs().setNextConfirm(true);
        trigger(s, "mnuClear");
        QCOMPARE(warnings(s.dialogs()), 2);
        for (const auto& m : s.dialogs().messages())
            if (m.kind == MessageKind::Warning)
                QVERIFY2(m.text.contains(QStringLiteral("安全备份")), qPrintable(m.text));
        QCOMPARE(gridIssues(s).size(), 10);
        QCOMPARE(storedIssues(s).size(), size_t(10));
    }

    void yearsToKeepAsksAgainUntilTheAnswerIsTwoToSixteen() {
        WindowSession s;
        QVERIFY(s.start());
        for (const char* answer : {"1", "17", "十六", "16"})
            s.dialogs().setNextInput(QString::fromUtf8(answer));
        trigger(s, "mnuSetDay");
        const auto& m = s.dialogs().messages();
        QCOMPARE(m.size(), 7);  // four prompts, three refusals in between
        for (int i = 0; i < m.size(); i += 2) {
            QCOMPARE(m[i].title, QStringLiteral("设置年数"));
            QCOMPARE(m[i].text, QStringLiteral("请输入在线更新时要保留的历史号码的年数（2~16中的任意自然数），"
                                               "更早年份的历史号码将在更新时删除"));
            QCOMPARE(m[i].initial, QStringLiteral("6"));
        }
        for (int i = 1; i < m.size(); i += 2) {
            QCOMPARE(m[i].title, QStringLiteral("输入有误"));
            QCOMPARE(m[i].text, kWrongYears);
        }
        QCOMPARE(s.storedText(QStringLiteral("IniSerchDay")), QStringLiteral("16"));
        QCOMPARE(s.history().settings().yearsToKeep(), 16);
    }

    void yearsToKeepEmptyOrCancelledKeepsTheOldValue() {
        WindowSession s;
        s.presetSetting(QStringLiteral("IniSerchDay"), QStringLiteral("9"));
        QVERIFY(s.start());
        s.dialogs().setNextInput(QString());
        trigger(s, "mnuSetDay");
        s.dialogs().setNextInput(std::nullopt);
        trigger(s, "mnuSetDay");
        QCOMPARE(s.dialogs().messages().size(), 2);
        QCOMPARE(s.dialogs().messages().first().initial, QStringLiteral("9"));
        QCOMPARE(s.storedText(QStringLiteral("IniSerchDay")), QStringLiteral("9"));
    }

    void withoutADatabaseOnlyTheSettingAndTheRestoreStayAvailable() {
        WindowSession s;
        writeFile(s.databaseFile(), "This is not a history database.\n");
        QVERIFY(s.start());
        for (const char* name : {"Command4", "cmdRdLst"})
            QVERIFY2(!s.find<QPushButton>(QLatin1String(name))->isEnabled(), name);
        for (const char* name : {"mnuDcls", "mnuClear", "mnuDlzd", "mnuEszhzd"})
            QVERIFY2(!s.find<QAction>(QLatin1String(name))->isEnabled(), name);
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSetDay"))->isEnabled());
        // The way back from a refused file: a safety copy restored in its place.
        QVERIFY(s.find<QAction>(QStringLiteral("mnuRestore"))->isEnabled());
    }
};

QTEST_MAIN(HistoryCommandsTest)
#include "history_commands_test.moc"
