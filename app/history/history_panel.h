// The left side of the window: the history grid, the next issue with its prompt, the entry
// boxes and the history buttons.
#pragma once

#include <QList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace drawfollow {

class EntryRow;
class FlexGrid;
class HistoryModel;
class HistoryController;
class UserDialogs;

class HistoryPanel final : public QWidget {
    Q_OBJECT

public:
    HistoryPanel(HistoryController& controller, UserDialogs& dialogs, QWidget* parent = nullptr);

    FlexGrid* grid() const { return grid_; }
    QPushButton* deleteNewestButton() const { return deleteNewestButton_; }
    QPushButton* settingsButton() const { return settingsButton_; }
    QPushButton* onlineUpdateButton() const { return onlineUpdateButton_; }
    QPushButton* exportButton() const { return exportButton_; }
    QPushButton* importButton() const { return importButton_; }
    QPushButton* trendButton() const { return trendButton_; }

    // The hand entry and the buttons that change the history (delete the newest, import,
    // online update) together, so that none is forgotten while a long change runs.
    void setChangesEnabled(bool on);

    // Brings the newest draw into view, as after every refresh.
    void scrollToNewest();
    // Where Tab goes, in screen order: the grid, the issue, the eight boxes, the buttons.
    QList<QWidget*> focusOrder() const;

private:
    void storeEntry();
    void showNextIssue(int issue);

    HistoryController& controller_;
    UserDialogs& dialogs_;
    HistoryModel* model_;
    FlexGrid* grid_;
    QLabel* prompt_;
    QLineEdit* issueBox_;
    EntryRow* entry_;
    QPushButton* deleteNewestButton_;
    QPushButton* exportButton_;  // the history as a text file
    QPushButton* onlineUpdateButton_;
    QPushButton* importButton_;  // a history text file read in
    QPushButton* settingsButton_;
    QPushButton* trendButton_;  // opens the 走势图 window
};

}  // namespace drawfollow
