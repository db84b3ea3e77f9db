// Writing a grid of cells as a spreadsheet workbook.
#pragma once

#include "store/grid_cell.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace drawfollow {

// The three grids a double click exports, and the names their workbooks are saved under
// in the data folder. The names end in ".xlsx" because the files hold that format: a
// spreadsheet program refuses, or warns about, an xlsx workbook named ".xls".
enum class ExportedGrid { History, Detail, Tally };

std::string_view spreadsheetFileName(ExportedGrid grid);  // "lishi.xlsx", "Jiansuo.xlsx", "Jieguo.xlsx"

// A cell's colours as 0xRRGGBB; an absent colour is the spreadsheet program's own.
struct CellColours {
    std::optional<uint32_t> fill;
    std::optional<uint32_t> font;
    friend bool operator==(const CellColours&, const CellColours&) = default;
    // clang-tidy 14 takes the defaulted comparison's literal 0 for a null pointer.
    friend auto operator<=>(const CellColours&, const CellColours&) = default;  // NOLINT(modernize-use-nullptr)
};

// The colours of a grid's cells, cell for cell; a row or cell beyond its end has none.
using ColourGrid = std::vector<std::vector<CellColours>>;

// A grid column whose cells below the header are drawn with a bar as long as their value
// against the column's largest (none at 0), in `colour` (0xRRGGBB): a spreadsheet data bar.
struct DataBarColumn {
    size_t column = 0;
    uint32_t colour = 0;
};

// Grid cell (r, c) goes to cell (r + 1, c + 1) of the sheet "Sheet1", coloured as `colours`
// says, and with a data bar in each of `bars`; cells that share their colours and number
// format share one format, so a long coloured sheet stays within the spreadsheet's few
// thousand formats. A figure is stored as a number: in the general format where that shows
// it as the grid does ("7", "2.5"), else with a number format of its own decimals ("2.70" as
// 2.7 in "0.00", "34.286%" as 0.34286 in "0.000%"); a text as a string; an empty text leaves
// the cell blank. The workbook replaces the target through replaceFile (a link's target when
// it is a symbolic link, unless it leads out of `dataFolder`), so a failure leaves an existing
// file untouched. Throws StoreError with the reason.
void writeSpreadsheet(const CellGrid& grid, const std::filesystem::path& target, const ColourGrid& colours = {},
                      const std::vector<DataBarColumn>& bars = {}, const std::filesystem::path& dataFolder = {});

// The same for rows produced as they are written: each row goes to the file before the next
// is asked for, so a sheet of any length needs the memory of one row. Returns the rows written.
size_t writeSpreadsheet(const CellRows& rows, const std::filesystem::path& target, const ColourGrid& colours = {},
                        const std::vector<DataBarColumn>& bars = {}, const std::filesystem::path& dataFolder = {});

}  // namespace drawfollow
