#include "io/xlsx_export.h"

#include "io/replace_file.h"
#include "store/history_db.h"

#include <xlsxwriter.h>

#include <array>
#include <cctype>
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

constexpr int kMostPercentDecimals = 10;

// One percent format per number of decimals, made when first needed.
class PercentFormats {
public:
    explicit PercentFormats(lxw_workbook* workbook) : workbook_(workbook) {}

    lxw_format* withDecimals(int decimals) {
        lxw_format*& format = formats_.at(static_cast<size_t>(decimals));
        // Without memory for a format the number is still written, in the general format.
        if (!format && (format = workbook_add_format(workbook_))) {
            const std::string code =
                decimals == 0 ? "0%" : "0." + std::string(static_cast<size_t>(decimals), '0') + "%";
            format_set_num_format(format, code.c_str());
        }
        return format;
    }

private:
    lxw_workbook* workbook_;
    std::array<lxw_format*, kMostPercentDecimals + 1> formats_{};
};

lxw_error writeCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const std::string& text,
                    PercentFormats& percentFormats) {
    if (const auto number = spreadsheetNumber(text))
        return worksheet_write_number(sheet, row, col, *number, nullptr);
    if (const auto percent = spreadsheetPercent(text))
        return worksheet_write_number(sheet, row, col, percent->fraction,
                                      percentFormats.withDecimals(percent->decimals));
    return worksheet_write_string(sheet, row, col, text.c_str(), nullptr);
}

// Fills the sheet; the first failure ends the copy.
lxw_error copyCells(lxw_workbook* workbook, lxw_worksheet* sheet, const TextGrid& grid) {
    PercentFormats percentFormats(workbook);
    for (size_t r = 0; r < grid.size(); ++r) {
        for (size_t c = 0; c < grid[r].size(); ++c) {
            const std::string& text = grid[r][c];
            if (text.empty())
                continue;
            if (r >= LXW_ROW_MAX || c >= LXW_COL_MAX)
                return LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            const lxw_error error = writeCell(sheet, row, col, text, percentFormats);
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
            return "lishi.xlsx";
        case ExportedGrid::Detail:
            return "Jiansuo.xlsx";
        case ExportedGrid::Tally:
            return "Jieguo.xlsx";
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

std::optional<SpreadsheetPercent> spreadsheetPercent(std::string_view text) {
    if (text.size() < 2 || text.back() != '%')
        return std::nullopt;
    const std::string_view digits = text.substr(0, text.size() - 1);
    const size_t point = digits.find('.');
    const int decimals = point == std::string_view::npos ? 0 : static_cast<int>(digits.size() - point - 1);
    if (decimals > kMostPercentDecimals || !std::isdigit(static_cast<unsigned char>(digits.front())))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return std::nullopt;
    char shown[64];
    std::snprintf(shown, sizeof shown, "%.*f", decimals, value);
    if (digits != shown)
        return std::nullopt;
    return SpreadsheetPercent{value / 100, decimals};
}

void writeSpreadsheet(const TextGrid& grid, const fs::path& target) {
    const auto writeWorkbook = [&](const fs::path& temporary) {
        lxw_workbook* workbook = workbook_new(temporary.string().c_str());
        if (!workbook)
            throw StoreError("无法写入电子表格文件 " + quoted(target) + "：内存不足。");
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Sheet1");
        const lxw_error copyError = sheet ? copyCells(workbook, sheet, grid) : LXW_ERROR_MEMORY_MALLOC_FAILED;
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
