#include "support/sql_dialect.h"

#include "store/history_db.h"
#include "store/text_characters.h"

#include <sqlite3.h>

#include <cctype>
#include <stdexcept>

namespace drawfollow {

namespace {

bool isWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool startsWithLeftCall(std::string_view sql, size_t i) {
    constexpr std::string_view kLeft = "LEFT";
    if (i + kLeft.size() >= sql.size())
        return false;
    for (size_t j = 0; j < kLeft.size(); ++j)
        if (std::toupper(static_cast<unsigned char>(sql[i + j])) != kLeft[j])
            return false;
    if (i > 0 && (isWordChar(sql[i - 1]) || sql[i - 1] == '['))
        return false;
    return sql[i + kLeft.size()] == '(';
}

std::string_view valueText(sqlite3_value* value) {
    return {reinterpret_cast<const char*>(sqlite3_value_text(value)), static_cast<size_t>(sqlite3_value_bytes(value))};
}

void sqlLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, characterCount(valueText(argv[0])));
}

void sqlLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::string_view kept = leftCharacters(valueText(argv[0]), sqlite3_value_int64(argv[1]));
    sqlite3_result_text(ctx, kept.data(), static_cast<int>(kept.size()), SQLITE_TRANSIENT);
}

}  // namespace

std::string toSqlite(std::string_view sql) {
    std::string out;
    out.reserve(sql.size() + 8);
    for (size_t i = 0; i < sql.size(); ++i) {
        const char c = sql[i];
        if (c == '"') {
            const size_t end = sql.find('"', i + 1);
            if (end == std::string_view::npos)
                throw std::invalid_argument("unterminated quoted text in SQL: " + std::string(sql));
            out += '\'';
            for (char q : sql.substr(i + 1, end - i - 1)) {
                if (q == '*')
                    out += '%';
                else if (q == '\'')
                    out += "''";
                else
                    out += q;
            }
            out += '\'';
            i = end;
        } else if (startsWithLeftCall(sql, i)) {
            out += "[LEFT]";
            i += 3;
        } else {
            out += c;
        }
    }
    return out;
}

void registerTextFunctions(sqlite3* db) {
    constexpr int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    if (sqlite3_create_function_v2(db, "LEN", 1, flags, nullptr, sqlLen, nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_create_function_v2(db, "LEFT", 2, flags, nullptr, sqlLeft, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

int executeDialect(HistoryDb& db, std::string_view sql) {
    return db.connection().exec(toSqlite(sql));
}

}  // namespace drawfollow
