// The row below the option frames that runs a search: the combination frame (Frame5) with
// 组合检索, the issue range (Frame7), 检索, and the backtest of the panel's search with
// how many newest draws it tries and how many top values it holds. It stays in sight when
// the frames above it scroll.
#pragma once

#include "analysis/backtest.h"

#include <QList>
#include <QWidget>

class QComboBox;
class QGroupBox;
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
    QSpinBox* backtestTargetsBox() const { return backtestTargets_; }
    QSpinBox* backtestTopBox() const { return backtestTop_; }
    BacktestSettings backtestSettings() const;
    // Where Tab goes: the combination options, the range, 检索, 组合检索, then the backtest.
    QList<QWidget*> focusOrder() const;

private:
    QGroupBox* comboFrame();
    QGroupBox* rangeFrame();
    QGroupBox* backtestFrame();

    SearchPanelController& controller_;
    QComboBox* combinationSizeCombo_ = nullptr;       // Combo1
    QPushButton* followSearchButton_ = nullptr;       // Command1
    QPushButton* combinationSearchButton_ = nullptr;  // Command2
    QLineEdit* rangeStart_ = nullptr;
    QLineEdit* rangeEnd_ = nullptr;
    QSpinBox* backtestTargets_ = nullptr;  // T
    QSpinBox* backtestTop_ = nullptr;      // K
    QPushButton* backtestButton_ = nullptr;
};

}  // namespace drawfollow
