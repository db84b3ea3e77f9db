#include "app/search/result_panel.h"

#include "analysis/search.h"
#include "app/search/chance_charts.h"
#include "app/search/chance_columns.h"
#include "app/search/text_grid_model.h"
#include "app/shell/flex_grid.h"
#include "app/shell/ui_text.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace drawfollow {

namespace {

// 序号, 结果, 出现次数, 百分比, 期望次数, 偏离.
constexpr int kTallyCountColumn = 2;
constexpr int kTallyPercentColumn = 3;
constexpr int kTallyAllColumns = kChanceZColumn + 1;

// The width of a grid's first `columns` columns with its frame and vertical scroll bar.
int gridWidth(const FlexGrid& grid, int columns) {
    int width = grid.frameWidth() * 2 + grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    for (int c = 0; c < columns; ++c)
        width += grid.columnWidth(c);
    return width;
}

}  // namespace

ResultPanel::ResultPanel(QWidget* parent) : QWidget(parent) {
    hitsModel_ = new TextGridModel(this);
    tallyModel_ = new TextGridModel(this);
    hits_ = new FlexGrid(QStringLiteral("MSFlexGrid2"), this);
    hits_->setModel(hitsModel_);
    hits_->setToolTip(gridExportTip());
    tally_ = new FlexGrid(QStringLiteral("MSFlexGrid3"), this);
    tally_->setModel(tallyModel_);
    tallyModel_->setHeaderToolTip(kTallyCountColumn, QStringLiteral("找到的各期中，这一结果出现的次数。"));
    tallyModel_->setHeaderToolTip(
        kTallyPercentColumn,
        QStringLiteral("百分比 = 出现次数 ÷ 统计的全部取值个数。\n"
                       "全部取值个数 = 找到的期数 × 每期统计的个数（平特 8 个，平码 7 个，特码 1 个）。"));
    tallyModel_->setHeaderToolTip(
        kChanceExpectedColumn, QStringLiteral("期望次数：从检索范围内随机抽取同样多的期数，这一结果平均出现的次数。"));
    tallyModel_->setHeaderToolTip(kChanceZColumn,
                                  QStringLiteral("偏离 = (出现次数 − 期望次数) ÷ 随机波动的标准差。\n"
                                                 "底色标出的值经多重比较校正后 p < 0.05，即超出随机波动；"
                                                 "“—”表示这一结果在范围内从不变化，无从比较。"));
    chanceLine_ = new QLabel(this);
    chanceLine_->setObjectName(QStringLiteral("chanceVerdict"));
    chanceLine_->setWordWrap(true);
    chanceLine_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    chartButton_ = new QPushButton(QStringLiteral("图表"), this);
    chartButton_->setObjectName(QStringLiteral("chanceChartButton"));
    chartButton_->setToolTip(QStringLiteral("以图表对照出现次数、随机期望和 ±2σ 随机范围"));
    connect(chartButton_, &QPushButton::clicked, this, &ResultPanel::openChart);
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("resultNote"));
    // A search's summary may be longer than a narrow window is wide: two lines are kept for
    // it, and the whole text is in its tooltip should it need more.
    note_->setWordWrap(true);
    note_->setMinimumHeight(note_->fontMetrics().lineSpacing() * 2 + 8);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    clear(true);

    tallyWidth_ = gridWidth(*tally_, kTallyAllColumns);
    tallyCountsWidth_ = gridWidth(*tally_, kTallyCountColumn + 1);

    auto* tallySide = new QWidget(this);
    auto* chanceRow = new QHBoxLayout;
    chanceRow->addWidget(chanceLine_, 1);
    chanceRow->addWidget(chartButton_, 0, Qt::AlignTop);
    auto* tallyLayout = new QVBoxLayout(tallySide);
    tallyLayout->setContentsMargins(0, 0, 0, 0);
    tallyLayout->addLayout(chanceRow);
    tallyLayout->addWidget(tally_, 1);
    // On a small screen the hits grid may want the room more than the chance columns do.
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->setObjectName(QStringLiteral("resultSplitter"));
    splitter_->setChildrenCollapsible(false);
    splitter_->addWidget(hits_);
    splitter_->addWidget(tallySide);
    splitter_->setStretchFactor(0, 1);
    splitter_->setStretchFactor(1, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(note_);
    layout->addWidget(splitter_, 1);
}

