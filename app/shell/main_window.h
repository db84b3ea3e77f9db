// frmMain: the history panel on the left, the search panel and the result
// grids on the right, the menus 历史管理 and 设置. It only assembles the widgets and
// wires the menus; the state lives in the history and search panel controllers.
#pragma once

#include "app/history/history_change.h"
#include "app/shell/help_links.h"
#include "app/shell/main_menus.h"

#include <QMainWindow>

class QLabel;
class QSplitter;

namespace drawfollow {

class FileExports;
class HelpCommands;
class HistoryCommands;
class HistoryPanel;
class OnlineUpdateCommand;
class PositionTabs;
class ResultPanel;
class SearchBar;
class SearchOptions;
class TrendWindow;
class UserDialogs;
struct WindowControllers;
enum class SearchButton;  // search_panel_controller.h

class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(WindowControllers& controllers, UserDialogs& dialogs, HelpLinks help = systemHelpLinks(),
               QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The history beside the search side, with a splitter between them; the option frames
    // and the position tabs scroll when the window is too small for them
    // (main_window_layout.cpp).
    QWidget* buildSearchSide();
    void buildSplitter();
    // The size, place and splitter of the last run, or a size that fits the screen.
    void restoreLayout();
    // Tab follows the screen; F10 opens the menu bar.
    void setUpKeyboard();
    void wireMenus();
    void checkSettingsMenus();
    // The history menu's commands, the text import and the exports.
    void wireHistoryCommands();
    void runSearch(SearchButton button);
    void showStoreStatus();
    void reportStoreProblem();
    // The stored rows were derived again, or could not be.
    void reportDerivation(const HistoryChange& change);
    // Every command that changes the history, on or off at once (off while an update runs).
    void setHistoryCommandsEnabled(bool on);
    // The 走势图 window, made the first time it is asked for.
    void showTrend();

    WindowControllers& controllers_;
    UserDialogs& dialogs_;
    HelpCommands* help_;
    MainMenus menus_;
    QSplitter* splitter_;
    HistoryPanel* history_;
    PositionTabs* positions_;
    SearchOptions* options_;
    SearchBar* searchBar_;
    ResultPanel* results_;
    OnlineUpdateCommand* onlineUpdate_;
    HistoryCommands* commands_;
    FileExports* exports_;
    QLabel* status_;
    TrendWindow* trend_ = nullptr;
    bool shownBefore_ = false;
};

}  // namespace drawfollow
