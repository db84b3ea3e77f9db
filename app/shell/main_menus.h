// The menus: mnuLsgl "历史管理", mnuSetup "设置" and mnuAnalysis "分析", every item
// under its name and in its order. The radio pairs of the settings menu are exclusive
// action groups.
#pragma once

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace drawfollow {

struct MainMenus {
    QMenu* historyMenu = nullptr;                    // mnuLsgl
    QMenu* settingsMenu = nullptr;                   // mnuSetup
    QAction* exportHistoryAction = nullptr;          // mnuDcls
    QAction* deleteNewestAction = nullptr;           // mnuErase
    QAction* clearHistoryAction = nullptr;           // mnuClear
    QAction* trimToIssueAction = nullptr;            // mnuDlzd
    QAction* deleteNewestCountAction = nullptr;      // mnuEszhzd
    QAction* restoreSafetyCopyAction = nullptr;      // mnuRestore
    std::array<QAction*, 2> zodiacOffsetActions{};   // mnuSxcs(0..1)
    std::array<QAction*, 2> segmentOffsetActions{};  // mnuDscs(0..1)
    std::array<QAction*, 2> zodiacModeActions{};     // mnuSxsetup(0) sequential, (1) by age
    QAction* yearsToKeepAction = nullptr;            // mnuSetDay
    QAction* updateHostAction = nullptr;             // mnuUpdateHost
    QAction* homePageAction = nullptr;               // mnuFrontPage
    QAction* descriptionAction = nullptr;            // mnuDescrb
    QAction* demoRecordingAction = nullptr;          // numYanshiDown
    QMenu* analysisMenu = nullptr;                   // mnuAnalysis
    QAction* trendAction = nullptr;                  // mnuTrend: the 走势图 window
    QAction* pickBookAction = nullptr;               // mnuPickBook: the 预测记录 dialog

    // Adds the menus to the bar; the actions belong to the menus.
    static MainMenus build(QMenuBar* bar);
};

}  // namespace drawfollow
