#include "app/search/backtest_dialog.h"

#include "app/search/chance_charts.h"
#include "app/search/text_grid_model.h"

#include <QChartView>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace drawfollow {

namespace {

// Fits a 1024-pixel screen.
constexpr int kWidth = 960;

QString summary(const BacktestResult& result) {
    QString text = QString::fromStdString(result.verdict);
    if (result.skipped > 0)
        text += QStringLiteral("\n另有 %1 个目标期的检索没有命中，未计入。").arg(result.skipped);
    if (result.withoutBase > 0)
        text += QStringLiteral("\n%1 个目标期太早，没有检索依据，未计入。").arg(result.withoutBase);
    return text + QStringLiteral(
                      "\n期望按每一期开奖本身的概率计算：回测衡量的是检索方法；"
                      "统计结果旁的“显著”只是对过去的描述。");
}

}  // namespace

CellGrid backtestTable(const BacktestResult& result) {
    CellGrid grid = {{"目标期", "基准期", "命中期数", chosenCaption(result), "开出", "期望"}};
    for (const BacktestTarget& t : result.targets)
        grid.push_back({GridCell::whole(t.issue), GridCell::whole(t.base), GridCell::whole(t.hits), t.chosenLine(),
                        GridCell::whole(t.hit), GridCell::fixed(t.expected, 1)});
    return grid;
}

BacktestDialog::BacktestDialog(const BacktestResult& result, const QString& searchName, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("backtestDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("回测：%1").arg(searchName));

    auto* verdict = new QLabel(summary(result), this);
    verdict->setObjectName(QStringLiteral("backtestVerdict"));
    verdict->setWordWrap(true);
    verdict->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* model = new TextGridModel(this);
    model->setGrid(backtestTable(result));
    auto* table = new QTableView(this);
    table->setObjectName(QStringLiteral("backtestTable"));
    table->setModel(model);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->resizeColumnsToContents();

    auto* chart = new QChartView(backtestChart(result), this);
    chart->setObjectName(QStringLiteral("backtestChart"));
    chart->setRenderHint(QPainter::Antialiasing);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(table);
    split->addWidget(chart);
    split->setStretchFactor(1, 1);
    // The whole table in sight, the chart taking the rest.
    int tableWidth = table->frameWidth() * 2 + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int c = 0; c < model->columnCount(); ++c)
        tableWidth += table->columnWidth(c);
    // The splitter is narrower than the dialog and shares out what it lacks: the table keeps its width.
    table->setMinimumWidth(tableWidth);
    split->setSizes({tableWidth, kWidth - tableWidth});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(verdict);
    layout->addWidget(split, 1);
    resize(kWidth, 520);
}

}  // namespace drawfollow
