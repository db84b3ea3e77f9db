// The window's controls and menus under their names and captions, every command
// available, the settings menu from Command9, the wheel, the right-click menu and the
// help links.
#include "app/shell/flex_grid.h"
#include "app/shell/help_links.h"
#include "support/history_builder.h"
#include "window_session.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>

using namespace drawfollow;
using namespace drawfollow::test;

namespace {

QStringList names(const QList<QAction*>& actions) {
    QStringList n;
    for (QAction* a : actions)
        n << a->objectName();
    return n;
}

void wheel(QWidget* viewport, int delta) {
    const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
    QWheelEvent e(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &e);
}

}  // namespace

class WindowControlsTest : public QObject {
    Q_OBJECT

private slots:
    void everyControlHasItsNameAndCaption() {
        WindowSession s;
        QVERIFY(s.start());
        QCOMPARE(s.window().objectName(), QStringLiteral("frmMain"));
        QVERIFY(s.window().windowTitle().startsWith(QStringLiteral("DrawFollow")));
        const std::pair<const char*, QString> buttons[] = {
            {"Command1", QStringLiteral("检索(&S)")},
            {"Command2", QStringLiteral("组合检索(&G)")},
            {"Command3", QStringLiteral("删除最后历史(&D)")},
            {"Command4", QStringLiteral("历史号码导出文本文件(&O)")},
            {"Command21", QStringLiteral("历史号在线更新(&U)")},
            {"cmdRdLst", QStringLiteral("读取历史号文本(&W)")},
            {"Command9", QStringLiteral("软件设置(&T)")},
        };
        for (const auto& [name, caption] : buttons) {
            auto* b = s.find<QPushButton>(QLatin1String(name));
            QCOMPARE(b->text(), caption);
        }
        const std::pair<const char*, QString> frames[] = {
            {"Frame1_0", QStringLiteral("检索位选择")}, {"Frame1_1", QStringLiteral("检索期选择")},
            {"Frame1_2", QStringLiteral("号码组选择")}, {"Frame3", QStringLiteral("搜索类型选择")},
            {"Frame4", QStringLiteral("结果类型选择")}, {"Frame6", QStringLiteral("结果统计选择")},
            {"Frame5", QStringLiteral("组合组位检索")}, {"Frame7", QStringLiteral("检索起止期数")},
        };
        for (const auto& [name, title] : frames) {
            auto* f = s.find<QGroupBox>(QLatin1String(name));
            QCOMPARE(f->title(), title);
        }
        for (int p = 1; p <= 8; ++p) {
            const QString caption = p == 8 ? QStringLiteral("特位") : QStringLiteral("平%1位").arg(p);
            for (const QString& name : {QStringLiteral("Check1_%1").arg(p), QStringLiteral("Check11_%1").arg(p),
                                        QStringLiteral("Check1_%1").arg(p + 10)}) {
                auto* c = s.find<QCheckBox>(name);
                QCOMPARE(c->text(), caption);
            }
            for (const QString& name : {QStringLiteral("Text2_%1").arg(p), QStringLiteral("Text22_%1").arg(p),
                                        QStringLiteral("Text2_%1").arg(p + 10), QStringLiteral("MaskEdBox1_%1").arg(p)})
                s.find<QLineEdit>(name);
            QCOMPARE(s.find<QLineEdit>(QStringLiteral("MaskEdBox1_%1").arg(p))->toolTip(),
                     QStringLiteral("在此补充输入最新历史号码"));
        }
        const QString kinds[] = {QStringLiteral("号码"), QStringLiteral("生肖"), QStringLiteral("头数"),
                                 QStringLiteral("尾数"), QStringLiteral("合数"), QStringLiteral("段数")};
        for (int k = 0; k < 6; ++k) {
            QCOMPARE(s.find<QRadioButton>(QStringLiteral("Option3_%1").arg(k))->text(), kinds[k]);
            QCOMPARE(s.find<QRadioButton>(QStringLiteral("Option4_%1").arg(k))->text(), kinds[k]);
        }
        const std::pair<const char*, QString> options[] = {
            {"Option1_0", QStringLiteral("固定位")}, {"Option1_1", QStringLiteral("自由位")},
            {"Option1_2", QStringLiteral("前期")},   {"Option1_3", QStringLiteral("上期")},
            {"Option2_4", QStringLiteral("落地码")}, {"Option2_5", QStringLiteral("顺序码")},
            {"Option5_0", QStringLiteral("平特")},   {"Option5_1", QStringLiteral("平码")},
            {"Option5_2", QStringLiteral("特码")},   {"Option6_0", QStringLiteral("平特")},
            {"Option6_1", QStringLiteral("平码")},
        };
        for (const auto& [name, caption] : options) {
            auto* o = s.find<QRadioButton>(QLatin1String(name));
            QCOMPARE(o->text(), caption);
        }
        FIND(QTabWidget, tabs, s, "TabStrip1");
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("自动历史位"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("手动输入号"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("验证指定期"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(tabs->widget(i)->objectName(), QStringLiteral("Frame2_%1").arg(i));
        FIND(QCheckBox, check2, s, "Check2");
        QCOMPARE(check2->text(), QStringLiteral("自由位计特码"));
        FIND(QCheckBox, check4, s, "Check4");
        QCOMPARE(check4->text(), QStringLiteral("仅检索该期前"));
        FIND(QLabel, label1, s, "Label1");
        QCOMPARE(label1->text(), QStringLiteral("组合位数"));
        QCOMPARE(s.find<QLabel>(QStringLiteral("Label3_0"))->text(), QStringLiteral("起"));
        QCOMPARE(s.find<QLabel>(QStringLiteral("Label3_1"))->text(), QStringLiteral("止"));
        QCOMPARE(s.find<QLabel>(QStringLiteral("Label4"))->text(), QStringLiteral("～"));
        FIND(QComboBox, combo1, s, "Combo1");
        QCOMPARE(combo1->count(), 6);
        QCOMPARE(combo1->itemText(0), QStringLiteral("1"));
        QCOMPARE(combo1->itemText(5), QStringLiteral("6"));
        for (const char* grid : {"MSFlexGrid1", "MSFlexGrid2", "MSFlexGrid3"})
            s.find<FlexGrid>(QLatin1String(grid));
        QVERIFY(s.find<FlexGrid>(QStringLiteral("MSFlexGrid1"))
                    ->toolTip()
                    .startsWith(QStringLiteral("鼠标双击列表可以将列表导出到EXCEL")));
        FIND(QLabel, label12, s, "Label12_1");
        QVERIFY(label12->text().startsWith(QStringLiteral("在下面输入 ")));
        QVERIFY(label12->text().endsWith(QStringLiteral(" 期历史号码:")));
    }

    void everyCommandIsAvailableWithAHistoryDatabase() {
        WindowSession s;
        QVERIFY(s.start());
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command9", "Command21", "cmdRdLst"}) {
            auto* b = s.find<QPushButton>(QLatin1String(name));
            QVERIFY2(b->isEnabled(), name);
            QVERIFY2(!b->toolTip().contains(QStringLiteral("尚未提供")), name);
        }
        QCOMPARE(s.find<QPushButton>(QStringLiteral("cmdRdLst"))->toolTip(),
                 QStringLiteral("从历史号码文本文件中读取历史号中最后一期之后的新的历史号码"));
        for (const char* name : {"mnuDcls", "mnuErase", "mnuClear", "mnuDlzd", "mnuEszhzd", "mnuRestore", "mnuSetDay",
                                 "mnuFrontPage", "mnuDescrb", "numYanshiDown"}) {
            auto* a = s.find<QAction>(QLatin1String(name));
            QVERIFY2(a->isEnabled(), name);
            QVERIFY2(!a->toolTip().contains(QStringLiteral("尚未提供")), name);
        }
        for (const char* name : {"MSFlexGrid1", "MSFlexGrid2"})
            QCOMPARE(s.find<FlexGrid>(QLatin1String(name))->toolTip(),
                     QStringLiteral("鼠标双击列表可以将列表导出到EXCEL"));
    }

    void menusInTheirOrder() {
        WindowSession s;
        QVERIFY(s.start());
        const QList<QAction*> top = s.window().menuBar()->actions();
        QCOMPARE(top.size(), 3);
        QCOMPARE(top[0]->text(), QStringLiteral("历史管理(&H)"));
        QCOMPARE(top[1]->text(), QStringLiteral("设置(&E)"));
        QCOMPARE(top[2]->text(), QStringLiteral("分析(&A)"));
        QCOMPARE(names(s.find<QMenu>(QStringLiteral("mnuAnalysis"))->actions()),
                 (QStringList{QStringLiteral("mnuTrend"), QStringLiteral("mnuPickBook")}));
        FIND(QMenu, history, s, "mnuLsgl");
        QCOMPARE(names(history->actions()),
                 (QStringList{QStringLiteral("mnuDcls"), QStringLiteral("mnuErase"), QStringLiteral("mnuClear"),
                              QStringLiteral("mnuDlzd"), QStringLiteral("mnuEszhzd"), QStringLiteral("mnuRestore")}));
        FIND(QMenu, setup, s, "mnuSetup");
        QCOMPARE(names(setup->actions()),
                 (QStringList{QStringLiteral("mnuSxCssetup"), QStringLiteral("mnuDssetup"), QStringLiteral("mk10"),
                              QStringLiteral("mnuSxqzSetup"), QStringLiteral("mnuNull2"), QStringLiteral("mnuSetDay"),
                              QStringLiteral("mnuUpdateHost"), QStringLiteral("mnuFrontPage"),
                              QStringLiteral("mnuDescrb"), QStringLiteral("numYanshiDown")}));
        QVERIFY(s.find<QAction>(QStringLiteral("mk10"))->isSeparator());
        QVERIFY(s.find<QAction>(QStringLiteral("mnuNull2"))->isSeparator());
        QCOMPARE(s.find<QAction>(QStringLiteral("mnuErase"))->text(), QStringLiteral("删除最后历史(&E)"));
        QCOMPARE(s.find<QAction>(QStringLiteral("mnuSxcs_0"))->text(), QStringLiteral("生肖参数0~11"));
        QCOMPARE(s.find<QAction>(QStringLiteral("mnuSxcs_1"))->text(), QStringLiteral("生肖参数1~12"));
        QCOMPARE(s.find<QAction>(QStringLiteral("mnuDscs_0"))->text(), QStringLiteral("段数参数0~9"));
        QCOMPARE(s.find<QAction>(QStringLiteral("mnuDscs_1"))->text(), QStringLiteral("段数参数1~10"));
        QCOMPARE(s.find<QAction>(QStringLiteral("mnuSxsetup_0"))->text(), QStringLiteral("生肖数字按顺序取值"));
        QCOMPARE(s.find<QAction>(QStringLiteral("mnuSxsetup_1"))->text(), QStringLiteral("生肖数字按年龄取值"));
    }

    void command9PopsUpTheSettingsMenu() {
        WindowSession s;
        QVERIFY(s.start());
        FIND_ENABLED(QPushButton, command9, s, "Command9");
        FIND(QMenu, setup, s, "mnuSetup");
        command9->click();
        QTRY_VERIFY(setup->isVisible());
        setup->hide();
    }

    void rightClickOnTheHistoryGridOpensTheHistoryMenu() {
        WindowSession s;
        s.seed(seededDraws(5));
        QVERIFY(s.start());
        FIND(FlexGrid, grid, s, "MSFlexGrid1");
        FIND(QMenu, history, s, "mnuLsgl");
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QTest::qWait(50);
        QVERIFY(!history->isVisible());
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, QPoint(20, 10));
        QTRY_VERIFY(history->isVisible());
        history->hide();
    }

    void wheelScrollsOneRowPerNotchAndStopsAtTheTop() {
        WindowSession s;
        s.seed(seededDraws(200));
        QVERIFY(s.start());
        FIND(FlexGrid, grid, s, "MSFlexGrid1");
        QScrollBar* bar = grid->verticalScrollBar();
        const int bottom = bar->maximum();
        QVERIFY(bottom > 10);
        // The grid scrolls by whole rows: the scroll bar counts them.
        QCOMPARE(bar->value(), bottom);  // the newest draw in view
        wheel(grid->viewport(), -120);   // towards the user: at the bottom nothing happens
        QCOMPARE(bar->value(), bottom);
        wheel(grid->viewport(), 120);
        QCOMPARE(bar->value(), bottom - 1);
        wheel(grid->viewport(), 360);  // one event of three notches
        QCOMPARE(bar->value(), bottom - 4);
        wheel(grid->viewport(), 60);  // half a notch waits for the other half
        QCOMPARE(bar->value(), bottom - 4);
        wheel(grid->viewport(), 60);
        QCOMPARE(bar->value(), bottom - 5);
        grid->scrollToTop();
        QCOMPARE(bar->value(), 0);
        wheel(grid->viewport(), 120);  // away from the user at the top: stays at row 0
        QCOMPARE(bar->value(), 0);
        wheel(grid->viewport(), -120);
        QCOMPARE(bar->value(), 1);
    }

    void helpItemsOpenTheManualAndTheHomePageSetting() {
        WindowSession s;
        QVERIFY(s.start());
        const QString manual = s.manualFolder();
        s.find<QAction>(QStringLiteral("mnuFrontPage"))->trigger();
        s.find<QAction>(QStringLiteral("mnuDescrb"))->trigger();
        s.find<QAction>(QStringLiteral("numYanshiDown"))->trigger();
        QCOMPARE(s.openedUrls().size(), size_t(3));
        QCOMPARE(s.openedUrls()[0], QUrl::fromLocalFile(manual + QStringLiteral("/index.html")));
        QCOMPARE(s.openedUrls()[1], QUrl::fromLocalFile(manual + QStringLiteral("/index.html")));
        QCOMPARE(s.openedUrls()[2], QUrl::fromLocalFile(manual + QStringLiteral("/demo.html")));
        QVERIFY(s.dialogs().messages().isEmpty());
        QVERIFY(s.window().statusBar()->currentMessage().isEmpty());

        s.presetSetting(QStringLiteral("HomePage"), QStringLiteral("https://drawfollow.example.net/"));
        QVERIFY(s.restart());
        s.find<QAction>(QStringLiteral("mnuFrontPage"))->trigger();
        QCOMPARE(s.openedUrls().back(), QUrl(QStringLiteral("https://drawfollow.example.net/")));
    }

    void aPageNothingCanShowIsNamedInTheStatusBar() {
        WindowSession s;
        s.setUrlsOpen(false);
        QVERIFY(s.start());
        s.find<QAction>(QStringLiteral("numYanshiDown"))->trigger();
        QString said = s.window().statusBar()->currentMessage();
        QVERIFY2(said.contains(s.manualFolder() + QStringLiteral("/demo.html")), qPrintable(said));
        QVERIFY(s.dialogs().messages().isEmpty());

        s.setManualFolder({});
        QVERIFY(s.restart());
        s.find<QAction>(QStringLiteral("mnuDescrb"))->trigger();
        QCOMPARE(s.openedUrls().size(), size_t(1));
        said = s.window().statusBar()->currentMessage();
        QVERIFY2(said.contains(QStringLiteral("没有找到")), qPrintable(said));
    }
};

QTEST_MAIN(WindowControlsTest)
#include "window_controls_test.moc"
