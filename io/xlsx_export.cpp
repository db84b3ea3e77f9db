#include "io/xlsx_export.h"

#include "io/replace_file.h"
#include "io/stderr_capture.h"
#include "store/history_db.h"

#include <xlsxwriter.h>

#include <cstdio>
#include <map>
#include <system_error>
#include <utility>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& p) {
    return "“" + p.string() + "”";
}

const char* sentenceOf(lxw_error error) {
    switch (error) {
        case LXW_ERROR_CREATING_XLSX_FILE:
            return "无法建立文件，文件夹不存在或没有写入权限";
        case LXW_ERROR_CREATING_TMPFILE:
            return "无法建立临时文件，临时文件夹不能写入或磁盘已满";
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
            return "表格的行数或列数超出电子表格的上限";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return "有单元格的文字超出电子表格的长度上限";
        case LXW_ERROR_MEMORY_MALLOC_FAILED:
            return "内存不足，请关闭其他程序后再试";
        case LXW_ERROR_ZIP_FILE_OPERATION:
        case LXW_ERROR_ZIP_PARAMETER_ERROR:
        case LXW_ERROR_ZIP_BAD_ZIP_FILE:
        case LXW_ERROR_ZIP_INTERNAL_ERROR:
        case LXW_ERROR_ZIP_FILE_ADD:
        case LXW_ERROR_ZIP_CLOSE:
            return "写入文件时出错，磁盘可能已满，请腾出磁盘空间后再试";
        default:
            return "电子表格库报告错误";
    }
}

// The library's own words, kept after ours: its printed lines without their "[ERROR]" mark.
std::string reasonOf(lxw_error error, const std::string& printed) {
    std::string detail = lxw_strerror(error);
    for (size_t start = 0; start < printed.size();) {
        size_t end = printed.find('\n', start);
        if (end == std::string::npos)
            end = printed.size();
        std::string line = printed.substr(start, end - start);
        for (const char* mark : {"[ERROR] ", "[ERROR]", "[WARNING]: ", "[WARNING] "})
            if (line.rfind(mark, 0) == 0)
                line.erase(0, std::string_view(mark).size());
        if (!line.empty())
            detail += " " + line;
        start = end + 1;
    }
    return std::string(sentenceOf(error)) + "（" + detail + "）";
}

// The library reads 0 as "no colour": black has a code of its own.
lxw_color_t libraryColour(uint32_t rgb) {
    rgb &= LXW_COLOR_MASK;
    return rgb == 0 ? static_cast<lxw_color_t>(LXW_COLOR_BLACK) : rgb;
}

// One format per pair of colours and number format, made when first needed: a sheet of
// thousands of coloured cells needs only a handful.
class CellFormats {
public:
    explicit CellFormats(lxw_workbook* workbook) : workbook_(workbook) {}

    // Null, the general format, for a cell without colours or number format.
    lxw_format* of(const CellColours& colours, const std::string& numberFormat = {}) {
        if (colours == CellColours{} && numberFormat.empty())
            return nullptr;
        Key key{colours, numberFormat};
        if (const auto known = formats_.find(key); known != formats_.end())
            return known->second;
        lxw_format* format = workbook_add_format(workbook_);
        // Without memory for a format the cell is still written, in the general format.
        if (!format)
            return nullptr;
        if (!numberFormat.empty())
            format_set_num_format(format, numberFormat.c_str());
        if (colours.fill)
            format_set_bg_color(format, libraryColour(*colours.fill));
        if (colours.font)
            format_set_font_color(format, libraryColour(*colours.font));
        formats_.emplace(std::move(key), format);
        return format;
    }

private:
    using Key = std::pair<CellColours, std::string>;

    lxw_workbook* workbook_;
    std::map<Key, lxw_format*> formats_;
};

// "0", "0.00", "0.000%": the number format that shows a value with `decimals` decimals.
std::string decimalsFormat(int decimals, bool percent) {
    std::string code = decimals == 0 ? "0" : "0." + std::string(static_cast<size_t>(decimals), '0');
    return percent ? code + "%" : code;
}

// Where the general format shows the figure exactly as the grid does ("7", "2.5"), it needs no
// number format; "2.70" and "3.0" do, and so does any figure past 15 digits or in exponent form.
bool generalShowsAsGrid(const GridCell& figure, const std::string& shown) {
    char general[32];
    std::snprintf(general, sizeof general, "%.15g", figure.value());
    return shown == general;
}

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const GridCell& cell,
                    const CellColours& colours, CellFormats& formats) {
    const std::string shown = cell.text();
    switch (cell.display()) {
        case GridCell::Display::Percent:
            return worksheet_write_number(sheet, row, col, cell.value() / 100,
                                          formats.of(colours, decimalsFormat(cell.decimals(), true)));
        case GridCell::Display::Whole:
        case GridCell::Display::Fixed:
            if (generalShowsAsGrid(cell, shown))
                return worksheet_write_number(sheet, row, col, cell.value(), formats.of(colours));
            if (cell.decimals() > 0)
                return worksheet_write_number(sheet, row, col, cell.value(),
                                              formats.of(colours, decimalsFormat(cell.decimals(), false)));
            break;  // a whole number too long for the general format stays as the grid shows it
        case GridCell::Display::Text:
            break;
    }
    return worksheet_write_string(sheet, row, col, shown.c_str(), formats.of(colours));
}

