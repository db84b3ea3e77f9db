#include "app/trend/shape_tab.h"

#include "app/history/history_controller.h"
#include "app/shell/work_runner.h"
#include "app/trend/omission_table_model.h"
#include "app/trend/omission_table_view.h"
#include "app/trend/shape_chart.h"
#include "app/trend/shape_grid_model.h"
#include "store/history_db.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <exception>

namespace drawfollow {

namespace {

constexpr int kColumnWidth = 44;
// The issues' header and the scroll bar beside the measures' columns.
constexpr int kGridMargin = 100;

QTableView* shapeGrid(QWidget* parent, ShapeGridModel* model) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QStringLiteral("shapeGrid"));
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    grid->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->horizontalHeader()->setToolTip(QStringLiteral("点击列头可在右边看这一项的分布与遗漏。"));
    grid->verticalHeader()->setDefaultSectionSize(22);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    return grid;
}

QComboBox* measureChoice(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QStringLiteral("shapeMeasure"));
    for (ShapeMeasure m : kShapeMeasures) {
        const std::string_view name = measureName(m);
        box->addItem(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), index(m));
    }
    return box;
}

QString fitText(const ShapeDistribution& d) {
    QString text = QString::fromStdString(d.verdict);
    if (d.fit.chi2)
        text = QStringLiteral("卡方 %1，自由度 %2：").arg(*d.fit.chi2, 0, 'f', 2).arg(d.fit.df) + text;
    return text;
}

}  // namespace

ShapeTab::ShapeTab(HistoryController& history, WorkRunner& runner, QWidget* parent)
    : QWidget(parent),
      history_(history),
      runner_(runner),
      measureBox_(measureChoice(this)),
      verdict_(new QLabel(this)),
      gridModel_(new ShapeGridModel(this)),
      grid_(shapeGrid(this, gridModel_)),
      chart_(new ShapeChart(this)),
      omissionModel_(new OmissionTableModel(this)) {
    setObjectName(QStringLiteral("shapeTab"));
    verdict_->setObjectName(QStringLiteral("shapeVerdict"));
    verdict_->setWordWrap(true);
    verdict_->setToolTip(
        QStringLiteral("把各值的出现次数与随机抽取的理论次数相比（卡方检验）：相邻的值合成理论次数至少为 5 的组。"));

    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(new QLabel(QStringLiteral("分布："), this));
    choiceRow->addWidget(measureBox_);
    choiceRow->addWidget(verdict_, 1);

    // The chart and the table take turns at the full height: a small screen has none to share.
    auto* figures = new QTabWidget(this);
    figures->setObjectName(QStringLiteral("shapeFigures"));
    figures->addTab(chart_, QStringLiteral("分布图"));
    figures->addTab(omissionTableView(figures, omissionModel_, QStringLiteral("shapeOmission")),
                    QStringLiteral("遗漏统计"));
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(grid_);
    split->addWidget(figures);
    split->setStretchFactor(1, 1);
    // Every measure's column in sight; the figures take the rest.
    split->setSizes({kShapeMeasureCount * kColumnWidth + kGridMargin, 600});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 0);
    layout->addLayout(choiceRow);
    layout->addWidget(split, 1);

    connect(measureBox_, &QComboBox::currentIndexChanged, this, &ShapeTab::showMeasure);
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, measureBox_, &QComboBox::setCurrentIndex);
}

void ShapeTab::follow(TallyScope scope, const IssueRange& range) {
    due_ = Choice{scope, range};
    readIfDue();
}

void ShapeTab::setHistoryBusy(bool busy) {
    busy_ = busy;
    readIfDue();
}

void ShapeTab::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    readIfDue();
}

void ShapeTab::readIfDue() {
    if (!due_ || busy_ || !isVisible())
        return;
    const Choice choice = *due_;
    due_.reset();
    // A table read for an earlier choice is late whatever comes of this one.
    runner_.cancel(WorkLane::ShapeReading);
    std::shared_ptr<const HistorySnapshot> snapshot;
    try {
        snapshot = history_.snapshot();
    } catch (const std::exception& e) {
        clear(QStringLiteral("形态未能读出：%1").arg(QString::fromStdString(failureText(e))));
        return;
    }
    if (!snapshot) {
        clear(QStringLiteral("历史数据库不可用，没有可以分析的历史号码。"));
        return;
    }
    verdict_->setText(QStringLiteral("正在读取……"));
    runner_.start<ShapeReading>(
        this, {WorkLane::ShapeReading, {}},
        [snapshot = std::move(snapshot), choice](JobControl&) -> ShapeReading {
            // Nothing may escape a worker: the tab says what went wrong instead.
            try {
                return {shapesOf(*snapshot, choice.scope, choice.range), {}};
            } catch (const std::exception& e) {
                return {{}, QStringLiteral("形态未能读出：%1").arg(QString::fromStdString(failureText(e)))};
            }
        },
        [this](ShapeReading reading) { takeReading(std::move(reading)); });
}

void ShapeTab::takeReading(ShapeReading reading) {
    if (!reading.problem.isEmpty()) {
        clear(reading.problem);
        return;
    }
    gridModel_->setTable(std::move(reading.table));
    showMeasure();
    // The newest draw is what a player looks at first.
    grid_->scrollToBottom();
}

void ShapeTab::showMeasure() {
    const auto measure = static_cast<ShapeMeasure>(measureBox_->currentData().toInt());
    const ShapeDistribution distribution = distributionOf(gridModel_->table(), measure);
    chart_->plot(distribution);
    omissionModel_->setFigures(distribution.omission);
    verdict_->setText(fitText(distribution));
}

void ShapeTab::clear(const QString& problem) {
    gridModel_->setTable({});
    omissionModel_->setFigures({});
    chart_->clear();
    verdict_->setText(problem);
}

}  // namespace drawfollow
