#include "app/main_window.h"

#include "app/flex_grid.h"
#include "app/help_commands.h"
#include "app/history_panel.h"
#include "app/main_controller.h"
#include "app/online_update_command.h"
#include "app/position_tabs.h"
#include "app/result_panel.h"
#include "app/search_bar.h"
#include "app/search_summary.h"
#include "app/user_dialogs.h"
#include "app/wait_cursor.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace drawfollow {

MainWindow::MainWindow(MainController& controller, UserDialogs& dialogs, HelpLinks help, QWidget* parent)
    : QMainWindow(parent),
      controller_(controller),
      dialogs_(dialogs),
      help_(new HelpCommands(controller.settings(), std::move(help), this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("DrawFollow — 开奖号码跟随统计"));

    buildSplitter();

    onlineUpdate_ = new OnlineUpdateCommand(controller_, dialogs_, this);
    menus_ = MainMenus::build(menuBar());
    wireMenus();

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("storeStatus"));
    statusBar()->addWidget(status_, 1);
    showStoreStatus();
    connect(&controller_, &MainController::historyReset, this, &MainWindow::showStoreStatus);
    connect(&controller_, &MainController::drawAppended, this, &MainWindow::showStoreStatus);
    connect(&controller_, &MainController::historyReset, this,
            [this] { results_->clear(controller_.settings().previousIssue()); });
    connect(&controller_, &MainController::drawAppended, results_, &ResultPanel::clearProblem);

    connect(searchBar_->followSearchButton(), &QPushButton::clicked, this, [this] { runSearch(SearchButton::Follow); });
    connect(searchBar_->combinationSearchButton(), &QPushButton::clicked, this,
            [this] { runSearch(SearchButton::Combination); });
    connect(history_->onlineUpdateButton(), &QPushButton::clicked, onlineUpdate_, &OnlineUpdateCommand::run);
    connect(onlineUpdate_, &OnlineUpdateCommand::runningChanged, this,
            [this](bool running) { setHistoryCommandsEnabled(!running); });
    connect(history_->settingsButton(), &QPushButton::clicked, this,
            [this] { menus_.settingsMenu->popup(QCursor::pos()); });
    connect(history_->grid(), &FlexGrid::rightButtonReleased, this,
            [this](const QPoint& at) { menus_.historyMenu->popup(at); });
    wireHistoryCommands();
    setUpKeyboard();
    restoreLayout();
}

void MainWindow::wireMenus() {
    const MainMenus& m = menus_;
    m.deleteNewestAction->setEnabled(controller_.historyAvailable());
    connect(m.deleteNewestAction, &QAction::triggered, history_, &HistoryPanel::deleteNewest);
    connect(m.updateHostAction, &QAction::triggered, onlineUpdate_, &OnlineUpdateCommand::editHost);

    checkSettingsMenus();
    // A change of these derives every stored row again, which may take a moment.
    const auto applied = [this](auto change) {
        const HistoryChange done = [&] {
            const WaitCursor busy;
            return change();
        }();
        reportDerivation(done);
    };
    for (int i = 0; i < 2; ++i) {
        connect(m.zodiacOffsetActions[i], &QAction::triggered, this,
                [this, i, applied] { applied([this, i] { return controller_.setZodiacOffset(i); }); });
        connect(m.segmentOffsetActions[i], &QAction::triggered, this,
                [this, i, applied] { applied([this, i] { return controller_.setSegmentOffset(i); }); });
        connect(m.zodiacModeActions[i], &QAction::triggered, this,
                [this, i, applied] { applied([this, i] { return controller_.setSequentialZodiac(i == 0); }); });
    }
    connect(&controller_, &MainController::derivationChanged, this, &MainWindow::reportDerivation);

    connect(m.homePageAction, &QAction::triggered, help_, &HelpCommands::openHomePage);
    connect(m.descriptionAction, &QAction::triggered, help_, &HelpCommands::openManual);
    connect(m.demoRecordingAction, &QAction::triggered, help_, &HelpCommands::openWalkThrough);
    connect(help_, &HelpCommands::failed, this, [this](const QString& reason) { statusBar()->showMessage(reason); });
}

