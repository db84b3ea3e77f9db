#include "cli/argument_checks.h"
#include "cli/cli_context.h"
#include "drawfollow/version.h"

#include <iostream>

int main(int argc, char** argv) {
    using namespace drawfollow;
    CLI::App app{"DrawFollow command line: keep the draw history and run follow searches"};
    app.set_version_flag("--version", std::string("drawfollow-cli ") + kVersion);
    app.require_subcommand(1);
    app.failure_message(cli::argumentErrorMessage);
    cli::CliContext context;
    app.add_option("--data-dir", context.dataDirOption,
                   "data folder (default: $DRAWFOLLOW_DATA_DIR, else the program's folder when writable, "
                   "else the per-user data folder)");
    cli::addHistoryCommands(app, context);
    cli::addMaintenanceCommands(app, context);
    cli::addBackupCommands(app, context);
    cli::addUpdateCommand(app, context);
    cli::addSearchCommands(app, context);
    cli::addRederiveCommand(app, context);
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
