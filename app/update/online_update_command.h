// Command21 and the chart service's address. The update runs on the window's thread
// without blocking it: a progress dialog names the year being fetched and the draws read
// so far, and its Cancel button stops the update, which then drops nothing. Every history
// change must stay switched off while it runs; runningChanged() tells the window when.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QProgressDialog;
class QWidget;

namespace drawfollow {

class HistoryController;
class OnlineUpdate;
class UserDialogs;

class OnlineUpdateCommand final : public QObject {
    Q_OBJECT

public:
    // `window` is the parent of the dialogs.
    OnlineUpdateCommand(HistoryController& controller, UserDialogs& dialogs, QWidget* window);

    bool running() const { return update_ != nullptr; }

    // Command21: confirm, ask for the address when there is none, then update.
    void run();
    // mnuUpdateHost: show the address and store what the user enters.
    void editHost();

signals:
    void runningChanged(bool running);

private:
    // The address as the user enters it (empty to clear it); none when cancelled. An
    // address the update could not use is refused and asked for again.
    std::optional<QString> askHost(const QString& current);
    void showProgress();
    void showYearStarted(int year, int ordinal, int yearsInAll);
    void showYearRead(int year, int read, int readInAll);
    void finish();

    HistoryController& controller_;
    UserDialogs& dialogs_;
    QWidget* window_;
    OnlineUpdate* update_ = nullptr;  // a child while it runs
    QProgressDialog* progress_ = nullptr;
    int ordinal_ = 0;
    int yearsInAll_ = 0;
    int readInAll_ = 0;
};

}  // namespace drawfollow
