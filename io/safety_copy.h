// Safety copies: before a command deletes more than the newest draw, the whole history is
// written as a history text file to the "backups" folder of the data folder. Importing
// such a file brings the history back.
#pragma once

#include "store/history_db.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

namespace drawfollow {

inline constexpr const char* kSafetyCopyFolder = "backups";
inline constexpr size_t kSafetyCopiesKept = 20;

// The data folder is the folder the history database lives in.
std::filesystem::path dataFolderOf(const HistoryDb& db);

// Writes the history to "backups/历史号码备份-<yyyyMMdd-hhmmss-zzz>.txt" and removes all but
// the newest kept copies. Returns the file written, or nothing for an empty history.
// Throws StoreError when the copy cannot be written: the caller must then leave the
// history alone.
std::optional<std::filesystem::path> writeSafetyCopy(
    HistoryDb& db, std::chrono::system_clock::time_point when = std::chrono::system_clock::now());

// The safety copies in the folder, oldest first.
std::vector<std::filesystem::path> safetyCopies(const std::filesystem::path& dataFolder);

}  // namespace drawfollow
