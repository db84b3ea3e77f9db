// Zodiac names that stay right in the window: the stored rows follow a new zodiac year at
// start-up or after a hand entry, and each click on the zodiac and segment menus, at once
// and after a safety copy; a click the rows cannot follow is put back; an older file is
// derived again and recorded; an import is derived as start-up will want it.
#include "app/shell/flex_grid.h"
#include "io/history_text.h"
#include "io/safety_copy.h"
#include "store/derivation_record.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

const QString kAnimals = QStringLiteral("鼠牛虎兔龙蛇马羊猴鸡狗猪");

// The animals of a draw's numbers in its own zodiac year: what any code table must name.
QString trueNames(const DrawInput& d) {
    QString names;
    for (int p = 0; p < kPositions; ++p)
        names += kAnimals[animalOfNumber(d.numbers[p], zodiacYearOfIssue(d.issue))];
    return names;
}

// Text2(1..8) with the search kind 生肖: the newest draw's zodiac values by name.
QString namesShown(WindowSession& s) {
    s.find<QRadioButton>(QStringLiteral("Option3_1"))->click();
    QString names;
    for (int p = 1; p <= kPositions; ++p)
        names += s.find<QLineEdit>(QStringLiteral("Text2_%1").arg(p))->text();
    return names;
}

std::optional<DerivationSettings> recorded(WindowSession& s) {
    HistoryDb db(s.databaseFile());
    return db.recordedDerivation();
}

QString statusMessage(WindowSession& s) {
    return s.window().statusBar()->currentMessage();
}

}  // namespace

class ZodiacWindowTest : public QObject {
    Q_OBJECT

private slots:
    void startUpFollowsTheZodiacYearOfTheNextIssue() {
        WindowSession s(2026);
        // Up to 2026020, the first draw of zodiac year 2026, all under 2025's code table, as
        // `drawfollow-cli add` leaves a history recorded under it.
        const auto draws = seededDraws(40, 3, 2025131, 150);
        HistoryDb(s.databaseFile()).appendBatch(draws, settingsFor(2025));
        QVERIFY(s.start());
        QCOMPARE(s.history().nextIssue(), 2026021);
        QCOMPARE(recorded(s)->codes.tableYear(), 2026);
        QTRY_VERIFY(statusMessage(s).contains(QStringLiteral("重算全部 40 期")));
        QCOMPARE(safetyCopies(s.dataDir()).size(), size_t(1));
        QCOMPARE(namesShown(s), trueNames(draws.back()));

        // Nothing left to follow at the next start.
        QVERIFY(s.restart());
        QCOMPARE(safetyCopies(s.dataDir()).size(), size_t(1));
        QVERIFY(s.dialogs().messages().isEmpty());
    }

    void aHandEntryIntoANewZodiacYearDerivesTheRowsAgain() {
        WindowSession s(2026);
        const auto draws = seededDraws(38, 3, 2025131, 150);  // up to 2026018: next 2026019, zodiac year 2025
        s.seed(draws);
        QVERIFY(s.start());
        QCOMPARE(s.history().zodiacYear(), 2025);
        s.find<QLineEdit>(QStringLiteral("MaskEdBox1_1"))->setFocus();
        typeIntoFocus(QStringLiteral("0514172426282916"));
        // Stored at once; every row is derived again off the window's thread, which shows it busy.
        QCOMPARE(s.history().history().size(), size_t(39));
        QVERIFY(s.find<QWidget>(QStringLiteral("busyIndicator"))->isVisible());
        QVERIFY(s.finishWork());
        QCOMPARE(s.history().history().size(), size_t(39));
        QCOMPARE(s.history().zodiacYear(), 2026);  // the next issue 2026020
        QCOMPARE(recorded(s)->codes.tableYear(), 2026);
        QVERIFY(statusMessage(s).contains(QStringLiteral("重算全部 39 期")));
        QCOMPARE(namesShown(s), trueNames(draw(2026019, {5, 14, 17, 24, 26, 28, 29, 16})));
    }

