// The window's half that wires the history menu, the text import and the exports to the
// commands that carry them out.
#include "app/file_exports.h"
#include "app/flex_grid.h"
#include "app/history_commands.h"
#include "app/history_panel.h"
#include "app/main_controller.h"
#include "app/main_window.h"
#include "app/result_panel.h"

#include <QAction>
#include <QPushButton>
#include <QStatusBar>

namespace drawfollow {

namespace {

// Long enough to read a file name.
constexpr int kSummaryShownMs = 20000;

}  // namespace

void MainWindow::wireHistoryCommands() {
    commands_ = new HistoryCommands(controller_, dialogs_, this);
    exports_ = new FileExports(controller_, dialogs_, this);
    const MainMenus& m = menus_;
    for (QAction* a : {m.exportHistoryAction, m.clearHistoryAction, m.trimToIssueAction, m.deleteNewestCountAction,
                       m.restoreSafetyCopyAction})
        a->setEnabled(controller_.historyAvailable());

    connect(m.clearHistoryAction, &QAction::triggered, commands_, &HistoryCommands::clearHistory);
    connect(m.trimToIssueAction, &QAction::triggered, commands_, &HistoryCommands::trimToIssue);
    connect(m.deleteNewestCountAction, &QAction::triggered, commands_, &HistoryCommands::deleteNewestCount);
    connect(m.restoreSafetyCopyAction, &QAction::triggered, commands_, &HistoryCommands::restoreSafetyCopy);
    connect(m.yearsToKeepAction, &QAction::triggered, commands_, &HistoryCommands::setYearsToKeep);
    connect(history_->importButton(), &QPushButton::clicked, commands_, &HistoryCommands::importText);
    connect(history_->exportButton(), &QPushButton::clicked, exports_, &FileExports::exportText);

    const auto exportGrid = [this](FlexGrid* grid, ExportedGrid which) {
        return [this, grid, which] { exports_->exportGrid(*grid->model(), which); };
    };
    connect(m.exportHistoryAction, &QAction::triggered, exports_, exportGrid(history_->grid(), ExportedGrid::History));
    connect(history_->grid(), &FlexGrid::gridDoubleClicked, exports_,
            exportGrid(history_->grid(), ExportedGrid::History));
    connect(results_->hitsGrid(), &FlexGrid::gridDoubleClicked, exports_,
            exportGrid(results_->hitsGrid(), ExportedGrid::Detail));
    connect(results_->tallyGrid(), &FlexGrid::gridDoubleClicked, exports_,
            exportGrid(results_->tallyGrid(), ExportedGrid::Tally));

    const auto showSummary = [this](const QString& summary) { statusBar()->showMessage(summary, kSummaryShownMs); };
    connect(commands_, &HistoryCommands::done, this, showSummary);
    connect(exports_, &FileExports::done, this, showSummary);
    connect(history_, &HistoryPanel::done, this, showSummary);
}

void MainWindow::reportDerivation(const HistoryChange& change) {
    if (reportChange(dialogs_, this, QStringLiteral("号码属性参数"), change) && !change.summary.isEmpty())
        statusBar()->showMessage(change.summary, kSummaryShownMs);
    // A change the rows could not follow has been put back.
    checkSettingsMenus();
}

}  // namespace drawfollow
