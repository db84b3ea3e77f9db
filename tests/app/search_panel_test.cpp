// The search panel and the verification base: the panel
// refresh in 上期 and 前期 mode, zodiac names, the range, Check4, the key filter of
// Text22, and the searches refusing to run without base values.
#include "app/shell/flex_grid.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

QString text2(WindowSession& s, int index) {
    return s.find<QLineEdit>(QStringLiteral("Text2_%1").arg(index))->text();
}

// The eight Text2 boxes of a panel (first index 1 or 11) as the stored draw would give them.
void expectNumbers(WindowSession& s, int firstIndex, const DrawInput& draw) {
    for (int p = 0; p < 8; ++p)
        QCOMPARE(text2(s, firstIndex + p), QString::number(draw.numbers[p]));
}

void setGap(WindowSession& s, int gap) {
    auto* box = s.find<QLineEdit>(QStringLiteral("MaskEdBox2"));
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::number(gap));
    QTest::keyClick(box, Qt::Key_Return);
}

void setVerifiedIssue(WindowSession& s, int issue) {
    auto* text4 = s.find<QLineEdit>(QStringLiteral("Text4"));
    text4->setFocus();
    text4->selectAll();
    QTest::keyClicks(text4, QString::number(issue));
    QTest::keyClick(text4, Qt::Key_Return);
}

}  // namespace

