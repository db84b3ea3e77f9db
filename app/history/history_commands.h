// The commands that replace or cut the history: mnuClear, mnuDlzd, mnuEszhzd, the text
// import cmdRdLst and the restore of a safety copy mnuRestore, and the years the online
// update keeps (mnuSetDay). Each asks what the
// user wants, lets the controller do it and says what went wrong; what went right goes
// to the status bar.
#pragma once

#include "app/history/history_change.h"
#include "store/history_db.h"

#include <QObject>

#include <functional>

class QWidget;

namespace drawfollow {

class HistoryController;
class UserDialogs;

// Shows a command that failed, or did its work with a warning, in a message box; true
// when the command did its work.
bool reportChange(UserDialogs& dialogs, QWidget* window, const QString& title, const HistoryChange& change);

class HistoryCommands final : public QObject {
    Q_OBJECT

public:
    // `window` is the parent of the dialogs.
    HistoryCommands(HistoryController& controller, UserDialogs& dialogs, QWidget* window);

    void clearHistory();       // mnuClear
    void trimToIssue();        // mnuDlzd
    void deleteNewestCount();  // mnuEszhzd
    void setYearsToKeep();     // mnuSetDay
    void importText();         // cmdRdLst
    void restoreSafetyCopy();  // mnuRestore

signals:
    // What a command did, one line for the status bar.
    void done(const QString& summary);

private:
    // The answer of a "删除期数" box as an issue or a count; 0 (do nothing) when cancelled.
    int askTrimNumber(const QString& prompt, const QString& initial);
    void finish(const QString& title, const HistoryChange& change);
    // Replaces the history through `replace` under a progress dialog and reports the outcome.
    void replaceWithProgress(const QString& title, const QString& label,
                             const std::function<HistoryChange(const BatchProgress&)>& replace);

    HistoryController& controller_;
    UserDialogs& dialogs_;
    QWidget* window_;
};

}  // namespace drawfollow
