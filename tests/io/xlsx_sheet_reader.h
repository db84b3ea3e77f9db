// Reads back the first sheet of a workbook the way a spreadsheet program sees it.
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace drawfollow::test {

struct SheetCell {
    bool isNumber = false;
    std::string value;         // the number as stored, or the string itself
    std::string numberFormat;  // "General", "0.000%", ...
    std::string fill;          // a solid fill's colour as "FFRRGGBB", else empty
    std::string fontColour;    // "FFRRGGBB", empty for the default
};

// The text a spreadsheet program shows for the cell: a number with a format of fixed
// decimals ("0.00", "0.000%") with those decimals, any other cell as stored.
std::string shownText(const SheetCell& cell);

struct Sheet {
    std::string name;                        // of the first sheet in the workbook
    std::string dimension;                   // "A1:I101"
    std::map<std::string, SheetCell> cells;  // by reference, "B2"
    size_t cellFormats = 0;                  // the workbook's cell formats, the default one included
    // The data bars, by the range they cover ("D2:D31"): the bar's colour "FFRRGGBB" and its
    // smallest value's rule ("num 0", "min" ...).
    std::map<std::string, std::pair<std::string, std::string>> dataBars;
};

// Unpacks the workbook with unzip; an unreadable file gives an empty sheet.
Sheet readFirstSheet(const std::filesystem::path& workbook);

}  // namespace drawfollow::test