const CellColours& coloursAt(const ColourGrid& colours, size_t r, size_t c) {
    static const CellColours none;
    return r < colours.size() && c < colours[r].size() ? colours[r][c] : none;
}

// Fills the sheet row by row; the first failure ends the copy. Counts the rows asked for.
lxw_error copyCells(lxw_workbook* workbook, lxw_worksheet* sheet, const CellRows& rows, const ColourGrid& colours,
                    size_t& rowCount) {
    CellFormats formats(workbook);
    std::vector<GridCell> cells;
    for (size_t r = 0; rows(cells); ++r) {
        rowCount = r + 1;
        for (size_t c = 0; c < cells.size(); ++c) {
            const GridCell& cell = cells[c];
            const bool empty = cell == GridCell{};
            const CellColours& cellColours = coloursAt(colours, r, c);
            // A coloured cell is kept though empty: the colour is what it shows.
            if (empty && cellColours == CellColours{})
                continue;
            if (r >= LXW_ROW_MAX || c >= LXW_COL_MAX)
                return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            const lxw_error error = empty ? worksheet_write_blank(sheet, row, col, formats.of(cellColours))
                                          : writeCell(sheet, row, col, cell, cellColours, formats);
            if (error != LXW_NO_ERROR)
                return error;
        }
    }
    return LXW_NO_ERROR;
}

lxw_error addDataBars(lxw_worksheet* sheet, size_t rowCount, const std::vector<DataBarColumn>& bars) {
    if (rowCount < 2)
        return LXW_NO_ERROR;
    if (rowCount - 1 >= LXW_ROW_MAX)
        return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
    for (const DataBarColumn& bar : bars) {
        if (bar.column >= LXW_COL_MAX)
            return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
        lxw_conditional_format format{};
        format.type = LXW_CONDITIONAL_DATA_BAR;
        format.bar_color = libraryColour(bar.colour);
        format.bar_solid = LXW_TRUE;
        // From 0, not from the column's smallest value: a 0 shows no bar, as on screen.
        format.min_rule_type = LXW_CONDITIONAL_RULE_TYPE_NUMBER;
        format.min_value = 0;
        const auto col = static_cast<lxw_col_t>(bar.column);
        if (const lxw_error error =
                worksheet_conditional_format_range(sheet, 1, col, static_cast<lxw_row_t>(rowCount - 1), col, &format);
            error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}

}  // namespace

std::string_view spreadsheetFileName(ExportedGrid grid) {
    switch (grid) {
        case ExportedGrid::History:
            return "lishi.xlsx";
        case ExportedGrid::Detail:
            return "Jiansuo.xlsx";
        case ExportedGrid::Tally:
            return "Jieguo.xlsx";
    }
    return {};
}

void writeSpreadsheet(const CellGrid& grid, const fs::path& target, const ColourGrid& colours,
                      const std::vector<DataBarColumn>& bars, const fs::path& dataFolder) {
    size_t next = 0;
    const CellRows rows = [&grid, &next](std::vector<GridCell>& row) {
        if (next == grid.size())
            return false;
        row = grid[next++];
        return true;
    };
    writeSpreadsheet(rows, target, colours, bars, dataFolder);
}

size_t writeSpreadsheet(const CellRows& rows, const fs::path& target, const ColourGrid& colours,
                        const std::vector<DataBarColumn>& bars, const fs::path& dataFolder) {
    size_t rowCount = 0;
    const auto writeWorkbook = [&](const fs::path& temporary) {
        // Each row is written out as the next one starts, instead of the whole sheet being
        // held until the file is closed.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        lxw_workbook* workbook = workbook_new_opt(temporary.string().c_str(), &options);
        if (!workbook)
            throw StoreError("无法写入电子表格文件 " + quoted(target) + "：内存不足。");
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
        lxw_error copyError = LXW_ERROR_MEMORY_MALLOC_FAILED;
        try {
            if (sheet)
                copyError = copyCells(workbook, sheet, rows, colours, rowCount);
        } catch (...) {
            // The rows could not be made: the workbook is closed all the same, so that its
            // memory and temporary files go, and the half-written file is dropped.
            captureStandardError([&] { workbook_close(workbook); });
            throw;
        }
        if (copyError == LXW_NO_ERROR)
            copyError = addDataBars(sheet, rowCount, bars);
        // Closing writes the file and frees the workbook, so it runs after a failed copy too.
        // What the library prints on failing is said in the message instead.
        lxw_error closeError = LXW_NO_ERROR;
        const std::string printed = captureStandardError([&] { closeError = workbook_close(workbook); });
        if (copyError != LXW_NO_ERROR || closeError != LXW_NO_ERROR)
            throw StoreError("无法写入电子表格文件 " + quoted(target) + "：" +
                             reasonOf(copyError != LXW_NO_ERROR ? copyError : closeError, printed) + "。");
    };
    try {
        replaceFile(target, writeWorkbook, dataFolder);
    } catch (const std::system_error& e) {
        throw StoreError("无法替换电子表格文件 " + quoted(target) + "。" + failureText(e));
    }
    return rowCount;
}

}  // namespace drawfollow
