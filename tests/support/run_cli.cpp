#include "support/run_cli.h"

#include "test_paths.h"

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace drawfollow::test {

CliRun runCli(const std::filesystem::path& dataDir, const std::string& arguments) {
    const std::string command =
        std::string(DRAWFOLLOW_CLI_PATH) + " --data-dir '" + dataDir.string() + "' " + arguments + " 2>&1";
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

}  // namespace drawfollow::test
