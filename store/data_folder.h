// Where the history database and the exported files live.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace drawfollow {

inline constexpr const char* kDataDirEnv = "DRAWFOLLOW_DATA_DIR";

// The folder the running program was started from.
std::filesystem::path programDirectory();
// The per-user data folder ($XDG_DATA_HOME/DrawFollow, or ~/.local/share/DrawFollow).
std::filesystem::path userDataDirectory();

// Whether `folder` is one the programs are installed to (a bin/ with the command line's helper
// folder beside it, or that helper folder): a history there would belong to whoever ran the
// program first with write access (root), and the programs would each see a different one.
bool isInstalledProgramFolder(const std::filesystem::path& folder);

// Why `folder` is not the user's own, or empty when it is: it belongs to another user, or
// another user may write to it (and so plant a link or swap a file there).
std::string foreignFolderReason(const std::filesystem::path& folder);

// The data folder: the explicit choice (--data-dir), else the environment variable,
// else the program's folder when it is the user's own, writable and not an installed program
// folder (a program copied to a folder of its own, or run from the build tree), else the per-user
// folder. The folder is created when missing (the shared temporary folder's fallback for the
// user alone); throws std::filesystem::filesystem_error when it cannot be, and StoreError,
// pointing to --data-dir, when it is not the user's own.
std::filesystem::path resolveDataFolder(const std::optional<std::filesystem::path>& explicitChoice);

}  // namespace drawfollow
