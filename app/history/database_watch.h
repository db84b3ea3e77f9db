// The window and drawfollow-cli may share a data folder: when another program commits a
// change of the history (a draw added, a trim, an import, rows derived again), the window
// reads the history afresh and says so, instead of showing and searching a stale copy.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

#include <filesystem>
#include <functional>

namespace drawfollow {

class HistoryController;

class DatabaseWatch final : public QObject {
    Q_OBJECT

public:
    // `busy`: whether work of this window that changes the history is under way; its own
    // end reads the history afresh, so a write noticed meanwhile is looked at afterwards.
    DatabaseWatch(HistoryController& history, std::function<bool()> busy, QObject* parent = nullptr);

    // This window's work has ended: a write noticed while it ran is looked at now.
    void workEnded();

signals:
    // The history was read afresh after another program's change: what to tell the user.
    void reloaded(const QString& note);

private:
    void watchFile();
    void lookAtFile();

    HistoryController& history_;
    std::function<bool()> busy_;
    std::filesystem::path file_;
    QFileSystemWatcher watcher_;
    QTimer settle_;  // a commit writes the file several times: looked at once they are over
    bool due_ = false;
};

}  // namespace drawfollow
