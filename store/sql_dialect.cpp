#include "store/sql_dialect.h"

#include <sqlite3.h>

#include <cctype>
#include <stdexcept>

namespace drawfollow {

namespace {

bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

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

// Number of UTF-8 characters, counting every byte that does not continue a sequence.
int characterCount(const unsigned char* text, int bytes) {
    int n = 0;
    for (int i = 0; i < bytes; ++i)
        if ((text[i] & 0xC0) != 0x80)
            ++n;
    return n;
}

// Byte length of the first `chars` UTF-8 characters.
int prefixBytes(const unsigned char* text, int bytes, int chars) {
    int i = 0;
    for (int seen = 0; i < bytes; ++i) {
        if ((text[i] & 0xC0) != 0x80) {
            if (seen == chars)
                break;
            ++seen;
        }
    }
    return i;
}

void sqlLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = sqlite3_value_text(argv[0]);
    sqlite3_result_int(ctx, characterCount(text, sqlite3_value_bytes(argv[0])));
}

// A negative length (a list shorter than the cut) gives an empty text, which no
// pattern matches, instead of failing the whole statement.
void sqlLeft(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = sqlite3_value_text(argv[0]);
    const int bytes = sqlite3_value_bytes(argv[0]);
    const sqlite3_int64 chars = sqlite3_value_int64(argv[1]);
    if (chars <= 0) {
        sqlite3_result_text(ctx, "", 0, SQLITE_STATIC);
        return;
    }
    const int keep = prefixBytes(text, bytes, chars > bytes ? bytes : static_cast<int>(chars));
    sqlite3_result_text(ctx, reinterpret_cast<const char*>(text), keep, SQLITE_TRANSIENT);
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

}  // namespace drawfollow
