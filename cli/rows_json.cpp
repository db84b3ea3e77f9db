#include "cli/rows_json.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <ostream>
#include <string>
#include <vector>

namespace drawfollow::cli {

namespace {

// Plain printable ASCII is written as it is: dump() would copy it unchanged.
bool needsEscaping(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x80 || c == '"' || c == '\\')
            return true;
    return false;
}

void appendValue(std::string& line, const SQLite::Column& c) {
    if (c.isNull()) {
        line += "null";
    } else if (c.isInteger()) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, c.getInt64()).ptr;
        line.append(digits, end);
    } else if (const std::string text = c.getString(); needsEscaping(text)) {
        line += nlohmann::json(text).dump();
    } else {
        line += '"';
        line += text;
        line += '"';
    }
}

}  // namespace

void writeRowsAsJson(HistoryDb& db, std::ostream& out) {
    std::vector<std::string> keys;  // each field's name as its member starts, alike in every row
    std::string row;
    db.forEachRowAsStored([&](const SQLite::Statement& fields) {
        row.assign(keys.empty() ? "[\n {\n" : ",\n {\n");
        if (keys.empty())
            for (int i = 0; i < fields.getColumnCount(); ++i)
                keys.push_back((i == 0 ? "  " : ",\n  ") + nlohmann::json(fields.getColumnName(i)).dump() + ": ");
        for (size_t i = 0; i < keys.size(); ++i) {
            row += keys[i];
            appendValue(row, fields.getColumn(static_cast<int>(i)));
        }
        row += "\n }";
        out << row;
    });
    out << (keys.empty() ? "[]\n" : "\n]\n") << std::flush;
    if (!out)
        throw StoreError("无法写出历史号码：输出写入失败。");
}

}  // namespace drawfollow::cli
