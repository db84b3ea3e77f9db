// The temporary files ("<name>.part", replace_file.h) that a program killed while it
// replaced a file left in the data folder.
#pragma once

#include <chrono>
#include <filesystem>

namespace drawfollow {

// A file being written now is written to all the time; one untouched for this long was
// left by a program that no longer writes it.
inline constexpr std::chrono::minutes kLeftoverPartAge{2};

// Removes the regular files named "*.part" in the data folder and in its safety copy
// folder that nobody has written to for kLeftoverPartAge (a younger one may belong to
// another program writing it right now). Links and folders of that name are left alone,
// and so is a file that cannot be removed: tidying never stops a start.
// Returns how many files were removed.
size_t removeLeftoverParts(const std::filesystem::path& dataFolder,
                           std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now());

}  // namespace drawfollow
