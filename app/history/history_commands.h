// The commands that replace or cut the history: deleting the newest draw, clearing, cutting
// to an issue or by a count, the text import and the restore of a safety copy, and the
// years the online update keeps. Each asks what the user wants, has the change
// run off the window's thread (HistoryJobs) and says what went wrong; what went right goes
// to the status bar.
#pragma once

#include "app/history/history_change.h"

#include <QObject>

#include <functional>
#include <vector>

class QWidget;

namespace drawfollow {

class HistoryController;
class HistoryJobs;
class UserDialogs;
struct SafetyCopyListing;

// Shows a command that failed, or did its work with a warning, in a message box; true
// when the command did its work.
bool reportChange(UserDialogs& dialogs, QWidget* window, const QString& title, const HistoryChange& change);

class HistoryCommands final : public QObject {
    Q_OBJECT

public:
    // `window` is the parent of the dialogs.
    HistoryCommands(HistoryController& controller, HistoryJobs& jobs, UserDialogs& dialogs, QWidget* window);

    void deleteNewest();  // no confirmation: a safety copy is made
    void clearHistory();
    void trimToIssue();
    void deleteNewestCount();
    void setYearsToKeep();
    void importText();
    void restoreSafetyCopy();

signals:
    // What a command did, one line for the status bar.
    void done(const QString& summary);

private:
    // The answer of a "删除期数" box as an issue or a count; 0 (do nothing) when cancelled.
    int askTrimNumber(const QString& prompt, const QString& initial);
    // The choice of a safety copy, once the copies have been listed; restores the chosen one.
    void offerSafetyCopies(const QString& title, const std::vector<SafetyCopyListing>& copies);
    // Reports the outcome of the change named `title` once it has ended.
    std::function<void(const HistoryChange&)> finisher(const QString& title);

    HistoryController& controller_;
    HistoryJobs& jobs_;
    UserDialogs& dialogs_;
    QWidget* window_;
};

}  // namespace drawfollow
