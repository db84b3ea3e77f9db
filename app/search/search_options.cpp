#include "app/search/search_options.h"

#include "app/search/column_flow_layout.h"
#include "app/search/search_panel_controller.h"
#include "app/shell/ui_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QResizeEvent>
#include <QTabBar>
#include <QVBoxLayout>

#include <algorithm>

namespace drawfollow {

namespace {

// What each kind takes of a number; the frame's own purpose is added in front.
const QString kKindTips[] = {
    QStringLiteral("号码：开奖号码本身，01～30。"),
    QStringLiteral("生肖：号码所属的生肖，以代码表示；代码怎样取值见“设置”菜单的生肖参数和生肖取值设置。"),
    QStringLiteral("头数：号码的十位数字，0～3。例如 27 的头数是 2。"),
    QStringLiteral("尾数：号码的个位数字，0～9。例如 27 的尾数是 7。"),
    QStringLiteral("合数：号码两位数字相加之和，1～11。例如 27 的合数是 2＋7＝9。"),
    QStringLiteral("段数：号码按每三个一段分成十段，01～03 为第一段，04～06 为第二段……28～30 为第十段；"
                   "段的编号从 0 还是从 1 起见“设置”菜单的段数参数设置。"),
};

}  // namespace

SearchOptions::SearchOptions(SearchPanelController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
    const AppSettings& s = controller_.settings();
    pages_ = new QTabBar(this);
    pages_->setObjectName(QStringLiteral("optionPages"));
    pages_->setDrawBase(false);
    // Two frames a page: three pages fit beside the position switches on a 600-pixel screen.
    const QString pageTitles[kPages][2] = {
        {QStringLiteral("检索位·期"), QStringLiteral("检索位选择和检索期选择")},
        {QStringLiteral("号码组·类型"), QStringLiteral("号码组选择和搜索类型选择")},
        {QStringLiteral("结果·统计"), QStringLiteral("结果类型选择和结果统计选择")},
    };
    for (int page = 0; page < kPages; ++page) {
        pages_->addTab(pageTitles[page][0]);
        pages_->setTabToolTip(page, pageTitles[page][1]);
    }
    // A short title: four tabs share the width of two frames on a 1024-pixel screen.
    pages_->addTab(QStringLiteral("起止"));
    pages_->setTabToolTip(kPages, QStringLiteral("检索起止期数、回测的期数和组合组位检索的选择"));
    pages_->hide();
    connect(pages_, &QTabBar::currentChanged, this, &SearchOptions::showPages);

    // Reading order, which is also the order of the Tab key.
    frames_ = {
        positionFrame(),
        periodFrame(),
        groupFrame(),
        kindFrame("Frame3", "Option3", QStringLiteral("搜索类型选择"),
                  QStringLiteral("按哪一种取值比较检索依据与历史各期。\n"), s.searchKind(),
                  [this](Kind kind) { controller_.setSearchKind(kind); }),
        kindFrame("Frame4", "Option4", QStringLiteral("结果类型选择"), QStringLiteral("统计结果按哪一种取值计数。\n"),
                  s.resultKind(), [this](Kind kind) { controller_.setResultKind(kind); }),
        scopeFrame()};
    flow_ = new ColumnFlowLayout(3);
    flow_->setContentsMargins(0, 0, 0, 0);
    flow_->setSpacing(6);
    for (QGroupBox* f : frames_)
        flow_->addWidget(f);
    searchRowPage_ = new QWidget(this);
    searchRowPage_->setObjectName(QStringLiteral("searchRowPage"));
    auto* rowPage = new QVBoxLayout(searchRowPage_);
    rowPage->setContentsMargins(0, 0, 0, 0);
    rowPage->setSpacing(flow_->spacing());
    searchRowPage_->hide();
    flow_->addWidget(searchRowPage_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pages_);
    layout->addLayout(flow_);
    tightenFrames(this);
}

QSize SearchOptions::minimumSizeHint() const {
    // One page at a time is the narrowest this panel gets.
    int width = 0;
    for (const QGroupBox* f : frames_)
        width = std::max(width, f->minimumSizeHint().width());
    return {width, QWidget::minimumSizeHint().height()};
}

void SearchOptions::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Where the frames would stand in one tall column, below a small screen's bottom, they
    // are shown two at a time instead, the others a click on a page tab away.
    int widest = 0;
    for (const QGroupBox* f : frames_)
        widest = std::max(widest, f->sizeHint().width());
    const bool paged = width() < 2 * widest + flow_->spacing();
    if (paged == pages_->isHidden()) {
        pages_->setVisible(paged);
        showPages();
        emit pagedChanged(paged);
    }
}

