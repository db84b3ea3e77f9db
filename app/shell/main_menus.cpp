#include "app/shell/main_menus.h"

#include "app/shell/ui_text.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace drawfollow {

namespace {

QAction* item(QMenu* menu, const QString& name, const QString& caption) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

QMenu* submenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    return m;
}

std::array<QAction*, 2> radioPair(QMenu* menu, const char* control, const QString& first, const QString& second) {
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    std::array<QAction*, 2> pair{item(menu, arrayName(control, 0), first), item(menu, arrayName(control, 1), second)};
    for (QAction* a : pair) {
        a->setCheckable(true);
        group->addAction(a);
    }
    return pair;
}

void separator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

}  // namespace

MainMenus MainMenus::build(QMenuBar* bar) {
    MainMenus m;
    m.historyMenu = bar->addMenu(QStringLiteral("历史管理"));
    m.historyMenu->setObjectName(QStringLiteral("mnuLsgl"));
    m.historyMenu->setToolTipsVisible(true);
    m.exportHistoryAction = item(m.historyMenu, QStringLiteral("mnuDcls"), QStringLiteral("导出历史号码(&O)"));
    m.deleteNewestAction = item(m.historyMenu, QStringLiteral("mnuErase"), QStringLiteral("删除最后历史(&E)"));
    m.clearHistoryAction = item(m.historyMenu, QStringLiteral("mnuClear"), QStringLiteral("清空历史号码(&C)"));
    m.trimToIssueAction = item(m.historyMenu, QStringLiteral("mnuDlzd"), QStringLiteral("删除到选定期(&D)"));
    m.deleteNewestCountAction =
        item(m.historyMenu, QStringLiteral("mnuEszhzd"), QStringLiteral("删除最后指定数量期历史(&E)"));
    m.restoreSafetyCopyAction = item(m.historyMenu, QStringLiteral("mnuRestore"), QStringLiteral("恢复备份(&R)…"));

    m.settingsMenu = bar->addMenu(QStringLiteral("设置"));
    m.settingsMenu->setObjectName(QStringLiteral("mnuSetup"));
    m.settingsMenu->setToolTipsVisible(true);
    QMenu* zodiac = submenu(m.settingsMenu, "mnuSxCssetup", QStringLiteral("生肖参数设置(&S)"));
    m.zodiacOffsetActions =
        radioPair(zodiac, "mnuSxcs", QStringLiteral("生肖参数0~11"), QStringLiteral("生肖参数1~12"));
    QMenu* segment = submenu(m.settingsMenu, "mnuDssetup", QStringLiteral("段数参数设置(&A)"));
    m.segmentOffsetActions =
        radioPair(segment, "mnuDscs", QStringLiteral("段数参数0~9"), QStringLiteral("段数参数1~10"));
    separator(m.settingsMenu, "mk10");
    QMenu* mode = submenu(m.settingsMenu, "mnuSxqzSetup", QStringLiteral("生肖取值设置(&Z)"));
    m.zodiacModeActions =
        radioPair(mode, "mnuSxsetup", QStringLiteral("生肖数字按顺序取值"), QStringLiteral("生肖数字按年龄取值"));
    separator(m.settingsMenu, "mnuNull2");
    m.yearsToKeepAction = item(m.settingsMenu, QStringLiteral("mnuSetDay"), QStringLiteral("历史号码更新检索年(&Y)"));
    m.updateHostAction = item(m.settingsMenu, QStringLiteral("mnuUpdateHost"), QStringLiteral("在线更新网址设置"));
    m.homePageAction = item(m.settingsMenu, QStringLiteral("mnuFrontPage"), QStringLiteral("软件介绍服务主页(&P)"));
    m.descriptionAction = item(m.settingsMenu, QStringLiteral("mnuDescrb"), QStringLiteral("软件介绍说明页面(&R)"));
    m.demoRecordingAction =
        item(m.settingsMenu, QStringLiteral("numYanshiDown"), QStringLiteral("软件演示说明录像下载(&D)"));
    return m;
}

}  // namespace drawfollow
