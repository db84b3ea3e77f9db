// Runs drawfollow-cli as a user would and captures what it prints.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

namespace drawfollow::test {

struct CliRun {
    int exitCode = -1;
    std::string output;  // standard output and standard error together
};

// `arguments` is appended to "drawfollow-cli --data-dir DIR" as shell words.
CliRun runCli(const std::filesystem::path& dataDir, const std::string& arguments);
// The same for the copy of drawfollow-cli (or a helper program) at `program`.
CliRun runProgram(const std::filesystem::path& program, const std::filesystem::path& dataDir,
                  const std::string& arguments);

// Starts drawfollow-cli without waiting for it, its output going to `output`.
pid_t startCli(const std::filesystem::path& dataDir, const std::vector<std::string>& arguments,
               const std::filesystem::path& output = "/dev/null");
// Waits for a started command; its exit status, -1 when it did not exit by itself.
int waitCli(pid_t pid);

}  // namespace drawfollow::test
