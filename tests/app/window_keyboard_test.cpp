// The window by keyboard: mnemonics, F10, the Tab order, Enter in the issue and range
// boxes, and the grids passing Tab on.
#include "app/shell/flex_grid.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

// The letter after a single '&', upper-cased; none without one.
QChar mnemonic(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&')
            continue;
        if (text[i + 1] != u'&')
            return text[i + 1].toUpper();
        ++i;  // "&&" is a literal ampersand
    }
    return {};
}

// Every text whose letter another text of the same list also uses.
QStringList clashes(const QStringList& texts) {
    QStringList clashing;
    for (const QString& a : texts)
        for (const QString& b : texts)
            if (&a != &b && !mnemonic(a).isNull() && mnemonic(a) == mnemonic(b))
                clashing << a;
    return clashing;
}

}  // namespace

class WindowKeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void mnemonicsUniqueInTheWindowAndEachMenu() {
        WindowSession s;
        QVERIFY(s.start());
        QStringList window;
        for (const QAbstractButton* b : s.window().findChildren<QAbstractButton*>())
            window << b->text();
        for (const QAction* a : s.window().menuBar()->actions()) {
            QVERIFY2(!mnemonic(a->text()).isNull(), qPrintable(a->text()));
            window << a->text();
        }
        QVERIFY2(clashes(window).isEmpty(), qPrintable(clashes(window).join(u' ')));
        for (const QMenu* menu : s.window().findChildren<QMenu*>()) {
            QStringList items;
            for (const QAction* a : menu->actions())
                items << a->text();
            QVERIFY2(clashes(items).isEmpty(), qPrintable(clashes(items).join(u' ')));
        }
    }

    void f10OpensTheMenuBar() {
        WindowSession s;
        QVERIFY(s.start());
        FIND(QMenu, history, s, "mnuLsgl");
        QTest::keyClick(&s.window(), Qt::Key_F10);
        QTRY_VERIFY(history->isVisible());
        history->hide();
    }

    // Alt pressed and let go alone puts the keyboard on the menu bar; a letter then opens a menu.
    void altReachesTheMenuBar() {
        WindowSession s;
        QVERIFY(s.start());
        s.window().activateWindow();
        s.find<QWidget>(QStringLiteral("Text1"))->setFocus();
        QTest::keyClick(&s.window(), Qt::Key_Alt);
        QTRY_VERIFY(s.window().menuBar()->activeAction() != nullptr);
        FIND(QMenu, history, s, "mnuLsgl");
        QTest::keyClick(s.window().menuBar(), Qt::Key_H);
        QTRY_VERIFY(history->isVisible());
        history->hide();
    }

    void tabFollowsTheScreen() {
        WindowSession s;
        QVERIFY(s.start());
        s.window().resize(1366, 768);  // the option frames side by side
        QCoreApplication::processEvents();
        const char* order[] = {"MSFlexGrid1", "Text1",      "MaskEdBox1_1", "MaskEdBox1_8", "Command9",   "Check1_1",
                               "Option1_0",   "MaskEdBox2", "Option3_0",    "Option4_5",    "Option6_0",  "Combo1",
                               "Text3_0",     "Text3_1",    "Command1",     "Command2",     "MSFlexGrid2"};
        QList<QWidget*> chain;
        for (QWidget* w = s.find<QWidget>(QStringLiteral("MSFlexGrid1")); !chain.contains(w); w = w->nextInFocusChain())
            chain << w;
        qsizetype last = -1;
        for (const char* name : order) {
            const qsizetype at = chain.indexOf(s.find<QWidget>(QLatin1String(name)));
            QVERIFY2(at > last, name);
            last = at;
        }
        // Real Tab keys, with a grid in the way: it takes the focus but passes Tab on.
        auto* range = s.find<QLineEdit>(QStringLiteral("Text3_1"));
        range->setFocus();
        for (const char* next : {"Command1", "Command2", "backtestTargets", "backtestTop", "backtestExclude",
                                 "cmdBacktest", "cmdRecordPick", "MSFlexGrid2", "MSFlexGrid3"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), s.find<QWidget>(QLatin1String(next)));
        }
    }

    // Where the search row's frames stand on an option page, Tab goes through them and then
    // on to the buttons left below.
    void tabFollowsTheSearchRowOnItsPage() {
        WindowSession s;
        QVERIFY(s.start());
        s.window().resize(1024, 600);
        QCoreApplication::processEvents();
        FIND(QTabBar, pages, s, "optionPages");
        QVERIFY(pages->isVisible());
        pages->setCurrentIndex(pages->count() - 1);
        s.find<QWidget>(QStringLiteral("Option6_0"))->setFocus();
        for (const char* next : {"Combo1", "Text3_0", "Text3_1", "backtestTargets", "backtestTop", "backtestExclude",
                                 "Command1", "Command2", "cmdBacktest", "cmdRecordPick", "MSFlexGrid2"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), s.find<QWidget>(QLatin1String(next)));
        }
        // Back to a wide window: the frames stand in the row again, in the same order.
        s.window().resize(1366, 768);
        QCoreApplication::processEvents();
        QVERIFY(pages->isHidden());
        FIND(QWidget, rowPage, s, "searchRowPage");
        QVERIFY(!rowPage->isAncestorOf(s.find<QWidget>(QStringLiteral("Text3_0"))));
        s.find<QWidget>(QStringLiteral("Text3_1"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), s.find<QWidget>(QStringLiteral("Command1")));
    }

    void enterMovesOnFromTheIssueAndSearchesFromTheRange() {
        WindowSession s;
        s.seed(seededDraws(40));
        QVERIFY(s.start());
        FIND(QLineEdit, issue, s, "Text1");
        issue->setFocus();
        QTest::keyClick(issue, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), s.find<QWidget>(QStringLiteral("MaskEdBox1_1")));
        FIND(QLineEdit, end, s, "Text3_1");
        end->setFocus();
        QTest::keyClick(end, Qt::Key_Return);
        QTRY_VERIFY(s.find<QLabel>(QStringLiteral("resultNote"))->text().startsWith(QStringLiteral("跟随检索")));
        QVERIFY(s.find<FlexGrid>(QStringLiteral("MSFlexGrid2"))->model()->rowCount() > 0);
    }
};

QTEST_MAIN(WindowKeyboardTest)
#include "window_keyboard_test.moc"
