// The option frames of the search panel: positions (Frame1(0)), period
// (Frame1(1)), number group (Frame1(2)), search kind (Frame3), result kind (Frame4), tally
// scope (Frame6), combination (Frame5), issue range (Frame7) and the search button.
// Every choice is saved the moment it changes.
#pragma once

#include "store/draw.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace drawfollow {

class SearchPanelController;

class SearchOptions final : public QWidget {
    Q_OBJECT

public:
    explicit SearchOptions(SearchPanelController& controller, QWidget* parent = nullptr);

    QPushButton* followSearchButton() const { return followSearchButton_; }
    QPushButton* combinationSearchButton() const { return combinationSearchButton_; }
    QLineEdit* rangeStartBox() const { return rangeStart_; }
    QLineEdit* rangeEndBox() const { return rangeEnd_; }

private:
    QGroupBox* positionFrame();
    QGroupBox* periodFrame();
    QGroupBox* groupFrame();
    QGroupBox* kindFrame(const char* frame, const char* option, const QString& title, Kind selected,
                         void (SearchPanelController::*set)(Kind));
    QGroupBox* scopeFrame();
    QGroupBox* comboFrame();
    QGroupBox* rangeFrame();
    void applyGap();

    SearchPanelController& controller_;
    QRadioButton* fixed_ = nullptr;
    QRadioButton* free_ = nullptr;
    QCheckBox* countSpecialCheck_ = nullptr;  // Check2
    QLineEdit* gap_ = nullptr;
    QComboBox* combinationSizeCombo_ = nullptr;       // Combo1
    QPushButton* followSearchButton_ = nullptr;       // Command1
    QPushButton* combinationSearchButton_ = nullptr;  // Command2
    QLineEdit* rangeStart_ = nullptr;
    QLineEdit* rangeEnd_ = nullptr;
};

}  // namespace drawfollow
