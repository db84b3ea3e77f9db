#include "app/history/history_panel.h"

#include "app/history/entry_row.h"
#include "app/history/history_controller.h"
#include "app/history/history_model.h"
#include "app/shell/flex_grid.h"
#include "app/shell/ui_text.h"
#include "app/shell/user_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QVBoxLayout>

namespace drawfollow {

namespace {

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QString& tip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    if (!tip.isEmpty())
        b->setToolTip(tip);
    return b;
}

QString promptText(const QString& issue) {
    return QStringLiteral("在下面输入 %1 期历史号码:").arg(issue);
}

}  // namespace

HistoryPanel::HistoryPanel(HistoryController& controller, UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent), controller_(controller), dialogs_(dialogs) {
    model_ = new HistoryModel(this);
    grid_ = new FlexGrid(QStringLiteral("MSFlexGrid1"), this);
    grid_->setModel(model_);
    grid_->setToolTip(gridExportTip());
    // 820 twips for the issue, 580 for each number.
    static constexpr std::array<int, HistoryModel::ColumnCount> kWidths = {820, 580, 580, 580, 580, 580, 580, 580, 580};
    grid_->setColumnWidthsTwips(kWidths);
    grid_->fitColumnTo(HistoryModel::IssueColumn, QStringLiteral("2026001"));
    grid_->horizontalHeader()->setStretchLastSection(false);

    prompt_ = new QLabel(promptText(QStringLiteral("2007001")), this);
    prompt_->setObjectName(QStringLiteral("Label12_1"));
    issueBox_ = new QLineEdit(QStringLiteral("2007001"), this);
    issueBox_->setObjectName(QStringLiteral("Text1"));
    issueBox_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,7}")), this));
    issueBox_->setToolTip(QStringLiteral("下一期的期号：输入的号码按此期号保存"));
    issueBox_->setFixedWidth(issueBox_->fontMetrics().horizontalAdvance(QStringLiteral("00000000")) + 16);
    prompt_->setBuddy(issueBox_);
    entry_ = new EntryRow(this);

    deleteNewestButton_ = button(this, "Command3", QStringLiteral("删除最后历史(&D)"));
    exportButton_ = button(this, "Command4", QStringLiteral("历史号码导出文本文件(&O)"));
    onlineUpdateButton_ =
        button(this, "Command21", QStringLiteral("历史号在线更新(&U)"), QStringLiteral("从官方服务器更新历史号码"));
    importButton_ = button(this, "cmdRdLst", QStringLiteral("读取历史号文本(&W)"),
                           QStringLiteral("从历史号码文本文件中读取历史号中最后一期之后的新的历史号码"));
    settingsButton_ = button(this, "Command9", QStringLiteral("软件设置(&T)"));
    trendButton_ = button(this, "cmdTrend", QStringLiteral("走势图(&Z)"), QStringLiteral("各期的走势图和遗漏统计"));
    setChangesEnabled(controller_.historyAvailable());
    exportButton_->setEnabled(controller_.historyAvailable());

    auto* issueRow = new QHBoxLayout;
    issueRow->addWidget(prompt_);
    issueRow->addWidget(issueBox_);
    issueRow->addStretch(1);
    auto* buttons = new QGridLayout;
    buttons->addWidget(deleteNewestButton_, 0, 0);
    buttons->addWidget(exportButton_, 0, 1);
    buttons->addWidget(importButton_, 1, 0);
    buttons->addWidget(onlineUpdateButton_, 1, 1);
    buttons->addWidget(settingsButton_, 2, 0);
    buttons->addWidget(trendButton_, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_, 1);
    layout->addLayout(issueRow);
    layout->addWidget(entry_);
    layout->addLayout(buttons);

    const int gridWidth = [&] {
        int w = 0;
        for (int c = 0; c < HistoryModel::ColumnCount; ++c)
            w += grid_->columnWidth(c);
        return w + grid_->frameWidth() * 2 + grid_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    }();
    grid_->setMinimumWidth(gridWidth);

    connect(entry_, &EntryRow::drawComplete, this, &HistoryPanel::storeEntry);
    connect(issueBox_, &QLineEdit::textChanged, this, [this](const QString& t) { prompt_->setText(promptText(t)); });
    // Enter after the issue moves on to the numbers, the next thing to type.
    connect(issueBox_, &QLineEdit::returnPressed, this, [this] { entry_->focusBox(1); });
    connect(&controller_, &HistoryController::historyReset, this, [this](HistoryReset reset) {
        model_->reset(controller_.history());
        scrollToNewest();
        // A restore over a refused file makes a history available where there was none.
        exportButton_->setEnabled(controller_.historyAvailable());
        // After deleting the newest draw the next thing to do is typing the draw again, as a rule.
        if (reset == HistoryReset::NewestDeleted)
            entry_->focusBox(1);
    });
    connect(&controller_, &HistoryController::drawAppended, this, [this] {
        model_->append(controller_.history().back());
        scrollToNewest();
    });
    connect(&controller_, &HistoryController::nextIssueChanged, this, &HistoryPanel::showNextIssue);

    // Start-up: the next issue and the history view.
    model_->reset(controller_.history());
    showNextIssue(controller_.nextIssue());
}

QList<QWidget*> HistoryPanel::focusOrder() const {
    QList<QWidget*> order{grid_, issueBox_};
    order << tabStops(entry_);
    order << deleteNewestButton_ << exportButton_ << importButton_ << onlineUpdateButton_ << settingsButton_
          << trendButton_;
    return order;
}

void HistoryPanel::setChangesEnabled(bool on) {
    for (QWidget* w :
         {static_cast<QWidget*>(entry_), static_cast<QWidget*>(issueBox_), static_cast<QWidget*>(deleteNewestButton_),
          static_cast<QWidget*>(importButton_), static_cast<QWidget*>(onlineUpdateButton_)})
        w->setEnabled(on);
}

void HistoryPanel::showNextIssue(int issue) {
    issueBox_->setText(QString::number(issue));
}

void HistoryPanel::scrollToNewest() {
    grid_->keepLastRowInView();
}

void HistoryPanel::storeEntry() {
    const EntryOutcome outcome = controller_.storeDraw(issueBox_->text(), entry_->texts());
    if (outcome.stored) {
        entry_->clearAll();
        return;
    }
    dialogs_.message(window(), MessageKind::Warning, QStringLiteral("号码未保存"),
                     outcome.problem + QStringLiteral("\n\n改正后在任一号码框中按回车键即可保存。"));
    if (outcome.box == 0) {
        issueBox_->setFocus(Qt::OtherFocusReason);
        issueBox_->selectAll();
    } else if (outcome.box >= 1) {
        entry_->focusBox(outcome.box);
    }
}

}  // namespace drawfollow
