#include "cli/spreadsheet_export_command.h"

#include "cli/argument_checks.h"

namespace drawfollow::cli {

void addSpreadsheetExportCommand(CLI::App& app, CliContext& context, SpreadsheetExportAction run) {
    auto options = std::make_shared<SpreadsheetExportOptions>();
    // The detail and tally grids come from a search; without one the history grid is the
    // grid there is to export.
    auto* exportXlsx = app.add_subcommand("export-xlsx", "write a grid as a spreadsheet workbook");
    exportXlsx->add_option("GRID", options->grid, "the grid to export")->required()->check(oneOf({"history"}));
    exportXlsx->add_option("FILE", options->file, "target file (default: lishi.xlsx in the data folder)");
    exportXlsx->callback([&context, options, run = std::move(run)] { run(context, *options); });
}

}  // namespace drawfollow::cli
