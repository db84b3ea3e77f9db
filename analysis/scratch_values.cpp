#include "analysis/scratch_values.h"

#include <SQLiteCpp/Exception.h>

#include <sqlite3.h>

#include <algorithm>
#include <optional>

namespace drawfollow::search_steps {

namespace {

constexpr const char* kValueFunction = "scratchValue";
constexpr const char* kChangedFunction = "scratchChanged";

using Type = RowValue::Type;

// A value kept for the whole update. A text is kept as its place in one of the shared
// buffers, so reading a long history costs no allocation per row.
struct Kept {
    Type type = Type::Null;
    long long number = 0;  // the number, or where the text starts in its buffer
    size_t bytes = 0;
};

std::string_view columnText(sqlite3_stmt* q, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(q, column));
    return {text, static_cast<size_t>(sqlite3_column_bytes(q, column))};
}

RowValue readColumn(sqlite3_stmt* q, int column, FieldType type) {
    if (sqlite3_column_type(q, column) == SQLITE_NULL)
        return RowValue::null();
    if (type == FieldType::Number)
        return RowValue::integer(sqlite3_column_int64(q, column));
    return RowValue::textOf(columnText(q, column));
}

// Whether the stored column holds the value, type included (as IS does).
bool holds(sqlite3_stmt* q, int column, const RowValue& v) {
    switch (sqlite3_column_type(q, column)) {
        case SQLITE_NULL:
            return v.type == Type::Null;
        case SQLITE_INTEGER:
            return v.type == Type::Integer && sqlite3_column_int64(q, column) == v.number;
        case SQLITE_TEXT:
            return v.type == Type::Text && columnText(q, column) == v.text;
        default:
            return false;
    }
}

}  // namespace

struct ScratchRows {
    std::vector<FieldCopy> copies;
    std::vector<sqlite3_int64> keys;       // SQQH in issue order
    std::vector<std::vector<Kept>> kept;   // [copy: its sources | assignment: its results][row]
    std::string sourceTexts, resultTexts;  // the texts of the copies' sources and of the results
    std::vector<char> changed;             // [row]
    bool anyChanged = false;
    size_t hint = 0;  // the row last asked for: the UPDATE asks in issue order, each row several times

    Kept keep(const RowValue& v, std::string& texts) {
        if (v.type != Type::Text)
            return {v.type, v.number, 0};
        const Kept k{Type::Text, static_cast<long long>(texts.size()), v.text.size()};
        texts += v.text;
        return k;
    }

    RowValue valueOf(const Kept& k, const std::string& texts) const {
        if (k.type != Type::Text)
            return {k.type, k.number, {}};
        return RowValue::textOf(std::string_view(texts).substr(static_cast<size_t>(k.number), k.bytes));
    }

    RowValue readSource(sqlite3_stmt* q, int column, FieldType type) const {
        return copiedSource(readColumn(q, column, type), type);
    }

    RowValue copied(size_t copy, size_t row) const {
        const FieldCopy& c = copies[copy];
        const auto back = static_cast<size_t>(c.back);
        if (row < back)
            return copiedBeforeFirstRow(c.type);
        return valueOf(kept[copy][row - back], sourceTexts);
    }

