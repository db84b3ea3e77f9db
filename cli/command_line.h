// The one start of every drawfollow program on the command line: drawfollow-cli and the
// helper programs that run the commands needing heavier libraries (helper_program.h).
#pragma once

#include "cli/cli_context.h"

#include <CLI/CLI.hpp>

#include <functional>

namespace drawfollow::cli {

// Reads the arguments with the commands `addCommands` registers and runs the chosen one;
// a failure is printed in Chinese. Returns the exit status.
int runCommandLine(int argc, char** argv, const std::function<void(CLI::App&, CliContext&)>& addCommands);

}  // namespace drawfollow::cli
