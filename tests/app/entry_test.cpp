// Hand entry: focus moves, sixteen digits store one draw, a
// bad draw is refused with a message naming the box (also on Return in an incomplete row),
// the issue must be new; deleting the newest draw.
#include "app/shell/flex_grid.h"
#include "app/shell/key_repeat_guard.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

QLineEdit* box(WindowSession& s, int p) {
    return s.find<QLineEdit>(QStringLiteral("MaskEdBox1_%1").arg(p));
}

}  // namespace

class EntryTest : public QObject {
    Q_OBJECT

private slots:
    void focusMovesAfterTwoDigits() {
        WindowSession s;
        QVERIFY(s.start());
        FIND_ENABLED(QLineEdit, box1, s, "MaskEdBox1_1");
        FIND(QLineEdit, box2, s, "MaskEdBox1_2");
        box1->setFocus();
        QTRY_VERIFY(box1->hasFocus());
        typeIntoFocus(QStringLiteral("0"));
        QVERIFY(box1->hasFocus());
        QCOMPARE(box1->displayText(), QStringLiteral("0_"));
        typeIntoFocus(QStringLiteral("3"));
        QVERIFY(box2->hasFocus());
        QCOMPARE(box1->text(), QStringLiteral("03"));
    }

    // A click lands the caret where it falls, past the blank places of an empty box.
    void clickAnywhereInAnEmptyBoxStartsAtItsFirstPlace() {
        WindowSession s;
        s.seed(seededDraws(5, 3, 2026001));
        QVERIFY(s.start());
        FIND_ENABLED(QLineEdit, box3, s, "MaskEdBox1_3");
        FIND(QLineEdit, box4, s, "MaskEdBox1_4");
        QTest::mouseClick(box3, Qt::LeftButton, {}, QPoint(box3->width() - 3, box3->height() / 2));
        QTRY_VERIFY(box3->hasFocus());
        QCOMPARE(box3->cursorPosition(), 0);
        typeIntoFocus(QStringLiteral("05"));
        QCOMPARE(box3->text(), QStringLiteral("05"));
        QVERIFY(box4->hasFocus());
        // A box that holds a digit keeps the caret where the click puts it.
        QTest::mouseClick(box3, Qt::LeftButton, {}, QPoint(box3->width() - 3, box3->height() / 2));
        QVERIFY(box3->cursorPosition() > 0);
    }

