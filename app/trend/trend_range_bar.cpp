#include "app/trend/trend_range_bar.h"

#include "app/shell/ui_text.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace drawfollow {

namespace {

QLineEdit* issueBox(QWidget* parent, const QString& name, const QString& tip) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setPlaceholderText(QStringLiteral("不限"));
    box->setToolTip(tip);
    box->setValidator(new QIntValidator(0, 99999999, box));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
    return box;
}

std::optional<int> issueIn(const QLineEdit* box, bool* ok) {
    const QString text = box->text().trimmed();
    *ok = true;
    if (text.isEmpty())
        return std::nullopt;
    const int issue = text.toInt(ok);
    return *ok ? std::optional<int>(issue) : std::nullopt;
}

}  // namespace

TrendRangeBar::TrendRangeBar(QWidget* parent) : QWidget(parent) {
    kindBox_ = new QComboBox(this);
    kindBox_->setObjectName(QStringLiteral("trendKind"));
    for (const Kind kind : kAllKinds)
        kindBox_->addItem(kindCaption(kind), index(kind));
    scopeBox_ = new QComboBox(this);
    scopeBox_->setObjectName(QStringLiteral("trendScope"));
    scopeBox_->addItem(QStringLiteral("平特"), static_cast<int>(TallyScope::All));
    scopeBox_->addItem(QStringLiteral("平码"), static_cast<int>(TallyScope::Regular));
    scopeBox_->addItem(QStringLiteral("特码"), static_cast<int>(TallyScope::Special));
    scopeBox_->setToolTip(QStringLiteral("平特：八个号码都算；平码：只算七个平码；特码：只算特码。"));
    firstBox_ = issueBox(this, QStringLiteral("trendFirst"), QStringLiteral("从这一期起；空着从最早一期起。"));
    lastBox_ = issueBox(this, QStringLiteral("trendLast"), QStringLiteral("到这一期止；空着到最新一期止。"));
    auto* show = new QPushButton(QStringLiteral("显示"), this);
    show->setObjectName(QStringLiteral("trendShow"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("种类"), this));
    layout->addWidget(kindBox_);
    layout->addWidget(new QLabel(QStringLiteral("范围"), this));
    layout->addWidget(scopeBox_);
    layout->addWidget(new QLabel(QStringLiteral("期数"), this));
    layout->addWidget(firstBox_);
    layout->addWidget(new QLabel(QStringLiteral("～"), this));
    layout->addWidget(lastBox_);
    layout->addWidget(show);
    layout->addSpacing(12);
    for (const int draws : {30, 50, 100, 0}) {
        auto* quick = new QPushButton(draws ? QStringLiteral("近%1期").arg(draws) : QStringLiteral("全部"), this);
        quick->setObjectName(QStringLiteral("trendLast%1").arg(draws));
        layout->addWidget(quick);
        connect(quick, &QPushButton::clicked, this, [this, draws] { showLast(draws); });
    }
    layout->addStretch(1);

    connect(kindBox_, &QComboBox::currentIndexChanged, this, &TrendRangeBar::changed);
    connect(scopeBox_, &QComboBox::currentIndexChanged, this, &TrendRangeBar::changed);
    connect(show, &QPushButton::clicked, this, &TrendRangeBar::changed);
    connect(firstBox_, &QLineEdit::returnPressed, this, &TrendRangeBar::changed);
    connect(lastBox_, &QLineEdit::returnPressed, this, &TrendRangeBar::changed);
}

Kind TrendRangeBar::kind() const {
    return static_cast<Kind>(kindBox_->currentData().toInt());
}

TallyScope TrendRangeBar::scope() const {
    return static_cast<TallyScope>(scopeBox_->currentData().toInt());
}

std::optional<IssueRange> TrendRangeBar::range(QString* problem) const {
    bool firstOk = false;
    bool lastOk = false;
    IssueRange range{issueIn(firstBox_, &firstOk), issueIn(lastBox_, &lastOk)};
    if (firstOk && lastOk)
        return range;
    *problem = QStringLiteral("期数范围只能填期号（数字），或者空着。");
    return std::nullopt;
}

void TrendRangeBar::showLast(int draws) {
    const auto size = static_cast<int>(issues_.size());
    const bool all = draws <= 0 || draws >= size;
    firstBox_->setText(all ? QString() : QString::number(issues_[size - draws]));
    lastBox_->clear();
    emit changed();
}

}  // namespace drawfollow
