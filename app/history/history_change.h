// What a command that changes the history, or writes it out, tells the window.
#pragma once

#include "app/shell/file_paths.h"

#include <QString>

#include <filesystem>
#include <optional>

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

// Where the history was saved before a change, and how to get it back; empty without a copy.
inline QString safetyCopyNote(const std::optional<std::filesystem::path>& copy) {
    if (!copy)
        return {};
    return QStringLiteral("原有的历史号码已备份到“%1”，可用“恢复备份”恢复。").arg(pathText(*copy));
}

}  // namespace drawfollow