class SearchPanelTest : public QObject {
    Q_OBJECT

private slots:
    void panelRefreshInBothPeriodModes() {
        WindowSession s;
        const auto draws = seededDraws(30, 11, 2013001);
        s.seed(draws);
        QVERIFY(s.start());
        // 上期: the latest draw; the range starts one after the first issue.
        expectNumbers(s, 1, draws.back());
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(), QStringLiteral("2013002"));
        // 前期 with gap 3: the third-latest draw; the range starts three after the first.
        FIND_ENABLED(QRadioButton, earlier, s, "Option1_2");
        earlier->click();
        expectNumbers(s, 1, draws[draws.size() - 2]);  // the default gap 2
        setGap(s, 3);
        expectNumbers(s, 1, draws[draws.size() - 3]);
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(), QStringLiteral("2013004"));
        QVERIFY(s.find<QLabel>(QStringLiteral("Frame2Note_0"))->text().contains(QString::number(draws[27].issue)));
        s.find<QRadioButton>(QStringLiteral("Option1_3"))->click();
        expectNumbers(s, 1, draws.back());
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(), QStringLiteral("2013002"));
    }

    void gapLargerThanTheHistoryEmptiesThePanelAndRefusesTheSearch() {
        WindowSession s;
        s.seed(seededDraws(3));
        QVERIFY(s.start());
        s.find<QRadioButton>(QStringLiteral("Option1_2"))->click();
        setGap(s, 5);
        for (int p = 1; p <= 8; ++p)
            QVERIFY(text2(s, p).isEmpty());
        QVERIFY(s.find<QLabel>(QStringLiteral("Frame2Note_0"))->text().contains(QStringLiteral("不足")));
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        FIND_ENABLED(QPushButton, command1, s, "Command1");
        command1->click();
        QCOMPARE(s.dialogs().messages().size(), 1);
        QVERIFY(s.dialogs().lastText().contains(QStringLiteral("检索未进行")));
        QCOMPARE(s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"))->model()->rowCount(), 0);
    }

    void gapZeroCannotBeTyped() {
        WindowSession s;
        QVERIFY(s.start());
        auto* box = s.find<QLineEdit>(QStringLiteral("MaskEdBox2"));
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, QStringLiteral("0"));
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->text(), QStringLiteral("2"));
        QCOMPARE(s.history().settings().gap(), 2);
    }

    void zodiacValuesAreShownAsAnimalNames() {
        WindowSession s;
        s.seed(seededDraws(10, 5, 2013030));
        QVERIFY(s.start());
        s.find<QRadioButton>(QStringLiteral("Option3_1"))->click();
        const auto& codes = s.history().derivation().codes;
        const auto& newest = s.history().history().back();
        const QString animals = QStringLiteral("鼠牛虎兔龙蛇马羊猴鸡狗猪");
        for (int p = 0; p < 8; ++p) {
            const int code = newest.own[1][p];
            const auto animal = codes.animalOfCode(code);
            QVERIFY(animal.has_value());
            QCOMPARE(text2(s, p + 1), QString(animals[*animal]));
        }
        // A search is handed codes, not names.
        const PanelSearch search = panelSearchAsShown(s, SearchButton::Follow, {true});
        QVERIFY(search.ready());
        QCOMPARE(search.inputs.values->at(0), int(newest.own[1][0]));
    }

    void text22TakesDigitsAndMinusOnly() {
        WindowSession s;
        QVERIFY(s.start());
        FIND(QTabWidget, tabs, s, "TabStrip1");
        tabs->setCurrentIndex(1);
        QVERIFY(s.search().tab() == PanelTab::Manual);
        FIND(QLineEdit, text22, s, "Text22_1");
        QVERIFY(text22->isVisible());
        text22->setFocus();
        QTest::keyClicks(text22, QStringLiteral("a1b-2x"));
        QCOMPARE(text22->text(), QStringLiteral("1-2"));
        text22->clear();
        QTest::keyClicks(text22, QStringLiteral("-7"));
        const PanelSearch typed = panelSearchAsShown(s, SearchButton::Follow, {true});
        QVERIFY(typed.ready());
        QCOMPARE(typed.inputs.values->at(0), -7);
        // A ticked switch without a typed value refuses the search, in a message.
        s.find<QCheckBox>(QStringLiteral("Check11_2"))->setChecked(true);
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QCOMPARE(s.dialogs().messages().size(), 1);
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("第 2 位")), qPrintable(s.dialogs().lastText()));
    }

    void tabsShowTheirOwnPanel() {
        WindowSession s;
        QVERIFY(s.start());
        FIND(QTabWidget, tabs, s, "TabStrip1");
        FIND(QLineEdit, text4, s, "Text4");
        FIND(QCheckBox, check4, s, "Check4");
        QVERIFY(s.find<QWidget>(QStringLiteral("Frame2_0"))->isVisible());
        QVERIFY(!text4->isVisible());
        QVERIFY(!check4->isVisible());
        tabs->setCurrentIndex(2);
        QVERIFY(!s.find<QWidget>(QStringLiteral("Frame2_0"))->isVisible());
        QVERIFY(s.find<QWidget>(QStringLiteral("Frame2_2"))->isVisible());
        QVERIFY(text4->isVisible());
        QVERIFY(check4->isVisible());
    }

    void verificationFill() {
        WindowSession s;
        // 2012 ends at 153, as many real years do.
        auto draws = seededDraws(20, 9, 2012134, 153);  // 2012134..2012153, 2013001..
        s.seed(draws);
        QVERIFY(s.start());
        FIND(QTabWidget, tabs, s, "TabStrip1");
        tabs->setCurrentIndex(2);
        // Text4 holds the next issue: the base is the newest draw.
        expectNumbers(s, 11, draws.back());
        // An ordinary issue: the draw before it.
        setVerifiedIssue(s, 2012150);
        expectNumbers(s, 11, draws[15]);  // 2012149
        // 前期 with gap 2: the draw two before.
        s.find<QRadioButton>(QStringLiteral("Option1_2"))->click();
        expectNumbers(s, 11, draws[14]);  // 2012148
        s.find<QRadioButton>(QStringLiteral("Option1_3"))->click();
        // The first issue of a year after a year that ended at 153.
        setVerifiedIssue(s, 2013001);
        expectNumbers(s, 11, draws[19]);  // 2012153
        QVERIFY(s.find<QLabel>(QStringLiteral("Frame2Note_2"))->text().contains(QStringLiteral("2012153")));
        // Nothing stored before X: empty boxes, plain words, the search refuses.
        setVerifiedIssue(s, 2012134);
        for (int p = 11; p <= 18; ++p)
            QVERIFY(text2(s, p).isEmpty());
        QVERIFY(s.find<QLabel>(QStringLiteral("Frame2Note_2"))->text().contains(QStringLiteral("没有早于")));
        s.find<QCheckBox>(QStringLiteral("Check1_11"))->setChecked(true);
        s.find<QPushButton>(QStringLiteral("Command1"))->click();
        QVERIFY(s.dialogs().lastText().contains(QStringLiteral("检索未进行")));
        // Going back to the first tab shows the latest draw again.
        tabs->setCurrentIndex(0);
        expectNumbers(s, 1, draws.back());
    }

    void check4EndsTheRangeBeforeTheVerifiedIssue() {
        WindowSession s;
        auto draws = seededDraws(10, 9, 2012150, 154);  // 2012150..2012154, 2013001..2013005
        s.seed(draws);
        QVERIFY(s.start());
        FIND(QTabWidget, tabs, s, "TabStrip1");
        tabs->setCurrentIndex(2);
        FIND(QLineEdit, end, s, "Text3_1");
        FIND(QCheckBox, check4, s, "Check4");
        setVerifiedIssue(s, 2013001);
        check4->click();
        QCOMPARE(end->text(), QStringLiteral("2012154"));  // the previous year's 154
        check4->click();
        QCOMPARE(end->text(), QStringLiteral("2013005"));  // unticked: the newest issue
        check4->click();
        setVerifiedIssue(s, 2013004);
        QCOMPARE(end->text(), QStringLiteral("2013003"));
    }

    void check4AfterAYearEndingAt153() {
        WindowSession s;
        s.seed(seededDraws(6, 9, 2012151, 153));  // 2012151..2012153, 2013001..2013003
        QVERIFY(s.start());
        s.find<QTabWidget>(QStringLiteral("TabStrip1"))->setCurrentIndex(2);
        setVerifiedIssue(s, 2013001);
        s.find<QCheckBox>(QStringLiteral("Check4"))->click();
        // The stored draw before X, as the verification base has it (the rule's 2012154
        // would select the same rows).
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_1"))->text(), QStringLiteral("2012153"));
    }

    void followSearchShowsItsGrids() {
        WindowSession s;
        s.seed(seededDraws(120, 21, 2013001));
        QVERIFY(s.start());
        for (int p = 1; p <= 2; ++p)
            s.find<QCheckBox>(QStringLiteral("Check1_%1").arg(p))->setChecked(true);
        FIND_ENABLED(QPushButton, command1, s, "Command1");
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(s.dialogs().messages().isEmpty());
        auto* hits = s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"));
        auto* tally = s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"));
        QCOMPARE(hits->model()->columnCount(), 10);
        QCOMPARE(tally->model()->columnCount(), 6);  // and 期望次数, 偏离
        QCOMPARE(tally->model()->rowCount(), 30);    // every number 1..30
        QCOMPARE(tally->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("出现次数"));
        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("跟随检索")));
        FIND_ENABLED(QPushButton, command2, s, "Command2");
        QVERIFY(s.clickAndWait(QStringLiteral("Command2")));
        QVERIFY(s.dialogs().messages().isEmpty());
        QVERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().contains(QStringLiteral("组合检索")));
    }

    // Searches whose result means less than it seems say so beside the count.
    void statusTextNamesAnEmptyPanelAndAnInvertedRange() {
        WindowSession s;
        s.seed(seededDraws(60, 5, 2013001));
        QVERIFY(s.start());
        FIND(QLabel, note, s, "resultNote");
        FIND_ENABLED(QPushButton, command1, s, "Command1");
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));  // nothing ticked
        QVERIFY(note->text().contains(QStringLiteral("没有勾选任何位置")));
        QCOMPARE(s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"))->model()->rowCount(), 59);

        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        s.find<QLineEdit>(QStringLiteral("Text3_0"))->setText(QStringLiteral("2013050"));
        s.find<QLineEdit>(QStringLiteral("Text3_1"))->setText(QStringLiteral("2013010"));
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(note->text().contains(QStringLiteral("起始期号 2013050 大于截止期号 2013010")));
        QVERIFY(!note->text().contains(QStringLiteral("没有勾选任何位置")));
    }

    // Results of a search describe a history that a clearing or an import replaced: they go.
    void historyResetClearsTheResultsAndTheEmptyHistoryNote() {
        WindowSession s;
        QVERIFY(s.start());
        FIND(QLabel, note, s, "resultNote");
        FIND(FlexGrid, hits, s, "MSFlexGrid2");
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(true);
        s.find<QPushButton>(QStringLiteral("Command1"))->click();
        QVERIFY(note->text().contains(QStringLiteral("历史号码为空")));

        // The first draw typed by hand lifts the refusal's note.
        s.find<QLineEdit>(QStringLiteral("MaskEdBox1_1"))->setFocus();
        QTRY_VERIFY(s.find<QLineEdit>(QStringLiteral("MaskEdBox1_1"))->hasFocus());
        typeIntoFocus(QStringLiteral("0307121822252911"));
        QCOMPARE(s.history().history().size(), size_t(1));
        QCOMPARE(note->text(), QStringLiteral("检索结果"));

        typeIntoFocus(QStringLiteral("0102030405060708"));
        s.find<QCheckBox>(QStringLiteral("Check1_1"))->setChecked(false);  // every draw matches
        QVERIFY(s.clickAndWait(QStringLiteral("Command1")));
        QVERIFY(hits->model()->rowCount() > 0);
        s.dialogs().setNextConfirm(true);
        s.find<QAction>(QStringLiteral("mnuClear"))->trigger();
        QVERIFY(s.finishWork());
        QCOMPARE(s.history().history().size(), size_t(0));
        QCOMPARE(hits->model()->rowCount(), 0);
        QCOMPARE(s.find<FlexGrid>(QStringLiteral("MSFlexGrid3"))->model()->rowCount(), 0);
        QCOMPARE(note->text(), QStringLiteral("检索结果"));
    }
};

QTEST_MAIN(SearchPanelTest)
#include "search_panel_test.moc"