    void sixteenDigitsStoreExactlyOneDraw() {
        WindowSession s;
        s.seed(seededDraws(40, 3, 2026001));
        QVERIFY(s.start());
        FIND(FlexGrid, grid, s, "MSFlexGrid1");
        FIND(QLineEdit, text1, s, "Text1");
        QCOMPARE(text1->text(), QStringLiteral("2026041"));
        box(s, 1)->setFocus();
        QTRY_VERIFY(box(s, 1)->hasFocus());
        typeIntoFocus(QStringLiteral("0307121822252911"));
        QCOMPARE(s.dialogs().messages().size(), 0);
        QCOMPARE(s.history().history().size(), size_t(41));
        QCOMPARE(grid->model()->rowCount(), 41);
        const auto& stored = s.history().history().back();
        QCOMPARE(stored.issue, 2026041);
        const int expected[] = {3, 7, 12, 18, 22, 25, 29, 11};
        for (int p = 0; p < 8; ++p)
            QCOMPARE(int(stored.own[0][p]), expected[p]);
        // Boxes cleared, focus back in box 1, next issue and labels follow.
        for (int p = 1; p <= 8; ++p)
            QVERIFY(box(s, p)->text().isEmpty());
        QVERIFY(box(s, 1)->hasFocus());
        QCOMPARE(text1->text(), QStringLiteral("2026042"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_1"))->text(), QStringLiteral("2026041"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text4"))->text(), QStringLiteral("2026042"));
        // The panel shows the new draw (上期, kind 号码).
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text2_1"))->text(), QStringLiteral("3"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text2_8"))->text(), QStringLiteral("11"));
        // The newest draw is in view.
        QVERIFY(grid->viewport()->rect().intersects(grid->visualRect(grid->model()->index(40, 0))));
        // Stored for good: a restart reads it back.
        QVERIFY(s.restart());
        QCOMPARE(s.history().history().size(), size_t(41));

        // A second draw straight after: the next digit starts a new entry.
        box(s, 1)->setFocus();
        QTRY_VERIFY(box(s, 1)->hasFocus());
        typeIntoFocus(QStringLiteral("01020304050607083"));  // seventeen: the last starts the next
        QCOMPARE(s.history().history().size(), size_t(42));
        QCOMPARE(s.history().history().back().issue, 2026042);
        QCOMPARE(box(s, 1)->text(), QStringLiteral("3"));
    }

    void firstDrawOfAnEmptyHistoryTakesTheYearsFirstIssue() {
        WindowSession s(2027);
        QVERIFY(s.start());
        box(s, 1)->setFocus();
        QTRY_VERIFY(box(s, 1)->hasFocus());
        typeIntoFocus(QStringLiteral("0102030405060708"));
        QCOMPARE(s.history().history().size(), size_t(1));
        QCOMPARE(s.history().history().back().issue, 2027001);
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(), QStringLiteral("2027002"));
    }

    void badDrawIsRefusedAndKeptForCorrection_data() {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<int>("wrongBox");
        QTest::addColumn<QString>("says");
        QTest::newRow("repeated number") << QStringLiteral("0102030405060703") << 8 << QStringLiteral("重复");
        QTest::newRow("number above 30") << QStringLiteral("0102310405060708") << 3 << QStringLiteral("01～30");
        QTest::newRow("number 00") << QStringLiteral("0102030400060708") << 5 << QStringLiteral("01～30");
    }
    void badDrawIsRefusedAndKeptForCorrection() {
        QFETCH(QString, digits);
        QFETCH(int, wrongBox);
        QFETCH(QString, says);
        WindowSession s;
        s.seed(seededDraws(5));
        QVERIFY(s.start());
        box(s, 1)->setFocus();
        QTRY_VERIFY(box(s, 1)->hasFocus());
        typeIntoFocus(digits);
        QCOMPARE(s.history().history().size(), size_t(5));
        QCOMPARE(s.dialogs().messages().size(), 1);
        const QString text = s.dialogs().lastText();
        QVERIFY2(text.contains(QStringLiteral("第 %1 个号码框").arg(wrongBox)), qPrintable(text));
        QVERIFY2(text.contains(says), qPrintable(text));
        for (int p = 1; p <= 8; ++p)
            QCOMPARE(box(s, p)->text(), digits.mid(2 * (p - 1), 2));
        QVERIFY(box(s, wrongBox)->hasFocus());
        // Corrected: completing box 8 stores at once, otherwise Return does.
        typeIntoFocus(QStringLiteral("29"));
        if (wrongBox != 8)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(s.history().history().size(), size_t(6));
        QCOMPARE(s.dialogs().messages().size(), 1);
        QCOMPARE(int(s.history().history().back().own[0][wrongBox - 1]), 29);
    }

    void emptyBoxIsRefused() {
        WindowSession s;
        QVERIFY(s.start());
        box(s, 8)->setFocus();
        QTRY_VERIFY(box(s, 8)->hasFocus());
        typeIntoFocus(QStringLiteral("11"));  // box 8 first: seven zeros must not be stored
        QCOMPARE(s.history().history().size(), size_t(0));
        QVERIFY(s.dialogs().lastText().contains(QStringLiteral("第 1 个号码框（平1码）是空的")));
        QVERIFY(box(s, 1)->hasFocus());
    }

    // Return in a box that is empty or holds one digit names the first box still missing;
    // the repeats of a held Return ask nothing more.
    void returnInAnIncompleteRowSaysWhatIsMissing() {
        WindowSession s;
        s.seed(seededDraws(3, 7, 2026001));
        QVERIFY(s.start());
        box(s, 1)->setFocus();
        QTRY_VERIFY(box(s, 1)->hasFocus());
        QTest::keyClick(box(s, 1), Qt::Key_Return);
        QCOMPARE(s.dialogs().messages().size(), 1);
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("第 1 个号码框（平1码）是空的")),
                 qPrintable(s.dialogs().lastText()));

        typeIntoFocus(QStringLiteral("04053"));  // box 3 holds one digit
        QVERIFY(box(s, 3)->hasFocus());
        QTest::keyClick(box(s, 3), Qt::Key_Return);
        QCOMPARE(s.dialogs().messages().size(), 2);
        QVERIFY2(s.dialogs().lastText().contains(QStringLiteral("第 4 个号码框（平4码）是空的")),
                 qPrintable(s.dialogs().lastText()));
        QVERIFY(box(s, 4)->hasFocus());

        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(box(s, 4), &repeat);
        QCOMPARE(s.dialogs().messages().size(), 2);
        QCOMPARE(s.history().history().size(), size_t(3));
    }

    // While a message box is open, a held key's repeats reach nothing; its first press and
    // later keys do.
    void keyRepeatsDroppedWhileAGuardLives() {
        QLineEdit line;
        const auto press = [&line](bool repeat) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"), repeat);
            QApplication::sendEvent(&line, &key);
        };
        {
            const KeyRepeatGuard guard;
            press(false);
            press(true);
            press(true);
            QCOMPARE(line.text(), QStringLiteral("a"));
        }
        press(true);
        QCOMPARE(line.text(), QStringLiteral("aa"));
    }

    void issueMustBeNewerThanTheNewestDraw() {
        WindowSession s;
        s.seed(seededDraws(5, 7, 2026001));
        QVERIFY(s.start());
        FIND(QLineEdit, text1, s, "Text1");
        text1->setText(QStringLiteral("2026003"));
        box(s, 1)->setFocus();
        QTRY_VERIFY(box(s, 1)->hasFocus());
        typeIntoFocus(QStringLiteral("0102030405060708"));
        QCOMPARE(s.history().history().size(), size_t(5));
        QVERIFY(s.dialogs().lastText().contains(QStringLiteral("不大于已存的最新期号 2026005")));
        QVERIFY(text1->hasFocus());
        text1->setText(QStringLiteral("2027001"));  // a new year typed by hand
        QCOMPARE(s.find<QLabel>(QStringLiteral("Label12_1"))->text(), QStringLiteral("在下面输入 2027001 期历史号码:"));
        box(s, 8)->setFocus();
        QTest::keyClick(box(s, 8), Qt::Key_Return);
        QCOMPARE(s.history().history().back().issue, 2027001);
        QCOMPARE(text1->text(), QStringLiteral("2027002"));
    }

    void deleteNewestDraw() {
        WindowSession s;
        s.seed(seededDraws(3, 7, 2026001));
        QVERIFY(s.start());
        FIND_ENABLED(QPushButton, command3, s, "Command3");
        QVERIFY(s.clickAndWait(QStringLiteral("Command3")));
        QCOMPARE(s.history().history().size(), size_t(2));
        QCOMPARE(s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))->model()->rowCount(), 2);
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("2026003"));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text3_1"))->text(), QStringLiteral("2026002"));
        QVERIFY(box(s, 1)->hasFocus());
        for (int i = 0; i < 2; ++i) {
            s.find<QAction>(QStringLiteral("mnuErase"))->trigger();
            QVERIFY(s.finishWork());
        }
        QCOMPARE(s.history().history().size(), size_t(0));
        QCOMPARE(s.find<QLineEdit>(QStringLiteral("Text1"))->text(), QStringLiteral("2026001"));
        // On an empty history the panel says so and a search refuses.
        QVERIFY(!s.find<QLabel>(QStringLiteral("Frame2Note_0"))->text().isEmpty());
        QVERIFY(command3->isEnabled());
        QVERIFY(s.clickAndWait(QStringLiteral("Command3")));  // nothing left: no error
        QVERIFY(s.dialogs().messages().isEmpty());
    }
};

QTEST_MAIN(EntryTest)
#include "entry_test.moc"