void SearchOptions::showPages() {
    const bool paged = !pages_->isHidden();
    for (size_t i = 0; i < frames_.size(); ++i)
        frames_[i]->setVisible(!paged || static_cast<int>(i / kFramesPerPage) == pages_->currentIndex());
    searchRowPage_->setVisible(paged && pages_->currentIndex() == kPages);
    updateGeometry();
}

QList<QWidget*> SearchOptions::focusOrder() const {
    return tabStops(this);
}

QGroupBox* SearchOptions::positionFrame() {
    auto* f = titledFrame(this, "Frame1_0", QStringLiteral("检索位选择"));
    fixed_ = optionButton(f, "Option1", 0, QStringLiteral("固定位"));
    free_ = optionButton(f, "Option1", 1, QStringLiteral("自由位"));
    countSpecialCheck_ = new QCheckBox(QStringLiteral("自由位计特码"), f);
    countSpecialCheck_->setObjectName(QStringLiteral("Check2"));
    fixed_->setToolTip(
        QStringLiteral("固定位：检索依据的每个号码只与历史各期同一位置的号码比较，平1位对平1位，特位对特位。"));
    free_->setToolTip(QStringLiteral("自由位：检索依据的号码出现在历史某期的任何位置都算相同，不论位置。"));
    countSpecialCheck_->setToolTip(
        QStringLiteral("自由位时把特码也当作一个位置：勾选时在全部八个号码中找，不勾选时只在七个平码中找。"));
    const bool freeMode = controller_.settings().freePositions();
    (freeMode ? free_ : fixed_)->setChecked(true);
    countSpecialCheck_->setChecked(controller_.settings().countSpecial());
    countSpecialCheck_->setVisible(freeMode);
    auto* l = new QGridLayout(f);
    l->addWidget(fixed_, 0, 0);
    l->addWidget(free_, 0, 1);
    l->addWidget(countSpecialCheck_, 1, 0, 1, 2);
    auto choose = [this](bool freeMode) {
        countSpecialCheck_->setVisible(freeMode);
        controller_.setFreePositions(freeMode);
    };
    connect(fixed_, &QRadioButton::clicked, this, [choose] { choose(false); });
    connect(free_, &QRadioButton::clicked, this, [choose] { choose(true); });
    connect(countSpecialCheck_, &QCheckBox::toggled, this, [this](bool on) { controller_.setCountSpecial(on); });
    return f;
}

