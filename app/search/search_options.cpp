#include "app/search/search_options.h"

#include "app/search/search_panel_controller.h"
#include "app/shell/ui_text.h"

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
#include <QVBoxLayout>

namespace drawfollow {

namespace {

const QString kKindCaptions[] = {QStringLiteral("号码"), QStringLiteral("生肖"), QStringLiteral("头数"),
                                 QStringLiteral("尾数"), QStringLiteral("合数"), QStringLiteral("段数")};

QGroupBox* frame(QWidget* parent, const char* name, const QString& title) {
    auto* f = new QGroupBox(title, parent);
    f->setObjectName(QLatin1String(name));
    return f;
}

QRadioButton* option(QWidget* parent, const char* control, int index, const QString& caption) {
    auto* o = new QRadioButton(caption, parent);
    o->setObjectName(arrayName(control, index));
    return o;
}

QLineEdit* issueBox(QWidget* parent, const char* name, const QString& text) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,7}")), e));
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
    return e;
}

}  // namespace

SearchOptions::SearchOptions(SearchPanelController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
    const AppSettings& s = controller_.settings();
    followSearchButton_ = new QPushButton(QStringLiteral("检索(&S)"), this);
    followSearchButton_->setObjectName(QStringLiteral("Command1"));
    followSearchButton_->setToolTip(QStringLiteral("跟随检索：列出与检索依据相似的各期之后开出的号码，并统计结果"));
    followSearchButton_->setEnabled(controller_.canSearch());

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(positionFrame(), 0, 0);
    layout->addWidget(periodFrame(), 1, 0);
    layout->addWidget(groupFrame(), 2, 0);
    layout->addWidget(kindFrame("Frame3", "Option3", QStringLiteral("搜索类型选择"), s.searchKind(),
                                &SearchPanelController::setSearchKind),
                      0, 1);
    layout->addWidget(kindFrame("Frame4", "Option4", QStringLiteral("结果类型选择"), s.resultKind(),
                                &SearchPanelController::setResultKind),
                      1, 1);
    layout->addWidget(scopeFrame(), 2, 1);
    layout->addWidget(comboFrame(), 0, 2, 2, 1);
    auto* searchRow = new QVBoxLayout;
    searchRow->addWidget(rangeFrame());
    searchRow->addWidget(followSearchButton_);
    layout->addLayout(searchRow, 2, 2);
    layout->setRowStretch(3, 1);

    connect(&controller_, &SearchPanelController::rangeStartChanged, this,
            [this](int issue) { rangeStart_->setText(QString::number(issue)); });
    connect(&controller_, &SearchPanelController::rangeEndChanged, this,
            [this](int issue) { rangeEnd_->setText(QString::number(issue)); });
}

QGroupBox* SearchOptions::positionFrame() {
    auto* f = frame(this, "Frame1_0", QStringLiteral("检索位选择"));
    fixed_ = option(f, "Option1", 0, QStringLiteral("固定位"));
    free_ = option(f, "Option1", 1, QStringLiteral("自由位"));
    countSpecialCheck_ = new QCheckBox(QStringLiteral("自由位计特码"), f);
    countSpecialCheck_->setObjectName(QStringLiteral("Check2"));
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
    auto* f = frame(this, "Frame1_1", QStringLiteral("检索期选择"));
    auto* previous = option(f, "Option1", 3, QStringLiteral("上期"));
    auto* earlier = option(f, "Option1", 2, QStringLiteral("前期"));
    (controller_.settings().previousIssue() ? previous : earlier)->setChecked(true);
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
    auto* f = frame(this, "Frame1_2", QStringLiteral("号码组选择"));
    auto* sequential = option(f, "Option2", 5, QStringLiteral("顺序码"));
    auto* landed = option(f, "Option2", 4, QStringLiteral("落地码"));
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

QGroupBox* SearchOptions::kindFrame(const char* name, const char* control, const QString& title, Kind selected,
                                    void (SearchPanelController::*set)(Kind)) {
    auto* f = frame(this, name, title);
    auto* l = new QGridLayout(f);
    for (const Kind kind : kAllKinds) {
        const int k = index(kind);
        auto* o = option(f, control, k, kKindCaptions[k]);
        o->setChecked(kind == selected);
        l->addWidget(o, k / 3, k % 3);
        connect(o, &QRadioButton::clicked, this, [this, set, kind] { (controller_.*set)(kind); });
    }
    return f;
}

QGroupBox* SearchOptions::scopeFrame() {
    auto* f = frame(this, "Frame6", QStringLiteral("结果统计选择"));
    auto* l = new QHBoxLayout(f);
    const QString captions[] = {QStringLiteral("平特"), QStringLiteral("平码"), QStringLiteral("特码")};
    for (const TallyScope scope : {TallyScope::Special, TallyScope::Regular, TallyScope::All}) {
        const int i = static_cast<int>(scope);
        auto* o = option(f, "Option5", i, captions[i]);
        o->setChecked(scope == controller_.settings().tallyScope());
        l->addWidget(o);
        connect(o, &QRadioButton::clicked, this, [this, scope] { controller_.setTallyScope(scope); });
    }
    l->addStretch(1);
    return f;
}

QGroupBox* SearchOptions::comboFrame() {
    auto* f = frame(this, "Frame5", QStringLiteral("组合组位检索"));
    auto* regular = option(f, "Option6", 1, QStringLiteral("平码"));
    auto* all = option(f, "Option6", 0, QStringLiteral("平特"));
    (controller_.settings().comboRegularOnly() ? regular : all)->setChecked(true);
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
    l->addWidget(regular, 0, 0);
    l->addWidget(all, 0, 1);
    l->addWidget(sizeLabel, 1, 0);
    l->addWidget(combinationSizeCombo_, 1, 1);
    l->addWidget(combinationSearchButton_, 2, 0, 1, 2);
    l->setRowStretch(3, 1);
    connect(regular, &QRadioButton::clicked, this, [this] { controller_.setComboRegularOnly(true); });
    connect(all, &QRadioButton::clicked, this, [this] { controller_.setComboRegularOnly(false); });
    connect(combinationSizeCombo_, &QComboBox::currentIndexChanged, this,
            [this](int i) { controller_.setComboSize(i + 1); });
    return f;
}

QGroupBox* SearchOptions::rangeFrame() {
    auto* f = frame(this, "Frame7", QStringLiteral("检索起止期数"));
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
    auto* l = new QHBoxLayout(f);
    l->addWidget(from);
    l->addWidget(rangeStart_);
    l->addWidget(tilde);
    l->addWidget(to);
    l->addWidget(rangeEnd_);
    l->addStretch(1);
    return f;
}

}  // namespace drawfollow
