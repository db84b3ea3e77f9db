// The row below the option frames that runs a search: the combination frame (Frame5) with
// 组合检索, the issue range (Frame7) and 检索. It stays in sight when the frames above it
// scroll.
#pragma once

#include <QList>
#include <QWidget>

class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

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
    // Where Tab goes: the combination options, the range, 检索, then 组合检索.
    QList<QWidget*> focusOrder() const;

private:
    QGroupBox* comboFrame();
    QGroupBox* rangeFrame();

    SearchPanelController& controller_;
    QComboBox* combinationSizeCombo_ = nullptr;       // Combo1
    QPushButton* followSearchButton_ = nullptr;       // Command1
    QPushButton* combinationSearchButton_ = nullptr;  // Command2
    QLineEdit* rangeStart_ = nullptr;
    QLineEdit* rangeEnd_ = nullptr;
};

}  // namespace drawfollow
