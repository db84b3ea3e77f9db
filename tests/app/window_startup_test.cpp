// Start-up: first-run defaults, settings restored after a restart, an unreadable setting,
// the code table and the mode menu, a foreign database file, the history view.
#include "app/shell/flex_grid.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

class WindowStartupTest : public QObject {
    Q_OBJECT

private slots:
    void firstRunDefaults() {
        WindowSession s(2026);
        QVERIFY(s.start());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option1_1"))->isChecked());  // 自由位
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option1_3"))->isChecked());  // 上期
        FIND(QCheckBox, check2, s, "Check2");
        QVERIFY(check2->isChecked());
        QVERIFY(check2->isVisible());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option3_0"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option4_0"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option5_0"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option6_0"))->isChecked());
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("MaskEdBox2"))->text(), QStringLiteral("2"));
        QCOMPARE(s.find<QComboBox>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("2"));
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxcs_1"))->isChecked());
        QVERIFY(!s.find<QAction>(QStringLiteral("mnuSxcs_0"))->isChecked());
        QVERIFY(s.find<QAction>(QStringLiteral("mnuDscs_1"))->isChecked());
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxsetup_1"))->isChecked());  // 按年龄取值
        QVERIFY(!s.find<QAction>(QStringLiteral("mnuSxsetup_0"))->isChecked());
        // An empty history: the calendar year's first issue, the range
        // boxes keep their design text, the grid has no rows.
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("2026001"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text4"))->text(), QStringLiteral("2026001"));
        QCOMPARE(s.find<QLabel>(QStringLiteral("Label12_1"))->text(), QStringLiteral("在下面输入 2026001 期历史号码:"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(), QStringLiteral("2013001"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_1"))->text(), QStringLiteral("2013001"));
        QCOMPARE(s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model()->rowCount(), 0);
        QVERIFY(s.dialogs().messages().isEmpty());
        QCOMPARE(s.history().zodiacYear(), 2025);  // before 2026's Spring Festival
        // Nothing is written by merely starting.
        QVERIFY(s.storedText(QStringLiteral("bolZyw")).isEmpty());
    }

    void settingsRestoredAfterRestart() {
        WindowSession s;
        QVERIFY(s.start());
        s.find<QRadioButton>(QStringLiteral("Option1_0"))->click();  // 固定位
        QVERIFY(!s.find<QCheckBox>(QStringLiteral("Check2"))->isVisible());
        s.find<QRadioButton>(QStringLiteral("Option1_2"))->click();  // 前期
        s.find<QRadioButton>(QStringLiteral("Option3_3"))->click();
        s.find<QRadioButton>(QStringLiteral("Option4_4"))->click();
        s.find<QRadioButton>(QStringLiteral("Option5_1"))->click();
        s.find<QRadioButton>(QStringLiteral("Option6_1"))->click();
        FIND(QComboBox, combo1, s, "Combo1");
        combo1->setCurrentIndex(3);  // "4"
        FIND(QLineEdit, gap, s, "MaskEdBox2");
        gap->setFocus();
        gap->selectAll();
        QTest::keyClicks(gap, QStringLiteral("5"));
        QTest::keyClick(gap, Qt::Key_Return);
        // Twice: one item checked, offset 0. Each change runs off the window's thread.
        for (const char* item : {"mnuSxcs_0", "mnuSxcs_0", "mnuDscs_0", "mnuSxsetup_0"}) {
            s.find<QAction>(QLatin1String(item))->trigger();
            QVERIFY(s.finishWork());
        }
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxcs_0"))->isChecked());
        QVERIFY(!s.find<QAction>(QStringLiteral("mnuSxcs_1"))->isChecked());

        // Written the moment they changed, as text.
        QCOMPARE(s.storedText(QStringLiteral("bolZyw")), QStringLiteral("False"));
        QCOMPARE(s.storedText(QStringLiteral("bolSq")), QStringLiteral("False"));
        QCOMPARE(s.storedText(QStringLiteral("intLei")), QStringLiteral("3"));
        QCOMPARE(s.storedText(QStringLiteral("intXianshiLei")), QStringLiteral("4"));
        QCOMPARE(s.storedText(QStringLiteral("intConsqSort")), QStringLiteral("1"));
        QCOMPARE(s.storedText(QStringLiteral("bolZhpm")), QStringLiteral("True"));
        QCOMPARE(s.storedText(QStringLiteral("intZhWSetup")), QStringLiteral("4"));
        QCOMPARE(s.storedText(QStringLiteral("intPreQi")), QStringLiteral("5"));
        QCOMPARE(s.storedText(QStringLiteral("SxIni")), QStringLiteral("0"));
        QCOMPARE(s.storedText(QStringLiteral("DsIni")), QStringLiteral("0"));
        QCOMPARE(s.storedText(QStringLiteral("SxSetup")), QStringLiteral("True"));

        QVERIFY(s.restart());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option1_0"))->isChecked());
        QVERIFY(!s.find<QCheckBox>(QStringLiteral("Check2"))->isVisible());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option1_2"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option3_3"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option4_4"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option5_1"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option6_1"))->isChecked());
        QCOMPARE(s.find<QComboBox>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("4"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("MaskEdBox2"))->text(), QStringLiteral("5"));
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxcs_0"))->isChecked());
        QVERIFY(s.find<QAction>(QStringLiteral("mnuDscs_0"))->isChecked());
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxsetup_0"))->isChecked());
        QVERIFY(s.history().derivation().codes.sequential());
        QCOMPARE(s.history().derivation().codes.offset(), 0);
    }

    void unreadableSettingKeepsItsDefault() {
        WindowSession s;
        s.presetSetting(QStringLiteral("intZhWSetup"), QStringLiteral("vier"));
        s.presetSetting(QStringLiteral("intLei"), QStringLiteral("7"));
        s.presetSetting(QStringLiteral("bolSq"), QStringLiteral("False"));
        QVERIFY(s.start());
        QCOMPARE(s.find<QComboBox>(QStringLiteral("Combo1"))->currentText(), QStringLiteral("2"));
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option3_0"))->isChecked());
        QVERIFY(s.find<QRadioButton>(QStringLiteral("Option1_2"))->isChecked());
    }

    void modeMenuTakesEffectAtOnce() {
        WindowSession s;
        QVERIFY(s.start());
        QVERIFY(!s.history().derivation().codes.sequential());
        s.find<QAction>(QStringLiteral("mnuSxsetup_0"))->trigger();
        QVERIFY(s.finishWork());
        QVERIFY(s.find<QAction>(QStringLiteral("mnuSxsetup_0"))->isChecked());
        QVERIFY(!s.find<QAction>(QStringLiteral("mnuSxsetup_1"))->isChecked());
        QVERIFY(s.history().derivation().codes.sequential());  // no wait for an offset change or a restart
    }

    void foreignDatabaseFileIsReportedAndTheWindowStillOpens() {
        WindowSession s;
        writeFile(s.databaseFile(), "This is not a history database, just a text file.\n");
        QVERIFY(s.start());
        QTRY_COMPARE(s.dialogs().messages().size(), 1);
        const auto& m = s.dialogs().messages().first();
        QCOMPARE(m.kind, MessageKind::Critical);
        QVERIFY2(m.text.contains(QString::fromStdString(s.databaseFile().string())), qPrintable(m.text));
        QVERIFY(m.text.contains(QStringLiteral("不是有效的历史数据库")));
        for (int p = 1; p <= 8; ++p)
            QVERIFY(!s.find<QLineEdit>(QStringLiteral("MaskEdBox1_%1").arg(p))->isEnabled());
        QVERIFY(!s.find<QPushButton>(QStringLiteral("Command3"))->isEnabled());
        QVERIFY(!s.find<QPushButton>(QStringLiteral("Command1"))->isEnabled());
        QVERIFY(!s.find<QAction>(QStringLiteral("mnuErase"))->isEnabled());
        QVERIFY(s.find<QPushButton>(QStringLiteral("Command9"))->isEnabled());
        // The file is left as it was.
        QCOMPARE(readFile(s.databaseFile()), std::string("This is not a history database, just a text file.\n"));
    }

    void historyViewShowsTheDrawsAndTheNextIssue() {
        WindowSession s;
        const auto draws = seededDraws(60, 7, 2013120, 153);  // crosses into 2014
        s.seed(draws);
        QVERIFY(s.start());
        FIND(FlexGrid, grid, s, "MSFlexGrid1");
        QCOMPARE(grid->model()->rowCount(), 60);
        const QModelIndex last = grid->model()->index(59, 0);
        QCOMPARE(last.data().toString(), QString::number(draws.back().issue));
        QCOMPARE(grid->model()->index(59, 8).data().toInt(), int(draws.back().numbers[7]));
        // The newest draw is on screen.
        QVERIFY(grid->viewport()->rect().intersects(grid->visualRect(last)));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QString::number(draws.back().issue + 1));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(), QString::number(draws.front().issue + 1));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_1"))->text(), QString::number(draws.back().issue));
    }
};

QTEST_MAIN(WindowStartupTest)
#include "window_startup_test.moc"
