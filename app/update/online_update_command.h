// The online update and the chart service's address. The pages are fetched on the window's thread
// without blocking it: a progress dialog names the year being fetched and the draws read
// so far, and its Cancel button stops the update, which then drops nothing. The history
// changes at the end, on a worker (WorkRunner) over a connection of its own. Every
// history change must stay switched off while it runs; runningChanged() tells the window when.
#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QProgressDialog;
class QWidget;

namespace drawfollow {

class WorkRunner;
class HistoryController;
class OnlineUpdate;
class UserDialogs;
struct UpdateWrite;

class OnlineUpdateCommand final : public QObject {
    Q_OBJECT

public:
    // `window` is the parent of the dialogs.
    OnlineUpdateCommand(HistoryController& controller, WorkRunner& runner, UserDialogs& dialogs, QWidget* window);

    bool running() const { return update_ != nullptr; }

    // Confirm, ask for the address when there is none, then update.
    void run();
    // Show the address and store what the user enters.
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
    // The pages have been read: the write, when there is one, then the report.
    void finish();
    // Writes on the worker, after the job that runs now (a search) when there is one.
    void write(const UpdateWrite& write);
    void report();

    HistoryController& controller_;
    WorkRunner& runner_;
    UserDialogs& dialogs_;
    QWidget* window_;
    OnlineUpdate* update_ = nullptr;  // a child while it runs
    QProgressDialog* progress_ = nullptr;
    int ordinal_ = 0;
    int yearsInAll_ = 0;
    int readInAll_ = 0;
};

}  // namespace drawfollow
