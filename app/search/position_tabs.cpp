#include "app/search/position_tabs.h"

#include "app/search/search_panel_controller.h"
#include "app/shell/ui_text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace drawfollow {

namespace {

QCheckBox* positionSwitch(QWidget* parent, const char* control, int index, int position) {
    auto* c = new QCheckBox(switchCaption(position), parent);
    c->setObjectName(arrayName(control, index));
    return c;
}

QLineEdit* valueBox(QWidget* parent, const char* control, int index, bool readOnly) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(arrayName(control, index));
    e->setReadOnly(readOnly);
    e->setAlignment(Qt::AlignCenter);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 14);
    return e;
}

// Eight (switch, box) pairs in two columns of four: positions 1..4, then 5..8.
void placePairs(QGridLayout* grid, int firstRow, const std::array<QCheckBox*, kPositions>& switches,
                const std::array<QLineEdit*, kPositions>& boxes, bool boxFirst) {
    for (int i = 0; i < kPositions; ++i) {
        const int row = firstRow + i % 4;
        const int column = (i / 4) * 3;
        grid->addWidget(boxFirst ? static_cast<QWidget*>(boxes[i]) : switches[i], row, column);
        grid->addWidget(boxFirst ? static_cast<QWidget*>(switches[i]) : boxes[i], row, column + 1);
    }
    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnStretch(5, 1);
}

QLabel* noteLabel(QWidget* parent, const char* name) {
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setWordWrap(true);
    l->setMinimumHeight(l->fontMetrics().lineSpacing() * 2);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

}  // namespace

