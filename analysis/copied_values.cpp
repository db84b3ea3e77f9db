#include "analysis/copied_values.h"

#include <SQLiteCpp/Exception.h>

#include <sqlite3.h>

#include <algorithm>
#include <optional>

namespace drawfollow::search_steps {

namespace {

constexpr const char* kValueFunction = "scratchCopy";
constexpr const char* kChangedFunction = "scratchCopyChanged";

// A copied value as SQLite types it: SQLITE_INTEGER, SQLITE_TEXT or SQLITE_NULL. The
// texts of all rows share one buffer, so reading a long history costs no allocation per row.
struct Value {
    int type = SQLITE_NULL;
    sqlite3_int64 number = 0;  // the number, or where the text starts in the buffer
    int bytes = 0;
};

const Value kNoEarlierText{SQLITE_TEXT, 0, 0};
const Value kNoEarlierNumber{SQLITE_INTEGER, 0, 0};

std::string_view textColumn(sqlite3_stmt* q, int column) {
    return {reinterpret_cast<const char*>(sqlite3_column_text(q, column)),
            static_cast<size_t>(sqlite3_column_bytes(q, column))};
}

}  // namespace

struct CopiedRows {
    std::vector<FieldCopy> copies;
    std::vector<sqlite3_int64> keys;          // SQQH in issue order
    std::vector<std::vector<Value>> sources;  // [copy][row]
    std::string texts;
    std::vector<char> changed;  // [row]
    bool anyChanged = false;
    size_t hint = 0;  // the row last asked for: the UPDATE asks in issue order, each row several times

    // Numbers are read as integers, a NULL as 0 (the reference fields hold no NULL);
    // texts as texts, a NULL staying NULL.
    Value readSource(sqlite3_stmt* q, int column, CopiedType type) {
        if (type == CopiedType::Number)
            return {SQLITE_INTEGER, sqlite3_column_int64(q, column), 0};
        if (sqlite3_column_type(q, column) == SQLITE_NULL)
            return {};
        const std::string_view text = textColumn(q, column);
        const Value v{SQLITE_TEXT, static_cast<sqlite3_int64>(texts.size()), static_cast<int>(text.size())};
        texts += text;
        return v;
    }

    std::string_view text(const Value& v) const {
        return std::string_view(texts).substr(static_cast<size_t>(v.number), static_cast<size_t>(v.bytes));
    }

    bool holds(sqlite3_stmt* q, int column, const Value& v) const {
        if (sqlite3_column_type(q, column) != v.type)
            return false;
        switch (v.type) {
            case SQLITE_INTEGER:
                return sqlite3_column_int64(q, column) == v.number;
            case SQLITE_TEXT:
                return textColumn(q, column) == text(v);
            default:
                return true;
        }
    }

    const Value& value(size_t copy, size_t row) const {
        const FieldCopy& c = copies[copy];
        const size_t back = static_cast<size_t>(c.back);
        if (row < back)
            return c.type == CopiedType::Text ? kNoEarlierText : kNoEarlierNumber;
        return sources[copy][row - back];
    }

    std::optional<size_t> rowOf(sqlite3_int64 key) {
        if (hint < keys.size() && keys[hint] == key)
            return hint;
        if (hint + 1 < keys.size() && keys[hint + 1] == key)
            return ++hint;
        const auto it = std::lower_bound(keys.begin(), keys.end(), key);
        if (it == keys.end() || *it != key)
            return std::nullopt;
        hint = static_cast<size_t>(it - keys.begin());
        return hint;
    }
};

namespace {

using SharedRows = std::shared_ptr<CopiedRows>;

CopiedRows& rowsOf(sqlite3_context* ctx) {
    return **static_cast<SharedRows*>(sqlite3_user_data(ctx));
}

void valueFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto& rows = rowsOf(ctx);
    const auto row = rows.rowOf(sqlite3_value_int64(argv[0]));
    const sqlite3_int64 copy = sqlite3_value_int64(argv[1]);
    if (!row || copy < 0 || copy >= static_cast<sqlite3_int64>(rows.copies.size())) {
        sqlite3_result_error(ctx, "scratchCopy: no copied value for this row", -1);
        return;
    }
    const Value& v = rows.value(static_cast<size_t>(copy), *row);
    if (v.type == SQLITE_INTEGER)
        sqlite3_result_int64(ctx, v.number);
    else if (v.type == SQLITE_TEXT)
        sqlite3_result_text(ctx, rows.text(v).data(), v.bytes, SQLITE_STATIC);
    else
        sqlite3_result_null(ctx);
}

void changedFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto& rows = rowsOf(ctx);
    const auto row = rows.rowOf(sqlite3_value_int64(argv[0]));
    if (!row) {
        sqlite3_result_error(ctx, "scratchCopyChanged: no copied value for this row", -1);
        return;
    }
    sqlite3_result_int(ctx, rows.changed[*row]);
}

