// The window's half that arranges the panels, keeps their size between runs and sets up
// the keyboard.
#include "app/history/history_panel.h"
#include "app/search/position_tabs.h"
#include "app/search/result_panel.h"
#include "app/search/search_bar.h"
#include "app/search/search_options.h"
#include "app/shell/flex_grid.h"
#include "app/shell/main_window.h"
#include "app/shell/screen_fit.h"
#include "app/shell/ui_text.h"
#include "app/shell/window_controllers.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace drawfollow {

namespace {

// A scroll area as tall as its contents at the width it is given, and no taller, so that
// the grids below it get the rest; on a small screen it shrinks and scrolls instead.
class FittingScrollArea final : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override {
        if (!widget())
            return QScrollArea::sizeHint();
        const QSize inner = widget()->sizeHint();
        const int width = viewport()->width() > 0 ? viewport()->width() : inner.width();
        const int height = widget()->hasHeightForWidth() ? widget()->heightForWidth(width) : inner.height();
        const int frame = frameWidth() * 2;
        return {inner.width() + frame, std::max(height, inner.height() / 2) + frame};
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        QScrollArea::resizeEvent(event);
        // A new width may need another number of option columns, and so another height.
        if (event->oldSize().width() != event->size().width())
            updateGeometry();
    }
};

}  // namespace

void MainWindow::buildSplitter() {
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("mainSplitter"));
    splitter_->setChildrenCollapsible(false);
    history_ = new HistoryPanel(controllers_.history, dialogs_, splitter_);
    splitter_->addWidget(history_);
    splitter_->addWidget(buildSearchSide());
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter_);
    setCentralWidget(central);
}

QWidget* MainWindow::buildSearchSide() {
    auto* side = new QWidget;
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("searchPanel"));
    positions_ = new PositionTabs(controllers_.search, panel);
    options_ = new SearchOptions(controllers_.search, panel);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    panelLayout->addWidget(positions_, 0, Qt::AlignTop);
    panelLayout->addWidget(options_, 1);

    auto* scroll = new FittingScrollArea(side);
    scroll->setObjectName(QStringLiteral("searchPanelScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(panel);
    scroll->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    // The position switches stay whole; only the option frames beside them scroll.
    scroll->setMinimumHeight(positions_->minimumSizeHint().height());

    searchBar_ = new SearchBar(controllers_.search, side);
    // Paged options leave room for the search row's frames on a page of their own: the
    // results get the height on a small screen.
    connect(options_, &SearchOptions::pagedChanged, this, [this](bool paged) {
        searchBar_->placeFramesOn(paged ? options_->searchRowPage() : nullptr);
        chainTabOrder();
    });
    results_ = new ResultPanel(side);
    auto* layout = new QVBoxLayout(side);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);  // every pixel counts on a 600-pixel screen
    layout->addWidget(scroll);
    layout->addWidget(searchBar_);
    layout->addWidget(results_, 1);
    return side;
}

void MainWindow::restoreLayout() {
    const AppSettings& s = controllers_.history.settings();
    if (!restoreGeometry(s.layoutState(AppSettings::LayoutKey::WindowGeometry))) {
        // A laptop screen's worth, room enough for about thirty history rows; the whole of a
        // smaller screen.
        placeFirstTime(*this, {1366, 768}, WhenTooSmall::Maximize);
    }
    if (!splitter_->restoreState(s.layoutState(AppSettings::LayoutKey::SplitterState))) {
        // The history as wide as its columns, the search side the rest.
        const int historyWidth = history_->sizeHint().width();
        splitter_->setSizes({historyWidth, std::max(1, width() - historyWidth)});
    }
    results_->restoreSplit(s.layoutState(AppSettings::LayoutKey::ResultSplitterState));
}

void MainWindow::closeEvent(QCloseEvent* event) {
    controllers_.history.saveWindowLayout(AppSettings::LayoutKey::WindowGeometry, saveGeometry());
    controllers_.history.saveWindowLayout(AppSettings::LayoutKey::SplitterState, splitter_->saveState());
    controllers_.history.saveWindowLayout(AppSettings::LayoutKey::ResultSplitterState, results_->splitState());
    QMainWindow::closeEvent(event);
}

void MainWindow::setUpKeyboard() {
    // F10 opens the first menu, as in other desktop programs; Alt and the menus' letters
    // are Qt's own.
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().constFirst());
    });

    // The grids take the focus for their arrow keys but pass Tab on.
    for (FlexGrid* grid : {history_->grid(), results_->hitsGrid(), results_->tallyGrid()})
        grid->setTabKeyNavigation(false);
    chainTabOrder();
}

void MainWindow::chainTabOrder() {
    // Tab follows the screen: the history, its entry row and buttons, the position tabs,
    // the option frames top to bottom, the range, 检索, 组合检索, 回测 and the result grids.
    QList<QWidget*> chain = history_->focusOrder();
    chain << positions_->focusOrder() << options_->focusOrder() << searchBar_->focusOrder() << results_->hitsGrid()
          << results_->tallyGrid() << results_->chanceChartButton();
    // On a small screen the search row's frames stand on an option page: in the chain once.
    chain = withoutRepeats(chain);
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

}  // namespace drawfollow