PositionTabs::PositionTabs(SearchPanelController& controller, QWidget* parent)
    : QWidget(parent), controller_(controller) {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabStrip1"));
    tabs_->addTab(historyFrame(), QStringLiteral("自动历史位"));
    tabs_->addTab(manualFrame(), QStringLiteral("手动输入号"));
    tabs_->addTab(verifyFrame(), QStringLiteral("验证指定期"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);

    connect(tabs_, &QTabWidget::currentChanged, this,
            [this](int tab) { controller_.selectTab(static_cast<PanelTab>(tab)); });
    connect(&controller_, &SearchPanelController::positionsChanged, this, &PositionTabs::showValues);
    connect(&controller_, &SearchPanelController::verificationTextChanged, verifyIssueEdit_, &QLineEdit::setText);
    showValues();
}

QWidget* PositionTabs::historyFrame() {
    auto* frame = new QWidget;
    frame->setObjectName(QStringLiteral("Frame2_0"));
    for (int p = 1; p <= kPositions; ++p) {
        historySwitches_[p - 1] = positionSwitch(frame, "Check1", p, p);
        historyValues_[p - 1] = valueBox(frame, "Text2", p, true);
    }
    historyNote_ = noteLabel(frame, "Frame2Note_0");
    auto* grid = new QGridLayout(frame);
    placePairs(grid, 0, historySwitches_, historyValues_, false);
    grid->addWidget(historyNote_, 4, 0, 1, 6);
    grid->setRowStretch(5, 1);
    return frame;
}

QWidget* PositionTabs::manualFrame() {
    auto* frame = new QWidget;
    frame->setObjectName(QStringLiteral("Frame2_1"));
    // Only digits, "-" and backspace reach the box.
    const QRegularExpression keys(QStringLiteral("[0-9-]{0,4}"));
    for (int p = 1; p <= kPositions; ++p) {
        manualValues_[p - 1] = valueBox(frame, "Text22", p, false);
        manualValues_[p - 1]->setValidator(new QRegularExpressionValidator(keys, manualValues_[p - 1]));
        manualSwitches_[p - 1] = positionSwitch(frame, "Check11", p, p);
        connect(manualValues_[p - 1], &QLineEdit::textChanged, this, [this, p](const QString& text) {
            bool ok = false;
            const int n = text.toInt(&ok);
            controller_.setManualValue(p, ok ? std::optional<int>(n) : std::nullopt);
        });
    }
    auto* hint = new QLabel(QStringLiteral("按检索类型的取值输入号码（生肖输入其代码）。"), frame);
    hint->setWordWrap(true);
    auto* grid = new QGridLayout(frame);
    placePairs(grid, 0, manualSwitches_, manualValues_, true);
    grid->addWidget(hint, 4, 0, 1, 6);
    grid->setRowStretch(5, 1);
    return frame;
}

bool PositionTabs::addManualValue(int value) {
    const auto empty = std::find_if(manualValues_.begin(), manualValues_.end(),
                                    [](const QLineEdit* box) { return box->text().isEmpty(); });
    if (empty == manualValues_.end())
        return false;
    (*empty)->setText(QString::number(value));  // the box tells the controller, as typing does
    tabs_->setCurrentIndex(static_cast<int>(PanelTab::Manual));
    return true;
}

QWidget* PositionTabs::verifyFrame() {
    auto* frame = new QWidget;
    frame->setObjectName(QStringLiteral("Frame2_2"));
    for (int p = 1; p <= kPositions; ++p) {
        verifySwitches_[p - 1] = positionSwitch(frame, "Check1", p + 10, p);
        verifyValues_[p - 1] = valueBox(frame, "Text2", p + 10, true);
    }
    verifyIssueEdit_ = new QLineEdit(controller_.verificationText(), frame);
    verifyIssueEdit_->setObjectName(QStringLiteral("Text4"));
    verifyIssueEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,7}")), verifyIssueEdit_));
    verifyIssueEdit_->setToolTip(QStringLiteral("要验证的期号"));
    verifyIssueEdit_->setFixedWidth(verifyIssueEdit_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
    limitBeforeVerifyCheck_ = new QCheckBox(QStringLiteral("仅检索该期前"), frame);
    limitBeforeVerifyCheck_->setObjectName(QStringLiteral("Check4"));
    auto* label = new QLabel(QStringLiteral("验证期号"), frame);
    label->setBuddy(verifyIssueEdit_);
    verifyNote_ = noteLabel(frame, "Frame2Note_2");

    auto* grid = new QGridLayout(frame);
    placePairs(grid, 0, verifySwitches_, verifyValues_, false);
    auto* issueRow = new QHBoxLayout;
    issueRow->addWidget(label);
    issueRow->addWidget(verifyIssueEdit_);
    issueRow->addWidget(limitBeforeVerifyCheck_);
    issueRow->addStretch(1);
    grid->addLayout(issueRow, 4, 0, 1, 6);
    grid->addWidget(verifyNote_, 5, 0, 1, 6);
    grid->setRowStretch(6, 1);

    connect(verifyIssueEdit_, &QLineEdit::editingFinished, this,
            [this] { controller_.setVerificationText(verifyIssueEdit_->text()); });
    connect(limitBeforeVerifyCheck_, &QCheckBox::clicked, this, [this](bool on) {
        controller_.setVerificationText(verifyIssueEdit_->text());
        controller_.setLimitBeforeVerification(on);
    });
    return frame;
}

void PositionTabs::showValues() {
    const auto historyTexts = controller_.baseTexts(PanelTab::History);
    const auto verifyTexts = controller_.baseTexts(PanelTab::Verify);
    for (int i = 0; i < kPositions; ++i) {
        historyValues_[i]->setText(historyTexts[i]);
        verifyValues_[i]->setText(verifyTexts[i]);
    }
    const BaseValues& h = controller_.historyBase();
    const BaseValues& v = controller_.verifyBase();
    historyNote_->setText(h.note);
    verifyNote_->setText(v.note);
    historyNote_->setStyleSheet(h.values ? QString() : QStringLiteral("color: #b00020;"));
    verifyNote_->setStyleSheet(v.values ? QString() : QStringLiteral("color: #b00020;"));
}

QList<QWidget*> PositionTabs::focusOrder() const {
    QList<QWidget*> order{tabs_};
    for (int i = 0; i < tabs_->count(); ++i)
        order << tabStops(tabs_->widget(i));
    return order;
}

std::array<bool, kPositions> PositionTabs::activeSwitches() const {
    const auto& boxes = controller_.tab() == PanelTab::Manual   ? manualSwitches_
                        : controller_.tab() == PanelTab::Verify ? verifySwitches_
                                                                : historySwitches_;
    std::array<bool, kPositions> on{};
    for (int i = 0; i < kPositions; ++i)
        on[i] = boxes[i]->isChecked();
    return on;
}

}  // namespace drawfollow