    // The copies first, then the assignments.
    RowValue value(size_t index, size_t row) const {
        if (index < copies.size())
            return copied(index, row);
        return valueOf(kept[index][row], resultTexts);
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

using SharedRows = std::shared_ptr<ScratchRows>;

ScratchRows& rowsOf(sqlite3_context* ctx) {
    return **static_cast<SharedRows*>(sqlite3_user_data(ctx));
}

void valueFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto& rows = rowsOf(ctx);
    const auto row = rows.rowOf(sqlite3_value_int64(argv[0]));
    const sqlite3_int64 index = sqlite3_value_int64(argv[1]);
    if (!row || index < 0 || index >= static_cast<sqlite3_int64>(rows.kept.size())) {
        sqlite3_result_error(ctx, "scratchValue: no value for this row", -1);
        return;
    }
    const RowValue v = rows.value(static_cast<size_t>(index), *row);
    if (v.type == Type::Integer)
        sqlite3_result_int64(ctx, v.number);
    else if (v.type == Type::Text)  // a null pointer would make the text NULL
        sqlite3_result_text(ctx, v.text.empty() ? "" : v.text.data(), static_cast<int>(v.text.size()), SQLITE_STATIC);
    else
        sqlite3_result_null(ctx);
}

void changedFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto& rows = rowsOf(ctx);
    const auto row = rows.rowOf(sqlite3_value_int64(argv[0]));
    if (!row) {
        sqlite3_result_error(ctx, "scratchChanged: no value for this row", -1);
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

// The columns of the read pass, after SQQH: each copy's source and stored target, each
// read field, each assigned field as stored.
class PassColumns {
public:
    PassColumns(const std::vector<FieldCopy>& copies, const std::vector<FieldRead>& reads,
                const std::vector<FieldAssignment>& assignments)
        : copies_(copies.size()), reads_(reads.size()) {
        sql_ = "SELECT SQQH";
        for (const FieldCopy& c : copies)
            sql_ += ", " + c.source + ", " + c.target;
        for (const FieldRead& r : reads)
            sql_ += ", " + r.field;
        for (const FieldAssignment& a : assignments)
            sql_ += ", " + a.field;
        sql_ += " FROM lishi ORDER BY SQQH";
    }

    const std::string& sql() const { return sql_; }
    int source(size_t copy) const { return static_cast<int>(1 + 2 * copy); }
    int storedTarget(size_t copy) const { return source(copy) + 1; }
    int read(size_t r) const { return static_cast<int>(1 + 2 * copies_ + r); }
    int storedAssigned(size_t a) const { return static_cast<int>(1 + 2 * copies_ + reads_ + a); }

private:
    size_t copies_, reads_;
    std::string sql_;
};

// For each read field, the copy that writes it, if any.
std::vector<std::optional<size_t>> copiesRead(const std::vector<FieldCopy>& copies,
                                              const std::vector<FieldRead>& reads) {
    std::vector<std::optional<size_t>> v;
    for (const FieldRead& r : reads) {
        const auto it =
            std::find_if(copies.begin(), copies.end(), [&r](const FieldCopy& c) { return c.target == r.field; });
        v.push_back(it == copies.end() ? std::nullopt : std::optional<size_t>(it - copies.begin()));
    }
    return v;
}

}  // namespace

ScratchValues::ScratchValues(HistoryDb& db, const std::vector<FieldCopy>& copies, const std::vector<FieldRead>& reads,
                             const std::vector<FieldAssignment>& assignments)
    : db_(db), rows_(std::make_shared<ScratchRows>()) {
    ScratchRows& rows = *rows_;
    rows.copies = copies;
    rows.kept.resize(copies.size() + assignments.size());
    const PassColumns columns(copies, reads, assignments);
    const auto readFromCopy = copiesRead(copies, reads);

    sqlite3* handle = db.connection().getHandle();
    sqlite3_stmt* raw = nullptr;
    if (const int rc = sqlite3_prepare_v2(handle, columns.sql().c_str(), -1, &raw, nullptr); rc != SQLITE_OK)
        throw SQLite::Exception(handle, rc);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> query(raw, sqlite3_finalize);
    std::vector<RowValue> fields(reads.size());
    std::vector<RowValue> results(assignments.size());
    int rc;
    for (size_t row = 0; (rc = sqlite3_step(raw)) == SQLITE_ROW; ++row) {
        rows.keys.push_back(sqlite3_column_int64(raw, 0));
        bool changed = false;
        for (size_t c = 0; c < copies.size(); ++c) {
            rows.kept[c].push_back(
                rows.keep(rows.readSource(raw, columns.source(c), copies[c].type), rows.sourceTexts));
            changed = changed || !holds(raw, columns.storedTarget(c), rows.copied(c, row));
        }
        // The source texts are all kept by now: views into them stay valid for this row.
        for (size_t r = 0; r < reads.size(); ++r)
            fields[r] =
                readFromCopy[r] ? rows.copied(*readFromCopy[r], row) : readColumn(raw, columns.read(r), reads[r].type);
        const RowView view(fields);
        for (size_t a = 0; a < assignments.size(); ++a) {
            results[a] = assignments[a].expression.evaluate(view);
            changed = changed || !holds(raw, columns.storedAssigned(a), results[a]);
        }
        for (size_t a = 0; a < assignments.size(); ++a)
            rows.kept[copies.size() + a].push_back(rows.keep(results[a], rows.resultTexts));
        rows.changed.push_back(changed);
        rows.anyChanged = rows.anyChanged || changed;
    }
    if (rc != SQLITE_DONE)
        throw SQLite::Exception(handle, rc);
}

ScratchValues::~ScratchValues() {
    if (!registered_)
        return;
    // Should a statement still run, the functions stay until the next search replaces
    // them; they hold their own reference to the rows.
    sqlite3* handle = db_.connection().getHandle();
    dropFunction(handle, kValueFunction, 2);
    dropFunction(handle, kChangedFunction, 1);
}

bool ScratchValues::anyChanged() const {
    return rows_->anyChanged;
}

std::vector<int> ScratchValues::issuesWhere(size_t assignment, long long value) const {
    const ScratchRows& rows = *rows_;
    const std::vector<Kept>& results = rows.kept.at(rows.copies.size() + assignment);
    std::vector<int> issues;
    for (size_t row = 0; row < results.size(); ++row)
        if (results[row].type == Type::Integer && results[row].number == value)
            issues.push_back(static_cast<int>(rows.keys[row]));
    return issues;
}

void ScratchValues::registerFunctions() {
    sqlite3* handle = db_.connection().getHandle();
    registered_ = true;
    createFunction(handle, kValueFunction, 2, valueFunction, rows_);
    createFunction(handle, kChangedFunction, 1, changedFunction, rows_);
}

std::string ScratchValues::valueExpression(size_t index) {
    return std::string(kValueFunction) + "(SQQH, " + std::to_string(index) + ")";
}

std::string ScratchValues::changedExpression() {
    return std::string(kChangedFunction) + "(SQQH)";
}

}  // namespace drawfollow::search_steps
