// The two menus: mnuLsgl "历史管理" and mnuSetup "设置", every item under its
// name and in its order. The radio pairs of the settings menu are exclusive
// action groups.
#pragma once

#include <QObject>

#include <array>

class QAction;
class QMenu;
class QMenuBar;

namespace drawfollow {

struct MainMenus {
    QMenu* history = nullptr;                 // mnuLsgl
    QMenu* setup = nullptr;                   // mnuSetup
    QAction* dcls = nullptr;                  // mnuDcls
    QAction* erase = nullptr;                 // mnuErase
    QAction* clear = nullptr;                 // mnuClear
    QAction* dlzd = nullptr;                  // mnuDlzd
    QAction* eszhzd = nullptr;                // mnuEszhzd
    QAction* restore = nullptr;               // mnuRestore
    std::array<QAction*, 2> zodiacOffset{};   // mnuSxcs(0..1)
    std::array<QAction*, 2> segmentOffset{};  // mnuDscs(0..1)
    std::array<QAction*, 2> zodiacMode{};     // mnuSxsetup(0) sequential, (1) by age
    QAction* setDay = nullptr;                // mnuSetDay
    QAction* updateHost = nullptr;            // mnuUpdateHost
    QAction* frontPage = nullptr;             // mnuFrontPage
    QAction* describe = nullptr;              // mnuDescrb
    QAction* demo = nullptr;                  // numYanshiDown

    // Adds both menus to the bar; the actions belong to the menus.
    static MainMenus build(QMenuBar* bar);
};

}  // namespace drawfollow
