// export-xlsx: a grid as a spreadsheet workbook. Declared here for drawfollow-cli; run by the
// helper program drawfollow-cli-export-xlsx (helper_program.h).
#pragma once

#include "cli/cli_context.h"

#include <functional>
#include <string>

namespace drawfollow::cli {

struct SpreadsheetExportOptions {
    std::string grid;
    std::string file;  // empty: the grid's file in the data folder
};

using SpreadsheetExportAction = std::function<void(CliContext&, const SpreadsheetExportOptions&)>;

void addSpreadsheetExportCommand(CLI::App& app, CliContext& context, SpreadsheetExportAction run);

}  // namespace drawfollow::cli
