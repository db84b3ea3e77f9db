#include "io/xlsx_export.h"

#include "io/replace_file.h"
#include "store/history_db.h"

#include <xlsxwriter.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <system_error>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

std::string quoted(const fs::path& p) {
    return "“" + p.string() + "”";
}

std::string reasonOf(lxw_error error) {
    switch (error) {
        case LXW_ERROR_CREATING_XLSX_FILE:
        case LXW_ERROR_CREATING_TMPFILE:
            return "无法建立文件，文件夹不存在或没有写入权限";
        case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
            return "表格的行数或列数超出电子表格的上限";
        case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
            return "有单元格的文字超出电子表格的长度上限";
        default:
            return lxw_strerror(error);
    }
}

// Fills the sheet; the first failure ends the copy.
lxw_error copyCells(lxw_worksheet* sheet, const TextGrid& grid) {
    for (size_t r = 0; r < grid.size(); ++r) {
        for (size_t c = 0; c < grid[r].size(); ++c) {
            const std::string& text = grid[r][c];
            if (text.empty())
                continue;
            if (r >= LXW_ROW_MAX || c >= LXW_COL_MAX)
                return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            const auto number = spreadsheetNumber(text);
            const lxw_error error = number ? worksheet_write_number(sheet, row, col, *number, nullptr)
                                           : worksheet_write_string(sheet, row, col, text.c_str(), nullptr);
            if (error != LXW_NO_ERROR)
                return error;
        }
    }
    return LXW_NO_ERROR;
}

}  // namespace

std::string_view spreadsheetFileName(ExportedGrid grid) {
    switch (grid) {
        case ExportedGrid::History:
            return "lishi.xls";
        case ExportedGrid::Detail:
            return "Jiansuo.xls";
        case ExportedGrid::Tally:
            return "Jieguo.xls";
    }
    return {};
}

std::optional<double> spreadsheetNumber(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    // Only a text the spreadsheet shows unchanged becomes a number: "07" or "1e3" stay text.
    char shown[32];
    std::snprintf(shown, sizeof shown, "%.15g", value);
    if (text != shown)
        return std::nullopt;
    return value;
}

void writeSpreadsheet(const TextGrid& grid, const fs::path& target) {
    const auto writeWorkbook = [&](const fs::path& temporary) {
        lxw_workbook* workbook = workbook_new(temporary.string().c_str());
        if (!workbook)
            throw StoreError("无法写入电子表格文件 " + quoted(target) + "：内存不足。");
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
        const lxw_error copyError = sheet ? copyCells(sheet, grid) : LXW_ERROR_MEMORY_MALLOC_FAILED;
        // Closing writes the file and frees the workbook, so it runs after a failed copy too.
        const lxw_error closeError = workbook_close(workbook);
        if (copyError != LXW_NO_ERROR || closeError != LXW_NO_ERROR)
            throw StoreError("无法写入电子表格文件 " + quoted(target) + "：" +
                             reasonOf(copyError != LXW_NO_ERROR ? copyError : closeError) + "。");
    };
    try {
        replaceFile(target, writeWorkbook);
    } catch (const std::system_error& e) {
        throw StoreError("无法替换电子表格文件 " + quoted(target) + "，它可能正被其他程序打开。请关闭后再试。（" +
                         e.code().message() + "）");
    }
}

}  // namespace drawfollow
