#include "app/trend/trend_window.h"

#include "app/history/history_controller.h"
#include "app/shell/screen_fit.h"
#include "app/shell/work_runner.h"
#include "app/trend/frequency_chart.h"
#include "app/trend/omission_bar_delegate.h"
#include "app/trend/omission_table_model.h"
#include "app/trend/omission_table_view.h"
#include "app/trend/shape_grid_model.h"
#include "app/trend/shape_tab.h"
#include "app/trend/trend_ball_delegate.h"
#include "app/trend/trend_chart_data.h"
#include "app/trend/trend_exports.h"
#include "app/trend/trend_grid_model.h"
#include "app/trend/trend_range_bar.h"
#include "app/trend/window_count_chart.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace drawfollow {

namespace {

// The tabs in their order.
enum Tab { GridTab, OmissionTab, FrequencyTab, WindowTab, ShapeGridTab };

// Thirty number columns and the issues fit a 1024-pixel screen.
constexpr int kCellSize = 26;

QTableView* trendGrid(QWidget* parent, TrendGridModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QStringLiteral("trendGrid"));
    grid->setModel(model);
    grid->setItemDelegate(new TrendBallDelegate(grid));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setDefaultSectionSize(kCellSize);
    grid->horizontalHeader()->setMinimumSectionSize(kCellSize);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setSectionsClickable(true);
    grid->horizontalHeader()->setToolTip(
        QStringLiteral("点击列头可把这个值填入检索面板“手动输入”页的下一个空位（检索类型须与这里的种类相同）。"));
    grid->verticalHeader()->setDefaultSectionSize(kCellSize - 4);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    return grid;
}

// As wide as the widest figure of the summary rows (4-digit counts on a long history) where
// the grid has the width for all its columns, never narrower than a ball; the columns stay
// one size so that the trend lines line up. A figure still wider is drawn smaller
// (TrendBallDelegate).
int columnWidthForFigures(const QTableView* grid, const TrendGridModel& model) {
    const QFontMetrics metrics = grid->fontMetrics();
    int widest = 0;
    for (int row = model.summaryRow(); row < model.rowCount(); ++row)
        for (int column = 0; column < model.columnCount(); ++column)
            widest =
                std::max(widest, metrics.horizontalAdvance(model.index(row, column).data(Qt::DisplayRole).toString()));
    // The style's margins on either side of the text.
    const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 3);
    const int room = model.columnCount() > 0 ? grid->viewport()->width() / model.columnCount() : kCellSize;
    return std::max(kCellSize, std::min(widest + margin, room));
}

}  // namespace

TrendWindow::TrendWindow(HistoryController& history, WorkRunner& runner, SpreadsheetWriter& spreadsheets,
                         UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent, Qt::Window),
      history_(history),
      runner_(runner),
      exports_(new TrendExports(history, spreadsheets, dialogs, this)) {
    setObjectName(QStringLiteral("frmTrend"));
    setWindowTitle(QStringLiteral("走势图与遗漏统计"));

    rangeBar_ = new TrendRangeBar(this);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("trendNote"));
    note_->setWordWrap(true);
    note_->hide();
    gridModel_ = new TrendGridModel(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("trendTabs"));
    grid_ = trendGrid(tabs_, gridModel_);
    tabs_->addTab(grid_, QStringLiteral("走势图"));
    omissionModel_ = new OmissionTableModel(this);
    omissionTable_ = omissionTableView(tabs_, omissionModel_, QStringLiteral("omissionTable"));
    tabs_->addTab(omissionTable_, QStringLiteral("遗漏统计"));
    frequencyChart_ = new FrequencyChart(tabs_);
    tabs_->addTab(frequencyChart_, QStringLiteral("出现次数图"));
    windowChart_ = new WindowCountChart(gridModel_->table(), tabs_);
    tabs_->addTab(windowChart_, QStringLiteral("分段走势图"));
    shapeTab_ = new ShapeTab(history_, runner_, tabs_);
    tabs_->addTab(shapeTab_, QStringLiteral("形态"));

    auto* exportButton = new QPushButton(QStringLiteral("导出"), this);
    exportButton->setObjectName(QStringLiteral("trendExport"));
    exportButton->setToolTip(
        QStringLiteral("把眼前这一页导出到数据文件夹：走势图、遗漏统计和形态的表格为电子表格，图为 PNG 图片。"));
    exportNote_ = new QLabel(this);
    exportNote_->setObjectName(QStringLiteral("trendExportNote"));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(exportNote_, 1);
    bottom->addWidget(exportButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(rangeBar_);
    layout->addWidget(note_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(bottom);

    connect(rangeBar_, &TrendRangeBar::changed, this, &TrendWindow::refresh);
    connect(exportButton, &QPushButton::clicked, this, &TrendWindow::exportShownTab);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (column < gridModel_->table().columnCount())
            emit valueChosen(rangeBar_->kind(), gridModel_->table().column(column).value);
    });
    connect(exports_, &TrendExports::done, exportNote_, &QLabel::setText);
    connect(&history_, &HistoryController::historyReset, this, &TrendWindow::followHistory);
    connect(&history_, &HistoryController::drawAppended, this, &TrendWindow::followHistory);
    connect(&history_, &HistoryController::derivationSettingsApplied, this, &TrendWindow::followHistory);
    followHistory();
}

void TrendWindow::setHistoryBusy(bool busy) {
    rangeBar_->setEnabled(!busy);
    shapeTab_->setHistoryBusy(busy);
}

void TrendWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!placed_) {
        // Over the main window's screen, with its frame; later openings keep where the player left it.
        placeFirstTime(*this, {1000, 700}, WhenTooSmall::Shrink, parentWidget());
        placed_ = true;
    }
    if (stale_)
        followHistory();
}

void TrendWindow::followHistory() {
    wholeHistoryRates_.reset();
    // A table read from the history before the change is not shown, even while hidden.
    runner_.cancel(WorkLane::TrendReading);
    stale_ = !isVisible();
    if (stale_)
        return;
    takeIssues();
    refresh();
}

void TrendWindow::takeIssues() {
    std::vector<int> issues;
    issues.reserve(history_.history().size());
    for (const StoredDraw& draw : history_.history())
        issues.push_back(draw.issue);
    rangeBar_->setIssues(std::move(issues));
}

void TrendWindow::refresh() {
    // Whatever this choice makes of it, a table read for an earlier one is late.
    runner_.cancel(WorkLane::TrendReading);
    QString problem;
    const std::optional<IssueRange> range = rangeBar_->range(&problem);
    if (!range) {
        showProblem(problem);
        return;
    }
    std::shared_ptr<const HistorySnapshot> snapshot;
    try {
        snapshot = history_.snapshot();
    } catch (const std::exception& e) {
        showProblem(QStringLiteral("走势图未能读出：%1").arg(QString::fromStdString(failureText(e))));
        return;
    }
    if (!snapshot) {
        showProblem(QStringLiteral("历史数据库不可用，没有可以统计的历史号码。"));
        return;
    }
    shapeTab_->follow(rangeBar_->scope(), *range);
    // The grid keeps what it showed (nothing at the first opening) until the table arrives.
    showNote(QStringLiteral("正在读取……"), false);
    const TrendChoice choice{rangeBar_->kind(), rangeBar_->scope(), history_.derivation()};
    // The expected line's rates depend on the kind and scope alone: a range change keeps them.
    const bool ratesKnown =
        wholeHistoryRates_ && wholeHistoryRates_->kind == choice.kind && wholeHistoryRates_->scope == choice.scope;
    runner_.start<TrendReading>(
        this, {WorkLane::TrendReading, {}},
        [snapshot = std::move(snapshot), choice, range = *range, ratesKnown](JobControl&) {
            return readTrendReading(snapshot, choice, range,
                                    ratesKnown ? WholeHistoryRates::Known : WholeHistoryRates::Read);
        },
        [this, kind = choice.kind, scope = choice.scope](TrendReading reading) {
            takeReading(std::move(reading), kind, scope);
        });
}

void TrendWindow::takeReading(TrendReading reading, Kind kind, TallyScope scope) {
    if (!reading.problem.isEmpty()) {
        showProblem(reading.problem);
        return;
    }
    gridModel_->setTable(std::move(reading.table));
    if (reading.perDraw)
        wholeHistoryRates_ = Rates{kind, scope, std::move(*reading.perDraw)};
    showTable(wholeHistoryRates_->perDraw);
}

void TrendWindow::showTable(const std::vector<double>& perDraw) {
    frequencyChart_->plot(gridModel_->table(), perDraw);
    fitColumnsToFigures();
    omissionModel_->setTable(gridModel_->table());
    windowChart_->refresh();
    showProblem(gridModel_->table().rowCount() == 0 ? QStringLiteral("所选期数范围内没有历史号码。") : QString());
    // The newest draw is what a player looks at first; the figures stay just below it.
    grid_->scrollToBottom();
}

void TrendWindow::fitColumnsToFigures() {
    grid_->horizontalHeader()->setDefaultSectionSize(columnWidthForFigures(grid_, *gridModel_));
}

void TrendWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fitColumnsToFigures();
}

void TrendWindow::showProblem(const QString& problem) {
    showNote(problem, true);
}

void TrendWindow::showNote(const QString& text, bool problem) {
    note_->setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
    note_->setText(text);
    note_->setVisible(!text.isEmpty());
}

void TrendWindow::exportShownTab() {
    switch (tabs_->currentIndex()) {
        case GridTab:
            // Read on the worker from a copy of the table: the cells of a long history take a second.
            exports_->exportTable(
                [table = gridModel_->table()] {
                    TrendGridModel model;
                    model.setTable(table);
                    return shownCells(model, trendGridColours, true, QStringLiteral("期号"));
                },
                QStringLiteral("zoushi.xlsx"));
            break;
        case OmissionTab: {
            ShownCells cells = shownCells(*omissionTable_->model(), paintedColours, false);
            cells.bars = {{static_cast<size_t>(omissionModel_->currentColumn()), rgbOf(omissionBarColour())}};
            exports_->exportTable(cells, QStringLiteral("yilou.xlsx"));
            break;
        }
        case FrequencyTab:
            exports_->exportPicture(frequencyChart_, QStringLiteral("cishu.png"));
            break;
        case WindowTab:
            exports_->exportPicture(windowChart_->view(), QStringLiteral("fenduan.png"));
            break;
        case ShapeGridTab:
            // As the grid: a long history's shapes are read into cells on the worker.
            exports_->exportTable(
                [table = shapeTab_->gridModel().table()] {
                    ShapeGridModel model;
                    model.setTable(table);
                    return shownCells(model, paintedColours, true, QStringLiteral("期号"));
                },
                QStringLiteral("xingtai.xlsx"));
            break;
        default:
            break;
    }
}

}  // namespace drawfollow
