// Runs drawfollow-cli as a user would and captures what it prints.
#pragma once

#include <filesystem>
#include <string>

namespace drawfollow::test {

struct CliRun {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

// `arguments` is appended to "drawfollow-cli --data-dir DIR" as shell words.
CliRun runCli(const std::filesystem::path& dataDir, const std::string& arguments);

}  // namespace drawfollow::test
