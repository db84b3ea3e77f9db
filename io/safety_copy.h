// Safety copies: before a command deletes draws, the whole history is written as a history
// text file to the "backups" folder of the data folder, named after the moment and the
// command: "历史号码备份-<yyyyMMdd-hhmmss-zzz>-<command>.txt". Restoring one, or importing
// the file, brings that history back.
#pragma once

#include "store/history_db.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drawfollow {

inline constexpr const char* kSafetyCopyFolder = "backups";

// The command that made a safety copy.
enum class CopyCause { Clear, TrimTo, DeleteNewest, DeleteLast, Import, Restore, Update, Rederive };

// How the lists name the command: "清空历史号码" and so on; "—" for a copy that does not say.
std::string causeText(std::optional<CopyCause> cause);

// What a safety copy's name says.
struct SafetyCopy {
    std::filesystem::path file;
    std::string id;  // the time stamp in the name, "20260517-143005-123": unique in the folder
    std::chrono::system_clock::time_point made;
    std::optional<CopyCause> cause;  // none for a copy named before the command was recorded
};

// A copy as the lists show it, with what the file holds.
struct SafetyCopyListing {
    SafetyCopy copy;
    bool readable = false;  // the file reads as a history; the counts below are then meaningful
    size_t draws = 0;
    std::optional<int> newestIssue;
};

// The data folder is the folder the history database lives in.
std::filesystem::path dataFolderOf(const HistoryDb& db);

// Writes the draws as the newest safety copy and prunes the older ones
// (safety_copy_pruning.h); nothing for no draws. A command calls it inside its
// WriteTransaction with the history read there, so that the copy holds exactly what the
// command changes. Throws StoreError when the copy cannot be written: the caller must then
// leave the history alone.
std::optional<std::filesystem::path> writeSafetyCopy(
    const std::filesystem::path& dataFolder, std::span<const DrawInput> draws, CopyCause cause,
    std::chrono::system_clock::time_point when = std::chrono::system_clock::now());
// The same for the history stored in the database.
std::optional<std::filesystem::path> writeSafetyCopy(
    HistoryDb& db, CopyCause cause, std::chrono::system_clock::time_point when = std::chrono::system_clock::now());

// What the name of a safety copy says; none for a file that is not one.
std::optional<SafetyCopy> safetyCopyOf(const std::filesystem::path& file);

// The safety copies in the folder, oldest first.
std::vector<std::filesystem::path> safetyCopies(const std::filesystem::path& dataFolder);

// The safety copies newest first, each file read.
std::vector<SafetyCopyListing> listSafetyCopies(const std::filesystem::path& dataFolder);

// "2026-05-17 14:30:05" in local time.
std::string madeText(const SafetyCopy& copy);

}  // namespace drawfollow
