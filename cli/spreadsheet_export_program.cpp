// drawfollow-cli-export-xlsx: runs `drawfollow-cli export-xlsx`, the one command that loads
// libxlsxwriter.
#include "cli/command_line.h"
#include "cli/spreadsheet_export_command.h"

#include "io/history_grid.h"
#include "io/xlsx_export.h"

#include <iostream>

namespace drawfollow::cli {

namespace {

void exportSpreadsheet(CliContext& context, const SpreadsheetExportOptions& options) {
    const std::filesystem::path target = options.file.empty()
                                             ? context.dataFolder() / spreadsheetFileName(ExportedGrid::History)
                                             : std::filesystem::path(options.file);
    const std::vector<DrawInput> draws = context.db().draws();
    const size_t rows = writeSpreadsheet(historyGridRows(draws), target, {}, {}, context.dataFolder());
    std::cout << "已将 " << rows << " 行写入 " << target.string() << '\n';
}

}  // namespace

}  // namespace drawfollow::cli

int main(int argc, char** argv) {
    using namespace drawfollow::cli;
    return runCommandLine(argc, argv, [](CLI::App& app, CliContext& context) {
        addSpreadsheetExportCommand(app, context, exportSpreadsheet);
    });
}