const RowGrid& ResultPanel::hitsCells() const {
    return hitsModel_->grid();
}

const RowGrid& ResultPanel::tallyCells() const {
    return tallyModel_->grid();
}

QByteArray ResultPanel::splitState() const {
    return splitter_->saveState();
}

void ResultPanel::restoreSplit(const QByteArray& state) {
    splitPlaced_ = splitter_->restoreState(state);
}

void ResultPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Until the user moves it, the hits grid starts with every column in sight where the
    // tally keeps its values and counts beside it, and the tally takes the rest, up to all
    // its columns; the splitter's width is known only once the window is shown.
    if (splitPlaced_ || !isVisible())
        return;
    const int room = splitter_->width() - splitter_->handleWidth();
    if (room <= tallyCountsWidth_)
        return;  // not yet laid out at its real size
    const int tally = std::clamp(room - gridWidth(*hits_, hitsModel_->columnCount()), tallyCountsWidth_, tallyWidth_);
    splitter_->setSizes({room - tally, tally});
    splitPlaced_ = true;
}

void ResultPanel::setNote(const QString& text, bool problem) {
    note_->setText(text);
    note_->setToolTip(text);
    note_->setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
    problem_ = problem;
}

void ResultPanel::appendNote(const QString& text) {
    setNote(note_->text() + QStringLiteral("。") + text, problem_);
}

void ResultPanel::clear(bool previousIssue) {
    showHits(CellGrid{textCells(detailHeader(previousIssue))});
    showTally({textCells(tallyHeader())});
    setNote(QStringLiteral("检索结果"), false);
}

void ResultPanel::clearProblem() {
    if (problem_)
        setNote(QStringLiteral("检索结果"), false);
}

void ResultPanel::showHits(RowGrid grid) {
    hitsModel_->setGrid(std::move(grid));
    // 期号, 平1位..平7位, 特位, 上期开奖/前期开奖.
    static constexpr std::array<int, kDetailColumns> kWidths = {980, 680, 680, 680, 680, 680, 680, 680, 800, 2800};
    hits_->setColumnWidthsTwips(kWidths);
    hits_->fitColumnTo(0, QStringLiteral("2026001"));
    hits_->fitColumnTo(kDetailColumns - 1, QStringLiteral("03 07 12 18 22 25 29 11 "));
}

void ResultPanel::showTally(CellGrid grid) {
    chance_.reset();
    fillTally(withoutChance(std::move(grid)), {});
    setChanceLine(QString(), false);
}

void ResultPanel::showTally(CellGrid grid, const ChanceBaseline& chance) {
    ChanceTally shown = withChance(std::move(grid), chance);
    chance_ = chance;
    fillTally(std::move(shown.grid), std::move(shown.shaded));
    setChanceLine(chanceLine(chance), false);
}

void ResultPanel::showTally(CellGrid grid, const QString& chanceProblem) {
    chance_.reset();
    fillTally(withoutChance(std::move(grid)), {});
    setChanceLine(QStringLiteral("无法与随机比较：") + chanceProblem, true);
}

void ResultPanel::fillTally(CellGrid grid, std::vector<QPoint> shaded) {
    tallyModel_->setGrid(std::move(grid), std::move(shaded));
    // 序号, 结果, 出现次数, 百分比, 期望次数, 偏离.
    static constexpr std::array<int, kTallyAllColumns> kWidths = {480, 680, 800, 880, 760, 640};
    tally_->setColumnWidthsTwips(kWidths);
    tally_->fitColumnTo(kTallyPercentColumn, QStringLiteral("100.000%"));
    tally_->fitColumnTo(kChanceExpectedColumn, QStringLiteral("1000.0"));
    tally_->fitColumnTo(kChanceZColumn, QStringLiteral("-10.00"));
}

void ResultPanel::setChanceLine(const QString& text, bool problem) {
    chanceLine_->setText(text);
    chanceLine_->setToolTip(text);
    chanceLine_->setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
    chartButton_->setEnabled(chance_.has_value());
}

void ResultPanel::openChart() {
    if (!chance_)
        return;
    QDialog* dialog = chartDialog(window(), tallyChanceChart(*chance_), QStringLiteral("出现次数与随机期望"));
    dialog->setObjectName(QStringLiteral("chanceChartDialog"));
    dialog->show();
}

}  // namespace drawfollow
