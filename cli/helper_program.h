// The commands that need a library no other command should load at start-up (update: Qt
// Network and libxml2; export-xlsx: libxlsxwriter) are declared in drawfollow-cli, so that
// its help and its argument checks cover them, and run by a helper program of their own
// that drawfollow-cli hands its arguments to. A helper lives beside drawfollow-cli in the
// build tree, and in the helper folder (DRAWFOLLOW_HELPER_FOLDER, relative to the folder
// of drawfollow-cli) when installed.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace drawfollow::cli {

inline constexpr std::string_view kUpdateProgram = "drawfollow-cli-update";
inline constexpr std::string_view kSpreadsheetExportProgram = "drawfollow-cli-export-xlsx";

// Where a helper is looked for, in this order, for a drawfollow-cli in `programFolder`.
std::vector<std::filesystem::path> helperFolders(const std::filesystem::path& programFolder);

// Runs `program` in place of this process with this process's arguments (argv[1..]); the
// helper's exit status is the command's. Throws StoreError, which names the places looked
// in, when the helper is missing or cannot be started.
[[noreturn]] void runHelperProgram(std::string_view program, int argc, char** argv);

// A command's action that hands the command to `program`, whatever options it is given.
inline auto inHelperProgram(std::string_view program, int argc, char** argv) {
    return [program, argc, argv](auto&&...) { runHelperProgram(program, argc, argv); };
}

}  // namespace drawfollow::cli
