#include "support/run_cli.h"

#include "test_paths.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <array>
#include <cstdio>

namespace drawfollow::test {

CliRun runCli(const std::filesystem::path& dataDir, const std::string& arguments) {
    return runProgram(DRAWFOLLOW_CLI_PATH, dataDir, arguments);
}

CliRun runProgram(const std::filesystem::path& program, const std::filesystem::path& dataDir,
                  const std::string& arguments) {
    const std::string command =
        "'" + program.string() + "' --data-dir '" + dataDir.string() + "' " + arguments + " 2>&1";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return run;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        run.output.append(buf.data(), n);
    const int status = pclose(pipe);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

pid_t startCli(const std::filesystem::path& dataDir, const std::vector<std::string>& arguments,
               const std::filesystem::path& output) {
    std::vector<std::string> words{DRAWFOLLOW_CLI_PATH, "--data-dir", dataDir.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const pid_t pid = fork();
    if (pid == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        std::vector<char*> argv;
        for (auto& w : words)
            argv.push_back(w.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

int waitCli(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace drawfollow::test