QGroupBox* SearchOptions::periodFrame() {
    auto* f = titledFrame(this, "Frame1_1", QStringLiteral("检索期选择"));
    auto* previous = optionButton(f, "Option1", 3, QStringLiteral("上期"));
    auto* earlier = optionButton(f, "Option1", 2, QStringLiteral("前期"));
    (controller_.settings().previousIssue() ? previous : earlier)->setChecked(true);
    previous->setToolTip(
        QStringLiteral("上期：以最新一期为检索依据，找出历史上与它相似的各期，统计它们的下一期开出的号码。"));
    earlier->setToolTip(
        QStringLiteral("前期：以倒数第 N 期（右边框中的数字，1～9）为检索依据，"
                       "找出历史上与它相似的各期，统计它们之后第 N 期开出的号码。"));
    gap_ = new QLineEdit(QString::number(controller_.settings().gap()), f);
    gap_->setObjectName(QStringLiteral("MaskEdBox2"));
    gap_->setInputMask(QStringLiteral("d"));  // one digit 1..9: a gap of 0 cannot be typed
    gap_->setToolTip(QStringLiteral("前期：相隔的期数（1～9）"));
    gap_->setAlignment(Qt::AlignCenter);
    gap_->setFixedWidth(gap_->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 16);
    auto* l = new QHBoxLayout(f);
    l->addWidget(previous);
    l->addWidget(earlier);
    l->addWidget(gap_);
    l->addStretch(1);
    connect(previous, &QRadioButton::clicked, this, [this] { controller_.setPreviousIssue(true); });
    connect(earlier, &QRadioButton::clicked, this, [this] { controller_.setPreviousIssue(false); });
    connect(gap_, &QLineEdit::editingFinished, this, &SearchOptions::applyGap);
    return f;
}

void SearchOptions::applyGap() {
    bool ok = false;
    const int gap = gap_->text().toInt(&ok);
    if (ok && gap >= 1 && gap <= 9 && gap != controller_.settings().gap())
        controller_.setGap(gap);
    gap_->setText(QString::number(controller_.settings().gap()));  // an emptied box shows the gap in force
}

QGroupBox* SearchOptions::groupFrame() {
    auto* f = titledFrame(this, "Frame1_2", QStringLiteral("号码组选择"));
    auto* sequential = optionButton(f, "Option2", 5, QStringLiteral("顺序码"));
    auto* landed = optionButton(f, "Option2", 4, QStringLiteral("落地码"));
    sequential->setChecked(true);
    auto* l = new QHBoxLayout(f);
    l->addWidget(sequential);
    l->addWidget(landed);
    l->addStretch(1);
    // These hold no state; a click only refreshes the panel.
    for (QRadioButton* o : {sequential, landed})
        connect(o, &QRadioButton::clicked, this, [this] { controller_.refreshPanel(); });
    return f;
}

QGroupBox* SearchOptions::kindFrame(const char* name, const char* control, const QString& title, const QString& purpose,
                                    Kind selected, const std::function<void(Kind)>& choose) {
    auto* f = titledFrame(this, name, title);
    auto* l = new QGridLayout(f);
    for (const Kind kind : kAllKinds) {
        const int k = index(kind);
        auto* o = optionButton(f, control, k, kindCaption(kind));
        o->setToolTip(purpose + kKindTips[k]);
        o->setChecked(kind == selected);
        l->addWidget(o, k / 3, k % 3);
        connect(o, &QRadioButton::clicked, this, [choose, kind] { choose(kind); });
    }
    return f;
}

QGroupBox* SearchOptions::scopeFrame() {
    auto* f = titledFrame(this, "Frame6", QStringLiteral("结果统计选择"));
    auto* l = new QHBoxLayout(f);
    const QString captions[] = {QStringLiteral("平特"), QStringLiteral("平码"), QStringLiteral("特码")};
    const QString tips[] = {QStringLiteral("平特：统计找到的各期全部八个号码（七个平码和特码）。"),
                            QStringLiteral("平码：只统计找到的各期的七个平码。"),
                            QStringLiteral("特码：只统计找到的各期的特码。")};
    for (const TallyScope scope : {TallyScope::Special, TallyScope::Regular, TallyScope::All}) {
        const int i = static_cast<int>(scope);
        auto* o = optionButton(f, "Option5", i, captions[i]);
        o->setToolTip(tips[i]);
        o->setChecked(scope == controller_.settings().tallyScope());
        l->addWidget(o);
        connect(o, &QRadioButton::clicked, this, [this, scope] { controller_.setTallyScope(scope); });
    }
    l->addStretch(1);
    return f;
}

}  // namespace drawfollow
