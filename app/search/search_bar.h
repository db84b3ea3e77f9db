// The row below the option frames that runs a search: the combination frame with 组合检索,
// the issue range with the backtest's size under it, 回测 and 检索. It
// stays in sight when the frames above it scroll. Where the option frames are paged, the
// two frames go onto a page of their own and the buttons stand in one row, so that a small
// screen keeps its height for the results.
#pragma once

#include "analysis/backtest.h"

#include <QList>
#include <QWidget>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace drawfollow {

class SearchPanelController;

class SearchBar final : public QWidget {
    Q_OBJECT

public:
    explicit SearchBar(SearchPanelController& controller, QWidget* parent = nullptr);

    QPushButton* followSearchButton() const { return followSearchButton_; }
    QPushButton* combinationSearchButton() const { return combinationSearchButton_; }
    QLineEdit* rangeStartBox() const { return rangeStart_; }
    QLineEdit* rangeEndBox() const { return rangeEnd_; }
    QPushButton* backtestButton() const { return backtestButton_; }
    QCheckBox* backtestExcludeBox() const { return backtestExclude_; }
    BacktestSettings backtestSettings() const;
    // 记录本期预测, between 回测 and 检索.
    QPushButton* recordPickButton() const { return recordPickButton_; }
    // Where Tab goes: the combination options, the range, 检索, 组合检索, then the backtest.
    QList<QWidget*> focusOrder() const;
    // The two frames onto `page` (a widget with a layout) and the buttons in a row, 组合检索
    // among them; nullptr brings them back beside the buttons, stacked as before.
    void placeFramesOn(QWidget* page);

private:
    QGroupBox* comboFrame();
    QGroupBox* rangeFrame();
    // Under the range: how many newest draws the backtest tries, how many values of each
    // tally it holds and from which end (杀号: the last); the backtest starts from the same 起.
    QLayout* backtestRow(QGroupBox* frame);

    SearchPanelController& controller_;
    QGroupBox* comboFrame_ = nullptr;
    QGroupBox* rangeFrame_ = nullptr;
    QGridLayout* comboGrid_ = nullptr;  // where 组合检索 stands in its frame
    QHBoxLayout* framesRow_ = nullptr;
    QBoxLayout* buttons_ = nullptr;
    bool framesAway_ = false;
    QComboBox* combinationSizeCombo_ = nullptr;
    QPushButton* followSearchButton_ = nullptr;       // 检索
    QPushButton* combinationSearchButton_ = nullptr;  // 组合检索
    QLineEdit* rangeStart_ = nullptr;
    QLineEdit* rangeEnd_ = nullptr;
    QSpinBox* backtestTargets_ = nullptr;  // T
    QSpinBox* backtestTop_ = nullptr;      // K
    QCheckBox* backtestExclude_ = nullptr;
    QPushButton* backtestButton_ = nullptr;
    QPushButton* recordPickButton_ = nullptr;
};

}  // namespace drawfollow
