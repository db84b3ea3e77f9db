#include "cli/command_line.h"

#include "cli/argument_checks.h"
#include "drawfollow/version.h"

#include <iostream>

namespace drawfollow::cli {

int runCommandLine(int argc, char** argv, const std::function<void(CLI::App&, CliContext&)>& addCommands) {
    CLI::App app{"DrawFollow command line: keep the draw history and run follow searches"};
    app.set_version_flag("--version", std::string("drawfollow-cli ") + kVersion);
    app.require_subcommand(1);
    app.failure_message(argumentErrorMessage);
    CliContext context;
    app.add_option("--data-dir", context.dataDirOption,
                   "data folder (default: $DRAWFOLLOW_DATA_DIR, else the program's folder when writable, "
                   "else the per-user data folder)");
    addCommands(app, context);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e);
    } catch (const std::exception& e) {
        std::cerr << "错误：" << failureText(e) << '\n';
        return 1;
    }
    return 0;
}

}  // namespace drawfollow::cli
