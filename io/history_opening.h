// Opening the history for the commands, and the way back from a damaged file: the newest
// safety copy, restored over it.
#pragma once

#include "store/history_db.h"

#include <filesystem>
#include <memory>
#include <optional>

namespace drawfollow {

// Opens the history file of the data folder it lies in. A damaged file throws
// DamagedHistoryFile whose message names the newest safety copy and how to restore it (the
// window's 恢复备份, `drawfollow-cli restore ID`). An empty file beside safety copies is
// damaged too: a history was kept there and has been lost, and starting afresh would hide it.
std::unique_ptr<HistoryDb> openHistory(const std::filesystem::path& file);

struct RestoreTarget {
    std::unique_ptr<HistoryDb> db;
    std::optional<std::filesystem::path> setAside;  // where the damaged file went
};

// Opens the history for restoring `copy` over it. When the file is damaged it is moved
// aside first, with its journal, as "ZembraRAV-已损坏-<yyyyMMdd-hhmmss>.db", so that the restore
// fills an empty history and the damaged file stays for whoever wants to look into it.
// A copy that cannot be read throws StoreError before anything is moved.
RestoreTarget openForRestore(const std::filesystem::path& file, const std::filesystem::path& copy);

}  // namespace drawfollow
