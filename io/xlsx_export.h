// Writing a grid of cell texts as a spreadsheet workbook.
#pragma once

#include "store/text_grid.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace drawfollow {

// The three grids a double click exports, and the names their workbooks are saved under
// in the data folder. The files hold the xlsx format; the names keep the ".xls" users
// have always found them under, which spreadsheet programs open all the same.
enum class ExportedGrid { History, Detail, Tally };

std::string_view spreadsheetFileName(ExportedGrid grid);  // "lishi.xls", "Jiansuo.xls", "Jieguo.xls"

// Grid cell (r, c) goes to cell (r + 1, c + 1) of the sheet "Sheet1". A cell whose text is a
// number written the way the number is shown (no leading zero, no trailing zero after the
// point) is stored as a number; every other text as a string; an empty text leaves the
// cell blank. The workbook replaces the target through replaceFile (a link's target when it
// is a symbolic link), so a failure leaves an existing file untouched. Throws StoreError
// with the reason.
void writeSpreadsheet(const TextGrid& grid, const std::filesystem::path& target);

// The value of a cell text that is stored as a number.
std::optional<double> spreadsheetNumber(std::string_view text);

}  // namespace drawfollow