void releaseRows(void* p) {
    delete static_cast<SharedRows*>(p);
}

// SQLite keeps its own reference to the rows, so a function it could not drop never reads
// freed memory.
void createFunction(sqlite3* db, const char* name, int arguments,
                    void (*function)(sqlite3_context*, int, sqlite3_value**), const SharedRows& rows) {
    const int rc = sqlite3_create_function_v2(db, name, arguments, SQLITE_UTF8 | SQLITE_DIRECTONLY,
                                              new SharedRows(rows), function, nullptr, nullptr, releaseRows);
    if (rc != SQLITE_OK)
        throw SQLite::Exception(db, rc);
}

void dropFunction(sqlite3* db, const char* name, int arguments) {
    sqlite3_create_function_v2(db, name, arguments, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

CopiedValues::CopiedValues(HistoryDb& db, std::vector<FieldCopy> copies)
    : db_(db), rows_(std::make_shared<CopiedRows>()) {
    CopiedRows& rows = *rows_;
    rows.copies = std::move(copies);
    rows.sources.resize(rows.copies.size());
    std::string sql = "SELECT SQQH";
    for (const FieldCopy& c : rows.copies)
        sql += ", " + c.source + ", " + c.target;
    sql += " FROM lishi ORDER BY SQQH";

    sqlite3* handle = db.connection().getHandle();
    sqlite3_stmt* raw = nullptr;
    if (const int rc = sqlite3_prepare_v2(handle, sql.c_str(), -1, &raw, nullptr); rc != SQLITE_OK)
        throw SQLite::Exception(handle, rc);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> query(raw, sqlite3_finalize);
    int rc;
    for (size_t row = 0; (rc = sqlite3_step(raw)) == SQLITE_ROW; ++row) {
        rows.keys.push_back(sqlite3_column_int64(raw, 0));
        bool changed = false;
        for (size_t c = 0; c < rows.copies.size(); ++c) {
            const int column = static_cast<int>(1 + 2 * c);
            rows.sources[c].push_back(rows.readSource(raw, column, rows.copies[c].type));
            changed = changed || !rows.holds(raw, column + 1, rows.value(c, row));
        }
        rows.changed.push_back(changed);
        rows.anyChanged = rows.anyChanged || changed;
    }
    if (rc != SQLITE_DONE)
        throw SQLite::Exception(handle, rc);
}

CopiedValues::~CopiedValues() {
    if (!registered_)
        return;
    // Should a statement still run, the functions stay until the next search replaces
    // them; they hold their own reference to the rows.
    sqlite3* handle = db_.connection().getHandle();
    dropFunction(handle, kValueFunction, 2);
    dropFunction(handle, kChangedFunction, 1);
}

bool CopiedValues::anyChanged() const {
    return rows_->anyChanged;
}

void CopiedValues::registerFunctions() {
    sqlite3* handle = db_.connection().getHandle();
    registered_ = true;
    createFunction(handle, kValueFunction, 2, valueFunction, rows_);
    createFunction(handle, kChangedFunction, 1, changedFunction, rows_);
}

std::string CopiedValues::valueExpression(size_t index) {
    return std::string(kValueFunction) + "(SQQH, " + std::to_string(index) + ")";
}

std::string CopiedValues::changedExpression() {
    return std::string(kChangedFunction) + "(SQQH)";
}

}  // namespace drawfollow::search_steps
