// Another program (drawfollow-cli) changes the history the window shows: the window reads
// it afresh and says so in the status bar; its own changes bring no such note.
#include "support/history_builder.h"
#include "window_session.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

const QString kNote = QStringLiteral("另一个程序修改了历史数据库");

// What drawfollow-cli add does: an append on a connection of its own.
void appendElsewhere(const WindowSession& s, int issue) {
    HistoryDb db(s.databaseFile());
    const std::optional<DerivationSettings> recorded = db.recordedDerivation();
    QVERIFY(recorded);
    db.append(DrawInput{issue, {1, 2, 3, 4, 5, 6, 7, 8}}, *recorded);
}

}  // namespace

class DatabaseWatchTest : public QObject {
    Q_OBJECT

private slots:
    void anotherProgramsChangesAreReadAndNamed() {
        WindowSession s;
        s.seed(seededDraws(20, 7, 2026001));
        QVERIFY(s.start());
        appendElsewhere(s, 2026021);
        QTRY_COMPARE_WITH_TIMEOUT(s.history().history().size(), size_t(21), 5000);
        QCOMPARE(s.history().history().back().issue, 2026021);
        QVERIFY2(s.window().statusBar()->currentMessage().startsWith(kNote),
                 qPrintable(s.window().statusBar()->currentMessage()));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("2026022"));

        // Deleting draws elsewhere is followed as well.
        s.window().statusBar()->clearMessage();
        {
            HistoryDb db(s.databaseFile());
            QVERIFY(db.deleteNewest());
            QVERIFY(db.deleteNewest());
        }
        QTRY_COMPARE_WITH_TIMEOUT(s.history().history().size(), size_t(19), 5000);
        QVERIFY(s.window().statusBar()->currentMessage().startsWith(kNote));
    }

    void ownChangesBringNoNote() {
        WindowSession s;
        s.seed(seededDraws(20, 7, 2026001));
        QVERIFY(s.start());
        auto* box1 = s.find<QLineEdit>(QStringLiteral("MaskEdBox1_1"));
        box1->setFocus();
        QTRY_VERIFY(box1->hasFocus());
        typeIntoFocus(QStringLiteral("0102030405060708"));
        QCOMPARE(s.history().history().size(), size_t(21));
        QVERIFY(s.clickAndWait(QStringLiteral("Command3")));  // 删除最后历史, on a worker
        QCOMPARE(s.history().history().size(), size_t(20));
        QTest::qWait(1000);  // longer than the watch waits for a commit to settle
        QVERIFY2(!s.window().statusBar()->currentMessage().startsWith(kNote),
                 qPrintable(s.window().statusBar()->currentMessage()));
        QCOMPARE(s.history().history().size(), size_t(20));
    }
};

QTEST_MAIN(DatabaseWatchTest)
#include "database_watch_test.moc"
