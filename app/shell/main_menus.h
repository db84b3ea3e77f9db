// The menus 历史管理, 设置 and 分析, every item
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
    QMenu* historyMenu = nullptr;
    QMenu* settingsMenu = nullptr;
    QAction* exportHistoryAction = nullptr;
    QAction* deleteNewestAction = nullptr;
    QAction* clearHistoryAction = nullptr;
    QAction* trimToIssueAction = nullptr;
    QAction* deleteNewestCountAction = nullptr;
    QAction* restoreSafetyCopyAction = nullptr;
    std::array<QAction*, 2> zodiacOffsetActions{};
    std::array<QAction*, 2> segmentOffsetActions{};
    std::array<QAction*, 2> zodiacModeActions{};  // sequential, by age
    QAction* yearsToKeepAction = nullptr;
    QAction* updateHostAction = nullptr;
    QAction* homePageAction = nullptr;
    QAction* descriptionAction = nullptr;
    QAction* demoRecordingAction = nullptr;  // the demonstration video
    QMenu* analysisMenu = nullptr;
    QAction* trendAction = nullptr;     // the 走势图 window
    QAction* pickBookAction = nullptr;  // the 预测记录 dialog

    // Adds the menus to the bar; the actions belong to the menus.
    static MainMenus build(QMenuBar* bar);
};

}  // namespace drawfollow
