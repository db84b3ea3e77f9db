#include "app/search/search_bar.h"

#include "app/search/search_panel_controller.h"
#include "app/shell/ui_text.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

namespace drawfollow {

namespace {

QLineEdit* issueBox(QWidget* parent, const char* name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,7}")), e));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
    return e;
}

}  // namespace

SearchBar::SearchBar(SearchPanelController& controller, QWidget* parent) : QWidget(parent), controller_(controller) {
    followSearchButton_ = new QPushButton(QStringLiteral("检索(&S)"), this);
    followSearchButton_->setObjectName(QStringLiteral("Command1"));
    followSearchButton_->setToolTip(QStringLiteral("跟随检索：列出与检索依据相似的各期之后开出的号码，并统计结果"));
    followSearchButton_->setEnabled(controller_.canSearch());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    comboFrame_ = comboFrame();
    rangeFrame_ = rangeFrame();
    framesRow_ = new QHBoxLayout;
    framesRow_->setContentsMargins(0, 0, 0, 0);
    framesRow_->addWidget(comboFrame_);
    framesRow_->addWidget(rangeFrame_);
    layout->addLayout(framesRow_);
    // 回测 above 检索: the row has no width to spare on a small screen.
    recordPickButton_ = new QPushButton(QStringLiteral("记录本期预测"), this);
    recordPickButton_->setObjectName(QStringLiteral("cmdRecordPick"));
    recordPickButton_->setToolTip(
        QStringLiteral("用回测的检索方式和取值，在当前历史上为下一期选出结果值并记入预测记录；"
                       "开奖存入历史后自动与随机开奖比较。"));
    recordPickButton_->setEnabled(controller_.canSearch());
    buttons_ = new QVBoxLayout;
    buttons_->addStretch(1);
    buttons_->addWidget(backtestButton_);
    buttons_->addWidget(recordPickButton_);
    buttons_->addWidget(followSearchButton_);
    layout->addLayout(buttons_);
    layout->addStretch(1);
    tightenFrames(this);

    connect(&controller_, &SearchPanelController::rangeStartChanged, this,
            [this](int issue) { rangeStart_->setText(QString::number(issue)); });
    connect(&controller_, &SearchPanelController::rangeEndChanged, this,
            [this](int issue) { rangeEnd_->setText(QString::number(issue)); });
}

void SearchBar::placeFramesOn(QWidget* page) {
    const bool away = page != nullptr;
    if (away == framesAway_)
        return;
    framesAway_ = away;
    QLayout* home = away ? page->layout() : framesRow_;
    for (QGroupBox* f : {comboFrame_, rangeFrame_}) {
        framesRow_->removeWidget(f);
        f->parentWidget()->layout()->removeWidget(f);  // the page's, when it comes back
        home->addWidget(f);
        f->show();
    }
    comboGrid_->removeWidget(combinationSearchButton_);
    buttons_->removeWidget(combinationSearchButton_);
    if (away)
        buttons_->insertWidget(1, combinationSearchButton_);  // after the stretch, before 回测
    else
        comboGrid_->addWidget(combinationSearchButton_, 1, 2);
    combinationSearchButton_->show();
    buttons_->setDirection(away ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom);
}

QList<QWidget*> SearchBar::focusOrder() const {
    // The frames by name: on a small screen they stand on an option page, not in this row.
    QList<QWidget*> order = withoutRepeats(tabStops(this) + tabStops(comboFrame_) + tabStops(rangeFrame_));
    order.removeOne(followSearchButton_);
    order.removeOne(combinationSearchButton_);
    order << followSearchButton_ << combinationSearchButton_;
    for (QWidget* w : {static_cast<QWidget*>(backtestTargets_), static_cast<QWidget*>(backtestTop_),
                       static_cast<QWidget*>(backtestExclude_), static_cast<QWidget*>(backtestButton_),
                       static_cast<QWidget*>(recordPickButton_)}) {
        order.removeOne(w);
        order << w;
    }
    return order;
}

BacktestSettings SearchBar::backtestSettings() const {
    return {backtestTargets_->value(), backtestTop_->value(),
            backtestExclude_->isChecked() ? PickMode::Exclude : PickMode::Top};
}

