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

QMenu* submenu(QMenu* parent, const char* name, const QString& caption, const QString& tip) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name));
    m->menuAction()->setToolTip(tip);
    m->setToolTipsVisible(true);
    return m;
}

struct Choice {
    QString caption;
    QString tip;
};

std::array<QAction*, 2> radioPair(QMenu* menu, const char* control, const Choice& first, const Choice& second) {
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    std::array<QAction*, 2> pair{item(menu, arrayName(control, 0), first.caption),
                                 item(menu, arrayName(control, 1), second.caption)};
    pair[0]->setToolTip(first.tip);
    pair[1]->setToolTip(second.tip);
    for (QAction* a : pair) {
        a->setCheckable(true);
        group->addAction(a);
    }
    return pair;
}

// Every change of these codes derives all stored draws again; the user should know before clicking.
QString rederivedNote() {
    return QStringLiteral("改变后全部历史号码按新的设置重新计算，计算前自动备份。");
}

void separator(QMenu* menu, const char* name) {
    menu->addSeparator()->setObjectName(QLatin1String(name));
}

}  // namespace

MainMenus MainMenus::build(QMenuBar* bar) {
    MainMenus m;
    m.historyMenu = bar->addMenu(QStringLiteral("历史管理(&H)"));
    m.historyMenu->setObjectName(QStringLiteral("mnuLsgl"));
    m.historyMenu->setToolTipsVisible(true);
    m.exportHistoryAction = item(m.historyMenu, QStringLiteral("mnuDcls"), QStringLiteral("导出历史号码(&O)"));
    m.deleteNewestAction = item(m.historyMenu, QStringLiteral("mnuErase"), QStringLiteral("删除最后历史(&E)"));
    m.clearHistoryAction = item(m.historyMenu, QStringLiteral("mnuClear"), QStringLiteral("清空历史号码(&C)"));
    m.trimToIssueAction = item(m.historyMenu, QStringLiteral("mnuDlzd"), QStringLiteral("删除到选定期(&D)"));
    m.deleteNewestCountAction =
        item(m.historyMenu, QStringLiteral("mnuEszhzd"), QStringLiteral("删除最后指定数量期历史(&N)"));
    m.restoreSafetyCopyAction = item(m.historyMenu, QStringLiteral("mnuRestore"), QStringLiteral("恢复备份(&R)…"));

    m.settingsMenu = bar->addMenu(QStringLiteral("设置(&E)"));
    m.settingsMenu->setObjectName(QStringLiteral("mnuSetup"));
    m.settingsMenu->setToolTipsVisible(true);
    QMenu* zodiac = submenu(m.settingsMenu, "mnuSxCssetup", QStringLiteral("生肖参数设置(&S)"),
                            QStringLiteral("十二生肖的代码从 0 起还是从 1 起。") + rederivedNote());
    m.zodiacOffsetActions =
        radioPair(zodiac, "mnuSxcs", {QStringLiteral("生肖参数0~11"), QStringLiteral("十二生肖的代码为 0～11。")},
                  {QStringLiteral("生肖参数1~12"), QStringLiteral("十二生肖的代码为 1～12。")});
    QMenu* segment = submenu(m.settingsMenu, "mnuDssetup", QStringLiteral("段数参数设置(&A)"),
                             QStringLiteral("十个段（每三个号码一段）的编号从 0 起还是从 1 起。") + rederivedNote());
    m.segmentOffsetActions = radioPair(
        segment, "mnuDscs", {QStringLiteral("段数参数0~9"), QStringLiteral("01～03 为第 0 段……28～30 为第 9 段。")},
        {QStringLiteral("段数参数1~10"), QStringLiteral("01～03 为第 1 段……28～30 为第 10 段。")});
    separator(m.settingsMenu, "mk10");
    QMenu* mode = submenu(m.settingsMenu, "mnuSxqzSetup", QStringLiteral("生肖取值设置(&Z)"),
                          QStringLiteral("生肖代码按生肖的固定顺序排，还是按年龄排。") + rederivedNote());
    m.zodiacModeActions =
        radioPair(mode, "mnuSxsetup",
                  {QStringLiteral("生肖数字按顺序取值"),
                   QStringLiteral("按顺序：鼠的代码最小，其后依次为牛、虎、兔……猪最大，年年不变。")},
                  {QStringLiteral("生肖数字按年龄取值"),
                   QStringLiteral("按年龄：下一期所在生肖年的生肖代码最小，上一年的生肖其次，依此类推；"
                                  "到了新的生肖年，代码随之改变。")});
    separator(m.settingsMenu, "mnuNull2");
    m.yearsToKeepAction = item(m.settingsMenu, QStringLiteral("mnuSetDay"), QStringLiteral("历史号码更新检索年(&Y)"));
    m.yearsToKeepAction->setToolTip(
        QStringLiteral("在线更新保留今年和之前几年（2～16 年）的历史号码：一次完整的在线更新结束时，"
                       "更早年份的历史号码会被删除，删除前自动备份。"));
    m.updateHostAction = item(m.settingsMenu, QStringLiteral("mnuUpdateHost"), QStringLiteral("在线更新网址设置(&U)"));
    m.homePageAction = item(m.settingsMenu, QStringLiteral("mnuFrontPage"), QStringLiteral("软件介绍服务主页(&P)"));
    m.descriptionAction = item(m.settingsMenu, QStringLiteral("mnuDescrb"), QStringLiteral("软件介绍说明页面(&R)"));
    m.demoRecordingAction =
        item(m.settingsMenu, QStringLiteral("numYanshiDown"), QStringLiteral("软件演示说明录像下载(&D)"));

    m.analysisMenu = bar->addMenu(QStringLiteral("分析(&A)"));
    m.analysisMenu->setObjectName(QStringLiteral("mnuAnalysis"));
    m.trendAction = item(m.analysisMenu, QStringLiteral("mnuTrend"), QStringLiteral("走势图(&T)…"));
    m.pickBookAction = item(m.analysisMenu, QStringLiteral("mnuPickBook"), QStringLiteral("预测记录(&P)…"));
    return m;
}

}  // namespace drawfollow
