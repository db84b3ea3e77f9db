// Writing a grid of cell texts as a spreadsheet workbook.
#pragma once

#include "store/text_grid.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
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

// The colours of a TextGrid's cells, cell for cell; a row or cell beyond its end has none.
using ColourGrid = std::vector<std::vector<CellColours>>;

// A grid column whose cells below the header are drawn with a bar as long as their value
// against the column's largest (none at 0), in `colour` (0xRRGGBB): a spreadsheet data bar.
struct DataBarColumn {
    size_t column = 0;
    uint32_t colour = 0;
};

// Grid cell (r, c) goes to cell (r + 1, c + 1) of the sheet "Sheet1", coloured as `colours`
// says, and with a data bar in each of `bars`; cells that share their colours share one
// format, so a long coloured sheet stays within the spreadsheet's few thousand formats. A cell whose text is a
// number written the way the number is shown (no leading zero, no trailing zero after the
// point) is stored as a number; a number with a fixed count of decimals ("2.70", "3.00") as
// its value with a number format of as many decimals; a percentage as the tally shows it
// ("34.286%") as its fraction with a percent format of as many decimals; every other text
// as a string; an empty text leaves the cell blank. The workbook replaces the target through
// replaceFile (a link's target when it is a symbolic link, unless it leads out of
// `dataFolder`), so a failure leaves an existing file untouched. Throws StoreError with the reason.
void writeSpreadsheet(const TextGrid& grid, const std::filesystem::path& target, const ColourGrid& colours = {},
                      const std::vector<DataBarColumn>& bars = {}, const std::filesystem::path& dataFolder = {});

// The same for rows produced as they are written: each row goes to the file before the next
// is asked for, so a sheet of any length needs the memory of one row. Returns the rows written.
size_t writeSpreadsheet(const GridRows& rows, const std::filesystem::path& target, const ColourGrid& colours = {},
                        const std::vector<DataBarColumn>& bars = {}, const std::filesystem::path& dataFolder = {});

// The value of a cell text that is stored as a number.
std::optional<double> spreadsheetNumber(std::string_view text);

struct SpreadsheetFixed {
    double value;  // 2.7 for "2.70"
    int decimals;  // shown after the point: 2 for "2.70"
};

// A cell text stored as a number with a fixed count of decimals: an optional minus, digits,
// a point and up to ten decimals, written the way the value is shown with those decimals
// ("02.5" and "1." stay text).
std::optional<SpreadsheetFixed> spreadsheetFixed(std::string_view text);

struct SpreadsheetPercent {
    double fraction;  // 0.34286 for "34.286%"
    int decimals;     // shown after the point: 3 for "34.286%"
};

// A cell text stored as a percentage: digits, optionally a point and up to ten decimals,
// then "%", written the way the value is shown with those decimals ("07%" stays text).
std::optional<SpreadsheetPercent> spreadsheetPercent(std::string_view text);

}  // namespace drawfollow