QLayout* SearchBar::backtestRow(QGroupBox* f) {
    const BacktestSettings kept = controller_.settings().backtest();
    backtestTargets_ = new QSpinBox(f);
    backtestTargets_->setObjectName(QStringLiteral("backtestTargets"));
    backtestTargets_->setRange(1, AppSettings::kMostBacktestTargets);
    backtestTargets_->setValue(kept.targets);
    backtestTargets_->setSuffix(QStringLiteral(" 期"));
    backtestTargets_->setToolTip(QStringLiteral("回测最新的多少期：每一期都只用它之前的历史检索"));
    backtestTop_ = new QSpinBox(f);
    backtestTop_->setObjectName(QStringLiteral("backtestTop"));
    backtestTop_->setRange(1, AppSettings::kMostBacktestTop);
    backtestTop_->setValue(kept.top);
    backtestTop_->setSuffix(QStringLiteral(" 个"));
    backtestTop_->setToolTip(QStringLiteral("每期取统计结果排在最前（杀号：最后）的多少个值，看它们开出了几次"));
    backtestExclude_ = new QCheckBox(QStringLiteral("杀号"), f);
    backtestExclude_->setObjectName(QStringLiteral("backtestExclude"));
    backtestExclude_->setChecked(kept.mode == PickMode::Exclude);
    backtestExclude_->setToolTip(
        QStringLiteral("杀号：取统计结果排在最后（出现最少）的值，看它们是否比随机开奖开出得更少"));
    const auto showEnd = [this] {
        backtestTop_->setPrefix(backtestExclude_->isChecked() ? QStringLiteral("后 ") : QStringLiteral("前 "));
    };
    showEnd();
    connect(backtestExclude_, &QCheckBox::toggled, this, [this, showEnd] {
        showEnd();
        controller_.setBacktest(backtestSettings());
    });
    auto* label = new QLabel(QStringLiteral("回测最新"), f);
    label->setObjectName(QStringLiteral("backtestLabel"));
    label->setBuddy(backtestTargets_);
    backtestButton_ = new QPushButton(QStringLiteral("回测(&B)"), this);
    backtestButton_->setObjectName(QStringLiteral("cmdBacktest"));
    backtestButton_->setToolTip(
        QStringLiteral("回测：假如在最新的各期开奖之前都用最近一次的检索方式（跟随或组合）检索，"
                       "结果排在最前的值开出了多少次，与随机相比如何。不改动历史数据库。"));
    backtestButton_->setEnabled(controller_.canSearch());
    for (QSpinBox* box : {backtestTargets_, backtestTop_})
        connect(box, &QSpinBox::valueChanged, this, [this] { controller_.setBacktest(backtestSettings()); });
    auto* l = new QHBoxLayout;
    l->addWidget(label);
    l->addWidget(backtestTargets_);
    l->addWidget(backtestTop_);
    l->addStretch(1);
    // 杀号 on a line of its own: beside the boxes it would widen the window past a small screen.
    auto* rows = new QVBoxLayout;
    rows->addLayout(l);
    rows->addWidget(backtestExclude_);
    return rows;
}

QGroupBox* SearchBar::comboFrame() {
    auto* f = titledFrame(this, "Frame5", QStringLiteral("组合组位检索"));
    auto* regular = optionButton(f, "Option6", 1, QStringLiteral("平码"));
    auto* all = optionButton(f, "Option6", 0, QStringLiteral("平特"));
    (controller_.settings().comboRegularOnly() ? regular : all)->setChecked(true);
    regular->setToolTip(QStringLiteral("平码：组合只从七个平码的位置中选取。"));
    all->setToolTip(QStringLiteral("平特：组合从全部八个位置（七个平码和特码）中选取。"));
    combinationSizeCombo_ = new QComboBox(f);
    combinationSizeCombo_->setObjectName(QStringLiteral("Combo1"));
    for (int i = 1; i <= 6; ++i)
        combinationSizeCombo_->addItem(QString::number(i));
    combinationSizeCombo_->setCurrentIndex(controller_.settings().comboSize() - 1);
    auto* sizeLabel = new QLabel(QStringLiteral("组合位数"), f);
    sizeLabel->setObjectName(QStringLiteral("Label1"));
    sizeLabel->setBuddy(combinationSizeCombo_);
    combinationSearchButton_ = new QPushButton(QStringLiteral("组合检索(&G)"), f);
    combinationSearchButton_->setObjectName(QStringLiteral("Command2"));
    combinationSearchButton_->setToolTip(QStringLiteral("组合检索：检索依据中任取“组合位数”个位置相同即算相似"));
    combinationSearchButton_->setEnabled(controller_.canSearch());
    auto* l = new QGridLayout(f);
    comboGrid_ = l;
    l->addWidget(regular, 0, 0);
    l->addWidget(all, 0, 1);
    l->addWidget(sizeLabel, 1, 0);
    l->addWidget(combinationSizeCombo_, 1, 1);
    l->addWidget(combinationSearchButton_, 1, 2);
    connect(regular, &QRadioButton::clicked, this, [this] { controller_.setComboRegularOnly(true); });
    connect(all, &QRadioButton::clicked, this, [this] { controller_.setComboRegularOnly(false); });
    connect(combinationSizeCombo_, &QComboBox::currentIndexChanged, this,
            [this](int i) { controller_.setComboSize(i + 1); });
    return f;
}

QGroupBox* SearchBar::rangeFrame() {
    auto* f = titledFrame(this, "Frame7", QStringLiteral("检索起止期数"));
    const auto start = controller_.rangeStart();
    const auto end = controller_.rangeEnd();
    rangeStart_ = issueBox(f, "Text3_0", start ? QString::number(*start) : QStringLiteral("2013001"));
    rangeEnd_ = issueBox(f, "Text3_1", end ? QString::number(*end) : QStringLiteral("2013001"));
    auto* from = new QLabel(QStringLiteral("起"), f);
    from->setObjectName(QStringLiteral("Label3_0"));
    auto* to = new QLabel(QStringLiteral("止"), f);
    to->setObjectName(QStringLiteral("Label3_1"));
    auto* tilde = new QLabel(QStringLiteral("～"), f);
    tilde->setObjectName(QStringLiteral("Label4"));
    // Enter in either box runs the follow search, as 检索 would.
    for (QLineEdit* box : {rangeStart_, rangeEnd_})
        connect(box, &QLineEdit::returnPressed, followSearchButton_, &QPushButton::click);
    auto* range = new QHBoxLayout;
    range->addWidget(from);
    range->addWidget(rangeStart_);
    range->addWidget(tilde);
    range->addWidget(to);
    range->addWidget(rangeEnd_);
    range->addStretch(1);
    auto* l = new QVBoxLayout(f);
    l->addLayout(range);
    l->addLayout(backtestRow(f));
    return f;
}

}  // namespace drawfollow
