// The position tabs of the search panel: the latest draw's values, hand-typed values, and
// the base draw of a verified issue with its issue box and 仅检索该期前 — each with its
// eight position switches.
#pragma once

#include "store/draw.h"

#include <QList>
#include <QWidget>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace drawfollow {

class SearchPanelController;

class PositionTabs final : public QWidget {
    Q_OBJECT

public:
    explicit PositionTabs(SearchPanelController& controller, QWidget* parent = nullptr);

    // The switches of the tab that supplies the values.
    std::array<bool, kPositions> activeSwitches() const;
    // Puts `value` into the first empty box of the manual tab and shows that tab; false,
    // changing nothing, when all eight boxes are filled.
    bool addManualValue(int value);
    // Where Tab goes: the tabs, then the panels' switches and boxes.
    QList<QWidget*> focusOrder() const;

private:
    QWidget* historyFrame();
    QWidget* manualFrame();
    QWidget* verifyFrame();
    void showValues();

    SearchPanelController& controller_;
    QTabWidget* tabs_;
    std::array<QCheckBox*, kPositions> historySwitches_{};
    std::array<QLineEdit*, kPositions> historyValues_{};
    std::array<QLineEdit*, kPositions> manualValues_{};
    std::array<QCheckBox*, kPositions> manualSwitches_{};
    std::array<QCheckBox*, kPositions> verifySwitches_{};
    std::array<QLineEdit*, kPositions> verifyValues_{};
    QLabel* historyNote_ = nullptr;
    QLabel* verifyNote_ = nullptr;
    QLineEdit* verifyIssueEdit_ = nullptr;
    QCheckBox* limitBeforeVerifyCheck_ = nullptr;  // 仅检索该期前
};

}  // namespace drawfollow
