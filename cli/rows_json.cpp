#include "cli/rows_json.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace drawfollow::cli {

namespace {

nlohmann::json valueOf(const SQLite::Column& c) {
    if (c.isNull())
        return nullptr;
    if (c.isInteger())
        return c.getInt64();
    return c.getString();
}

}  // namespace

void writeRowsAsJson(HistoryDb& db, std::ostream& out) {
    bool first = true;
    db.forEachRowAsStored([&](const SQLite::Statement& fields) {
        out << (first ? "[\n {\n" : ",\n {\n");
        first = false;
        for (int i = 0; i < fields.getColumnCount(); ++i) {
            const SQLite::Column c = fields.getColumn(i);
            out << (i == 0 ? "  " : ",\n  ") << nlohmann::json(c.getName()).dump() << ": " << valueOf(c).dump();
        }
        out << "\n }";
    });
    out << (first ? "[]\n" : "\n]\n") << std::flush;
    if (!out)
        throw StoreError("无法写出历史号码：输出写入失败。");
}

}  // namespace drawfollow::cli
