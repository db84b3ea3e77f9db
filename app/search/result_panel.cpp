#include "app/search/result_panel.h"

#include "analysis/search.h"
#include "app/search/text_grid_model.h"
#include "app/shell/flex_grid.h"
#include "app/shell/ui_text.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>

#include <array>

namespace drawfollow {

namespace {

// 序号, 结果, 出现次数, 百分比.
constexpr int kTallyCountColumn = 2;
constexpr int kTallyPercentColumn = 3;

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
    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("resultNote"));
    // A search's summary may be longer than a narrow window is wide: two lines are kept for
    // it, and the whole text is in its tooltip should it need more.
    note_->setWordWrap(true);
    note_->setMinimumHeight(note_->fontMetrics().lineSpacing() * 2 + 8);
    note_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    clear(true);

    int tallyWidth = tally_->frameWidth() * 2 + tally_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    for (int c = 0; c < 4; ++c)
        tallyWidth += tally_->columnWidth(c);
    tally_->setFixedWidth(tallyWidth);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(note_, 0, 0, 1, 2);
    layout->addWidget(hits_, 1, 0);
    layout->addWidget(tally_, 1, 1);
    layout->setColumnStretch(0, 1);
}

void ResultPanel::setNote(const QString& text, bool problem) {
    note_->setText(text);
    note_->setToolTip(text);
    note_->setStyleSheet(problem ? QStringLiteral("color: #b00020;") : QString());
    problem_ = problem;
}

void ResultPanel::clear(bool previousIssue) {
    showHits({detailHeader(previousIssue)});
    showTally({tallyHeader()});
    setNote(QStringLiteral("检索结果"), false);
}

void ResultPanel::clearProblem() {
    if (problem_)
        setNote(QStringLiteral("检索结果"), false);
}

void ResultPanel::showHits(TextGrid grid) {
    hitsModel_->setGrid(std::move(grid));
    // 期号, 平1位..平7位, 特位, 上期开奖/前期开奖.
    static constexpr std::array<int, kDetailColumns> kWidths = {980, 680, 680, 680, 680, 680, 680, 680, 800, 2800};
    hits_->setColumnWidthsTwips(kWidths);
    hits_->fitColumnTo(0, QStringLiteral("2026001"));
    hits_->fitColumnTo(kDetailColumns - 1, QStringLiteral("03 07 12 18 22 25 29 11 "));
}

void ResultPanel::showTally(TextGrid grid) {
    tallyModel_->setGrid(std::move(grid));
    // 序号, 结果, 出现次数, 百分比.
    static constexpr std::array<int, kTallyColumns> kWidths = {480, 680, 800, 880};
    tally_->setColumnWidthsTwips(kWidths);
    tally_->fitColumnTo(kTallyPercentColumn, QStringLiteral("100.000%"));
}

}  // namespace drawfollow
