// cmdRdLst driven through the window: the confirmation, the file dialog in the
// "历史号码" folder, the refresh after a good file, and every way the history is left
// alone: a file with wrong lines, a cancelled question or dialog, a file that is not a
// text file, and a cancelled progress, in the scripted dialogs and in the window's own.
#include "app/shell/flex_grid.h"
#include "database_probes.h"
#include "io/history_text.h"
#include "io/safety_copy.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

const QString kTitle = QStringLiteral("读入历史");

std::string historyText(const std::vector<DrawInput>& draws) {
    std::string text;
    for (const DrawInput& d : draws)
        text += canonicalLine(d.issue, d.numbers) + "\r\n";
    return text;
}

QString pathOf(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

std::vector<DrawInput> stored(WindowSession& s) {
    HistoryDb db(s.databaseFile());
    return db.draws();
}

int gridRows(WindowSession& s) {
    return s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model()->rowCount();
}

// Clicks cmdRdLst and waits for the import it may run off the window's thread.
void clickImport(WindowSession& s) {
    FIND_ENABLED(QPushButton, button, s, "cmdRdLst");
    button->click();
    QVERIFY(s.finishWork());
}

}  // namespace

class HistoryImportWindowTest : public QObject {
    Q_OBJECT

private slots:
    void aTextFileReplacesTheHistoryAndTheWindowFollows() {
        WindowSession s;
        const auto old = seededDraws(3, 2, 2012001);
        s.seed(old);
        QVERIFY(s.start());
        const std::filesystem::path folder = s.dataDir() / std::filesystem::path(u8"历史号码");
        QVERIFY(!std::filesystem::exists(folder));
        TempDir elsewhere;
        const auto draws = seededDraws(20, 9, 2013001);
        writeFile(elsewhere / "NEW.TXT", historyText(draws));  // upper case is a text file too

        s.dialogs().setNextConfirm(true);
        s.dialogs().setNextFile(pathOf(elsewhere / "NEW.TXT"));
        clickImport(s);

        const auto& m = s.dialogs().messages();
        QCOMPARE(m.size(), 2);  // the question and the file dialog
        QCOMPARE(m[0].title, kTitle);
        // The data folder's own folder for history files is named, not the installation's.
        QCOMPARE(m[0].text, QStringLiteral("确实要读入最新历史号码吗？点击“确定”读入，点击“取消”放弃该操作。"
                                           "历史号码的文本文件一般放在数据文件夹的“历史号码”文件夹（%1）中。"
                                           "读取时可能要花费一段时间，请耐心等候！")
                                .arg(QDir::toNativeSeparators(pathOf(folder))));
        QVERIFY(std::filesystem::is_directory(folder));
        QCOMPARE(m[1].initial, pathOf(folder));
        QCOMPARE(m[1].filter, QStringLiteral("文本文件 (*.txt)"));

        QCOMPARE(stored(s), draws);
        QCOMPARE(gridRows(s), 20);
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QString::number(draws.back().issue + 1));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(), QString::number(draws.front().issue + 1));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_1"))->text(), QString::number(draws.back().issue));
        QCOMPARE(s.search().historyBase().values.value()[7], int(draws.back().numbers[7]));
        // The replaced history is kept, and the status bar says where.
        const auto copies = safetyCopies(s.dataDir());
        QCOMPARE(copies.size(), size_t(1));
        QCOMPARE(readHistoryFile(copies.front()).draws, old);
        QVERIFY(s.window().statusBar()->currentMessage().contains(pathOf(copies.front())));
    }

    void aFileWithWrongLinesChangesNothingAndNamesThem() {
        WindowSession s;
        const auto old = seededDraws(5);
        s.seed(old);
        QVERIFY(s.start());
        TempDir elsewhere;
        writeFile(elsewhere / "bad.txt",
                  "2013001 01 02 03 04 05 06 07 08 \r\n"
                  "2013002 01 02 03 04 05 06 07 31 \r\n"
                  "2013003 01 02 03 04 05 06 07 08 \r\n"
                  "2013004 01 01 03 04 05 06 07 08 \r\n");
        s.dialogs().setNextConfirm(true);
        s.dialogs().setNextFile(pathOf(elsewhere / "bad.txt"));
        clickImport(s);
        const auto& last = s.dialogs().messages().last();
        QCOMPARE(last.kind, MessageKind::Warning);
        QCOMPARE(last.title, kTitle);
        QVERIFY2(last.text.contains(QStringLiteral("第 2 行")), qPrintable(last.text));
        QVERIFY2(last.text.contains(QStringLiteral("第 4 行")), qPrintable(last.text));
        QVERIFY2(!last.text.contains(QStringLiteral("第 3 行")), qPrintable(last.text));
        QCOMPARE(stored(s), old);
        QCOMPARE(gridRows(s), 5);
    }

    void cancelInTheQuestionOrTheFileDialogChangesNothing() {
        WindowSession s;
        const auto old = seededDraws(5);
        s.seed(old);
        QVERIFY(s.start());
        clickImport(s);  // unscripted question: Cancel, and no file dialog follows
        QCOMPARE(s.dialogs().messages().size(), 1);
        s.dialogs().setNextConfirm(true);
        clickImport(s);  // unscripted file dialog: cancelled
        QCOMPARE(s.dialogs().messages().size(), 3);
        QCOMPARE(stored(s), old);
        QCOMPARE(gridRows(s), 5);
        QVERIFY(safetyCopies(s.dataDir()).empty());
    }

    void aFileThatIsNotATextFileIsRefused() {
        WindowSession s;
        const auto old = seededDraws(5);
        s.seed(old);
        QVERIFY(s.start());
        TempDir elsewhere;
        writeFile(elsewhere / "draws.csv", historyText(seededDraws(8, 3, 2015001)));
        s.dialogs().setNextConfirm(true);
        s.dialogs().setNextFile(pathOf(elsewhere / "draws.csv"));
        clickImport(s);
        QCOMPARE(s.dialogs().messages().last().kind, MessageKind::Warning);
        QVERIFY(s.dialogs().messages().last().text.contains(QStringLiteral("draws.csv")));
        QCOMPARE(stored(s), old);
        QVERIFY(safetyCopies(s.dataDir()).empty());  // nothing was started
    }

    void cancellingTheProgressChangesNothing() {
        WindowSession s;
        const auto old = seededDraws(5);
        s.seed(old);
        QVERIFY(s.start());
        TempDir elsewhere;
        writeFile(elsewhere / "long.txt", historyText(seededDraws(600, 3, 2001001)));
        s.dialogs().setNextConfirm(true);
        s.dialogs().setNextFile(pathOf(elsewhere / "long.txt"));
        const QStringList before = tablesAsText(s.databaseFile());
        HeldWriteLock lock(s.databaseFile());  // the import waits for it
        s.find<QPushButton>(QStringLiteral("cmdRdLst"))->click();
        s.find<QToolButton>(QStringLiteral("busyCancel"))->click();
        lock.release();
        QVERIFY(s.finishWork());
        QCOMPARE(tablesAsText(s.databaseFile()), before);
        QCOMPARE(stored(s), old);
        QCOMPARE(gridRows(s), 5);
        QCOMPARE(s.dialogs().messages().size(), 2);  // no message beyond the question and the dialog
        QCOMPARE(s.window().statusBar()->currentMessage(), QStringLiteral("读入历史已取消，历史号码未作改动。"));
    }
};

QTEST_MAIN(HistoryImportWindowTest)
#include "history_import_window_test.moc"