void MainWindow::checkSettingsMenus() {
    // The items that match the stored settings are checked.
    const AppSettings& s = controller_.settings();
    menus_.zodiacOffsetActions[s.zodiacOffset()]->setChecked(true);
    menus_.segmentOffsetActions[s.segmentOffset()]->setChecked(true);
    menus_.zodiacModeActions[s.sequentialZodiac() ? 0 : 1]->setChecked(true);
}

void MainWindow::runSearch(SearchButton button) {
    const auto ticked = positions_->activeSwitches();
    const QString first = searchBar_->rangeStartBox()->text();
    const QString last = searchBar_->rangeEndBox()->text();
    const SearchInputs inputs = controller_.searchInputs(button, ticked, first, last);
    SearchResult result = [&] {
        const WaitCursor busy;
        return controller_.runSearch(button, ticked, first, last);
    }();
    results_->showHits(std::move(result.detail));
    results_->showTally(std::move(result.tally));
    const QString message = QString::fromStdString(result.message);
    if (!result.ran) {
        results_->setNote(message, true);
        dialogs_.message(this, MessageKind::Warning, QStringLiteral("检索未进行"), message);
        return;
    }
    // The range is written back as the search read it.
    searchBar_->rangeStartBox()->setText(QString::number(result.firstIssue));
    searchBar_->rangeEndBox()->setText(QString::number(result.lastIssue));
    QString note = searchSummary(button, inputs, searchBase(), result);
    if (!message.isEmpty())
        note += QStringLiteral("。") + message;
    results_->setNote(note, false);
}

QString MainWindow::searchBase() const {
    switch (controller_.tab()) {
        case PanelTab::Manual:
            return QStringLiteral("依据手动输入的号码");
        case PanelTab::Verify:
            return controller_.verifyBase().source;
        case PanelTab::History:
            break;
    }
    return controller_.historyBase().source;
}

void MainWindow::setHistoryCommandsEnabled(bool on) {
    const bool enabled = on && controller_.historyAvailable();
    history_->setChangesEnabled(enabled);
    for (QAction* a : {menus_.deleteNewestAction, menus_.clearHistoryAction, menus_.trimToIssueAction,
                       menus_.deleteNewestCountAction, menus_.restoreSafetyCopyAction})
        a->setEnabled(enabled);
}

void MainWindow::showStoreStatus() {
    if (!controller_.historyAvailable()) {
        const QString file = QString::fromStdString(controller_.databaseFile().string());
        status_->setText(file.isEmpty() ? QStringLiteral("没有可用的数据文件夹，历史号码的命令已停用。")
                                        : QStringLiteral("历史数据库“%1”不可用，历史号码的命令已停用。").arg(file));
        status_->setStyleSheet(QStringLiteral("color: #b00020;"));
        return;
    }
    const auto& h = controller_.history();
    const QString file = QString::fromStdString(controller_.databaseFile().string());
    status_->setText(h.empty() ? QStringLiteral("历史数据库：%1（尚无历史号码）").arg(file)
                               : QStringLiteral("历史数据库：%1　共 %2 期，%3 ～ %4")
                                     .arg(file)
                                     .arg(h.size())
                                     .arg(h.front().issue)
                                     .arg(h.back().issue));
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownBefore_)
        return;
    shownBefore_ = true;
    history_->scrollToNewest();
    if (!controller_.historyAvailable())
        QTimer::singleShot(0, this, &MainWindow::reportStoreProblem);
    else
        QTimer::singleShot(0, this, [this] { reportDerivation(controller_.startupDerivation()); });
}

void MainWindow::reportStoreProblem() {
    dialogs_.message(
        this, MessageKind::Critical, QStringLiteral("历史数据库不可用"),
        controller_.storeProblem() + QStringLiteral("\n\n窗口照常打开，但历史号码的输入和删除已停用。"
                                                    "请检查该文件，或用 --data-dir 指定另一个数据文件夹。"));
}

}  // namespace drawfollow