    // Two years on: one derivation off the window's thread, which then ends.
    void aHandEntryYearsAheadDerivesTheRowsOnce() {
        WindowSession s(2026);
        s.seed(seededDraws(38, 3, 2025131, 150));
        QVERIFY(s.start());
        s.find<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("2028100"));
        s.find<QLineEdit>(QStringLiteral("MaskEdBox1_1"))->setFocus();
        typeIntoFocus(QStringLiteral("0514172426282916"));
        QCOMPARE(s.history().history().size(), size_t(39));
        QVERIFY(s.finishWork());
        QTest::qWait(200);
        QVERIFY(!s.find<QWidget>(QStringLiteral("busyIndicator"))->isVisible());
        QCOMPARE(s.history().zodiacYear(), 2028);
        QCOMPARE(recorded(s)->codes.tableYear(), 2028);
        QVERIFY(statusMessage(s).contains(QStringLiteral("重算全部 39 期")));
    }

    void eachMenuClickDerivesTheRowsAgainAtOnce_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("zodiacOffset");
        QTest::addColumn<int>("segmentOffset");
        QTest::addColumn<bool>("sequential");
        QTest::newRow("生肖参数0~11") << QStringLiteral("mnuSxcs_0") << 0 << 1 << false;
        QTest::newRow("段数参数0~9") << QStringLiteral("mnuDscs_0") << 1 << 0 << false;
        QTest::newRow("生肖数字按顺序取值") << QStringLiteral("mnuSxsetup_0") << 1 << 1 << true;
    }

    void eachMenuClickDerivesTheRowsAgainAtOnce() {
        QFETCH(QString, action);
        QFETCH(int, zodiacOffset);
        QFETCH(int, segmentOffset);
        QFETCH(bool, sequential);
        WindowSession s(2026);
        const auto draws = seededDraws(60, 8, 2026001);
        s.seed(draws);
        QVERIFY(s.start());
        s.find<QAction>(action)->trigger();
        QVERIFY(s.finishWork());

        const DerivationSettings wanted = settingsFor(2026, zodiacOffset, segmentOffset, sequential);
        QVERIFY(derivesSameRows(s.history().derivation(), wanted));
        QVERIFY(recorded(s) && derivesSameRows(*recorded(s), wanted));
        QVERIFY(statusMessage(s).contains(QStringLiteral("重算全部 60 期")));
        QCOMPARE(safetyCopies(s.dataDir()).size(), size_t(1));
        QCOMPARE(namesShown(s), trueNames(draws.back()));

        // A tally names every code it counts: 马 is counted, no cell is blank.
        int horses = 0;
        for (const DrawInput& d : draws)
            for (int p = 0; p < kPositions; ++p)
                horses += animalOfNumber(d.numbers[p], zodiacYearOfIssue(d.issue)) == 6;
        s.find<QRadioButton>(QStringLiteral("Option4_1"))->click();  // result kind 生肖
        // No switch ticked: every draw of the range is a hit.
        s.find<QLineEdit>(QStringLiteral("Text3_0"))->setText(QString::number(draws.front().issue));
        s.find<QLineEdit>(QStringLiteral("Text3_1"))->setText(QString::number(draws.back().issue));
        const auto messagesBefore = s.dialogs().messages().size();
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY2(s.dialogs().messages().size() == messagesBefore, qPrintable(s.dialogs().lastText()));
        const QAbstractItemModel* tally = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"))->model();
        QCOMPARE(tally->rowCount(), 12);
        bool horseCounted = false;
        for (int row = 0; row < tally->rowCount(); ++row) {
            const QString name = tally->index(row, 1).data().toString();
            QVERIFY(!name.isEmpty());
            if (name == QStringLiteral("马")) {
                QCOMPARE(tally->index(row, 2).data().toString(), QString::number(horses));
                horseCounted = true;
            }
        }
        QVERIFY(horseCounted);
    }

    void aClickTheRowsCannotFollowIsPutBack() {
        WindowSession s(2026);
        s.seed(seededDraws(20, 8, 2026001));
        QVERIFY(s.start());
        writeFile(s.dataDir() / kSafetyCopyFolder, "a file where the safety copies' folder belongs");
        s.find<QAction>(QStringLiteral("mnuSxcs_0"))->trigger();
        QVERIFY(s.finishWork());

        QCOMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(s.dialogs().messages().first().kind, MessageKind::Warning);
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("恢复")), qPrintable(s.dialogs().lastText()));
        // The setting keeps its old choice, for this run and the next start.
        QCOMPARE(s.history().settings().zodiacOffset(), 1);
        QVERIFY(s.storedText(QStringLiteral("SxIni")) != QStringLiteral("0"));
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxcs_1"))->isChecked());
        QCOMPARE(s.history().derivation().codes.offset(), 1);
        QCOMPARE(recorded(s)->codes.offset(), 1);
    }

    void anOlderFileIsDerivedAgainAndRecorded() {
        WindowSession s(2026);
        const auto draws = seededDraws(30, 8, 2026001);
        s.seed(draws);
        {
            HistoryDb db(s.databaseFile());
            db.connection().exec("DROP TABLE Derivation; PRAGMA user_version = 1");
        }
        QVERIFY(s.start());
        QVERIFY(recorded(s) && derivesSameRows(*recorded(s), settingsFor(2026)));
        QTRY_VERIFY(statusMessage(s).contains(QStringLiteral("没有记录")));
        QCOMPARE(namesShown(s), trueNames(draws.back()));
    }

    void anImportIsDerivedForTheNextIssueOfItsFile() {
        WindowSession s(2026);
        s.seed(seededDraws(5, 2, 2012001));
        QVERIFY(s.start());
        auto draws = seededDraws(146, 11, 2025101, 150);
        draws.back() = draw(2026096, {5, 14, 17, 24, 26, 28, 29, 16});
        TempDir elsewhere;
        writeHistoryFile(elsewhere / "real.txt", draws);
        s.dialogs().setNextConfirm(true);
        s.dialogs().setNextFile(QString::fromStdString((elsewhere / "real.txt").string()));
        QVERIFY(s.clickAndWait(QStringLiteral("cmdRdLst")));
        QCOMPARE(s.history().history().size(), draws.size());
        QCOMPARE(recorded(s)->codes.tableYear(), 2026);
        QCOMPARE(namesShown(s), QStringLiteral("虎蛇虎羊蛇兔虎兔"));

        QVERIFY(s.restart());
        QCOMPARE(safetyCopies(s.dataDir()).size(), size_t(1));  // the import's, nothing derived again
        QCOMPARE(namesShown(s), QStringLiteral("虎蛇虎羊蛇兔虎兔"));
    }
};

QTEST_MAIN(ZodiacWindowTest)
#include "zodiac_window_test.moc"
