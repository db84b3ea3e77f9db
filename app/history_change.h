// What a command that changes the history, or writes it out, tells the window.
#pragma once

#include <QString>

namespace drawfollow {

struct HistoryChange {
    // Why the command failed; the history is then exactly as it was before.
    QString problem;
    // The command did its work, but the user should know this (a file left uncompacted).
    QString warning;
    // What was done, for the status bar: how many draws, and where the safety copy is.
    QString summary;
    // The file the command wrote (the text export).
    QString file;

    bool failed() const { return !problem.isEmpty(); }
};

}  // namespace drawfollow
