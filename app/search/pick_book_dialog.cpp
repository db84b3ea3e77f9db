#include "app/search/pick_book_dialog.h"

#include "app/history/history_controller.h"
#include "app/search/chance_charts.h"
#include "app/search/text_grid_model.h"
#include "app/shell/user_dialogs.h"
#include "app/trend/trend_exports.h"

#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace drawfollow {

namespace {

constexpr const char* kWorkbook = "预测记录.xlsx";

// What the figures mean, under the verdicts.
const QString kMeaning = QStringLiteral(
    "每条预测都在开奖之前记下，开奖存入历史后按这一期开奖本身的概率评分：只有回测和预测记录能衡量一种检索方法；"
    "统计结果旁的“显著”只是对过去的描述。");

}  // namespace

PickBookDialog::PickBookDialog(HistoryController& history, SpreadsheetWriter& spreadsheets, UserDialogs& dialogs,
                               QWidget* parent)
    : QDialog(parent),
      history_(history),
      dialogs_(dialogs),
      exports_(new TrendExports(history, spreadsheets, dialogs, this)) {
    setObjectName(QStringLiteral("pickBookDialog"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("预测记录"));

    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("pickBookVerdict"));
    verdict_->setWordWrap(true);
    verdict_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    model_ = new TextGridModel(this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("pickBookTable"));
    table_->setModel(model_);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);

    charts_ = new QTabWidget(this);
    charts_->setObjectName(QStringLiteral("pickBookCharts"));

    auto* remove = new QPushButton(QStringLiteral("删除所选记录"), this);
    remove->setObjectName(QStringLiteral("cmdDeletePick"));
    auto* save = new QPushButton(QStringLiteral("导出到 Excel"), this);
    save->setObjectName(QStringLiteral("cmdExportPicks"));
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    connect(remove, &QPushButton::clicked, this, &PickBookDialog::deleteSelected);
    connect(save, &QPushButton::clicked, this, &PickBookDialog::exportTable);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(exports_, &TrendExports::done, this, &PickBookDialog::exportDone);
    connect(&history_, &HistoryController::drawAppended, this, &PickBookDialog::reload);
    connect(&history_, &HistoryController::historyReset, this, &PickBookDialog::reload);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(table_);
    split->addWidget(charts_);
    split->setStretchFactor(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(remove);
    buttons->addWidget(save);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(verdict_);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(960, 560);
    reload();
}

void PickBookDialog::reload() {
    book_ = {};
    QString problem;
    try {
        HistoryDb* db = history_.database();
        const std::shared_ptr<const HistorySnapshot> history = history_.snapshot();
        if (!db || !history)
            throw StoreError("历史数据库不可用。");
        // The records from the file, the draws they are scored on from the shared snapshot.
        book_ = scorePickBook(readPicks(*db), history->draws());
    } catch (const std::exception& e) {
        problem = QStringLiteral("预测记录无法读取：%1").arg(QString::fromUtf8(e.what()));
    }
    model_->setGrid(pickBookTable(book_));
    table_->resizeColumnsToContents();
    verdict_->setText(problem.isEmpty()
                          ? QString::fromStdString(book_.top.verdict + "\n" + book_.exclude.verdict + "\n") + kMeaning
                          : problem);
    showCharts();
}

void PickBookDialog::showCharts() {
    while (charts_->count() > 0) {
        QWidget* page = charts_->widget(0);
        charts_->removeTab(0);
        delete page;
    }
    for (const PickMode mode : {PickMode::Top, PickMode::Exclude}) {
        auto* view = new QChartView(
            cumulativeHitsChart(scoredInIssueOrder(book_, mode), QStringLiteral("已开奖的记录（按期号顺序）")),
            charts_);
        view->setObjectName(mode == PickMode::Top ? QStringLiteral("pickTopChart")
                                                  : QStringLiteral("pickExcludeChart"));
        view->setRenderHint(QPainter::Antialiasing);
        charts_->addTab(view, mode == PickMode::Top ? QStringLiteral("预测") : QStringLiteral("杀号"));
    }
}

void PickBookDialog::deleteSelected() {
    const QModelIndexList rows = table_->selectionModel()->selectedRows();
    HistoryDb* db = history_.database();
    if (rows.isEmpty() || !db)
        return;
    const ScoredPick& pick = book_.picks.at(static_cast<size_t>(rows.front().row()));
    const int id = pick.record.id;
    if (!dialogs_.confirm(
            this, QStringLiteral("删除预测记录"),
            QStringLiteral("删除第 %1 期的预测记录（编号 %2）？删除后不能恢复。").arg(pick.record.issue).arg(id)))
        return;
    try {
        if (!deletePick(*db, id))
            dialogs_.message(this, MessageKind::Warning, QStringLiteral("删除预测记录"),
                             QStringLiteral("编号 %1 的预测记录已不存在。").arg(id));
    } catch (const std::exception& e) {
        dialogs_.message(this, MessageKind::Critical, QStringLiteral("删除预测记录"),
                         QStringLiteral("预测记录未删除：%1").arg(QString::fromStdString(failureText(e))));
    }
    reload();
}

void PickBookDialog::exportTable() {
    ShownCells cells;
    cells.grid = model_->grid().cells();
    exports_->exportTable(std::move(cells), QString::fromUtf8(kWorkbook));
}

}  // namespace drawfollow
