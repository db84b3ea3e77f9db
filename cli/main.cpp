#include "cli/command_line.h"
#include "cli/helper_program.h"
#include "cli/spreadsheet_export_command.h"
#include "cli/update_command.h"

int main(int argc, char** argv) {
    using namespace drawfollow::cli;
    return runCommandLine(argc, argv, [argc, argv](CLI::App& app, CliContext& context) {
        addHistoryCommands(app, context);
        addMaintenanceCommands(app, context);
        addSpreadsheetExportCommand(app, context, inHelperProgram(kSpreadsheetExportProgram, argc, argv));
        addBackupCommands(app, context);
        addUpdateCommand(app, context, inHelperProgram(kUpdateProgram, argc, argv));
        addSearchCommands(app, context);
        addBacktestCommand(app, context);
        addPicksCommand(app, context);
        addTrendCommands(app, context);
        addShapeCommand(app, context);
        addRederiveCommand(app, context);
    });
}
