// TabStrip1 of the search panel: the three position panels Frame2(0..2) — the latest
// draw's values, hand-typed values, and the base draw of a verified issue
// with Text4 and Check4 — each with its eight position switches.
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

    // The switches of the panel that supplies the values (Check11 in the manual
    // tab, otherwise Check1(1..8) or Check1(11..18)).
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
    QLineEdit* verifyIssueEdit_ = nullptr;         // Text4
    QCheckBox* limitBeforeVerifyCheck_ = nullptr;  // Check4
};

}  // namespace drawfollow
