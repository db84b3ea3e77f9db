#include "analysis/search_fields.h"

#include "analysis/search_steps.h"
#include "store/draw_numbers.h"
#include "store/raw_query.h"
#include "store/text_characters.h"

#include <SQLiteCpp/Exception.h>

#include <sqlite3.h>

#include <algorithm>

namespace drawfollow {

namespace {

constexpr const char* kValueFunction = "scratchValue";
constexpr const char* kChangedFunction = "scratchChanged";

enum class Source { BackCountedList, BackPlainList, ReferenceValue, CutList, Counter, SetFlag };

struct Field {
    std::string name;
    Source source;
    int position = 0;  // ReferenceValue: 0-based
    bool isText() const {
        return source == Source::BackCountedList || source == Source::BackPlainList || source == Source::CutList;
    }
};

struct Value {
    long long number = 0;
    std::string text;
};

// The fields the search's statements write, and each one's value in any row.
class ScratchFields {
public:
    ScratchFields(const HistorySnapshot& history, const SearchInputs& inputs, const SearchMarking& marking)
        : history_(history),
          marking_(marking),
          kind_(inputs.searchKind),
          back_(inputs.previousIssue ? 1 : inputs.gap),
          countSpecial_(inputs.countSpecial) {
        using namespace search_steps;
        const bool combination = marking.combination();
        if (inputs.freePositions) {
            if (!inputs.previousIssue) {
                fields_.push_back({backListField(kind_), Source::BackCountedList});
                fields_.push_back({"txtHisPreLst", Source::BackPlainList});
            }
            if (combination || !inputs.countSpecial)
                fields_.push_back({"txtHisP6", Source::CutList});
        } else {
            const std::vector<int> positions =
                combination ? std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8} : tickedPositions(inputs);
            for (int p : positions)
                fields_.push_back({referenceField(p, kind_, inputs.previousIssue), Source::ReferenceValue, p - 1});
            if (!inputs.previousIssue)
                fields_.push_back({"txtHisPreLst", Source::BackPlainList});
        }
        if (marking.storesCounter())
            fields_.push_back({"intTh", Source::Counter});
        if (combination)
            fields_.push_back({"bolOk", Source::SetFlag});
        values_.resize(fields_.size());
        for (const Field& f : fields_) {
            needsCounted_ = needsCounted_ || f.source == Source::BackCountedList || f.source == Source::CutList;
            needsPlain_ = needsPlain_ || f.source == Source::BackPlainList;
            needsMark_ = needsMark_ || f.source == Source::Counter || f.source == Source::SetFlag;
        }
    }

    const std::vector<Field>& fields() const { return fields_; }

    // Everything the fields' values in every row depend on besides the stored history: the
    // fields, the marking's inputs and the rows the snapshot held.
    static std::string describe(const std::vector<Field>& fields, const HistorySnapshot& history,
                                const SearchInputs& in, bool combination) {
        std::string text = "fields";
        for (const Field& f : fields)
            text += ' ' + f.name;
        text += "; kind " + std::to_string(index(in.searchKind)) + (in.freePositions ? " free" : " fixed") +
                (in.previousIssue ? " previous" : " back " + std::to_string(in.gap)) +
                (in.countSpecial ? " special" : " no-special") + "; ticked ";
        for (const bool t : in.ticked)
            text += t ? '1' : '0';
        text += "; values";
        for (const int v : *in.values)
            text += ' ' + std::to_string(v);
        if (combination)
            text += "; combination " + std::to_string(in.combinationSize) +
                    (in.combinationRegularOnly ? " regular" : " all");
        text += "; rows " + std::to_string(history.size());
        if (history.size() > 0)
            text += ' ' + std::to_string(history.issues().front()) + ".." + std::to_string(history.issues().back());
        return text;
    }

    // The row's values in field order; kept until another row is asked for.
    const std::vector<Value>& valuesOf(size_t row) {
        if (row == cachedRow_)
            return values_;
        cachedRow_ = row;
        const DrawValues* listed = history_.listedDrawBefore(row, back_);
        const std::string counted = listed && needsCounted_ ? countedList(*listed, kind_) : std::string();
        const std::string plain = listed && needsPlain_ ? plainList(*listed) : std::string();
        const RowMark mark = needsMark_ ? marking_.mark(history_, row) : RowMark{};
        const auto at = static_cast<long long>(row) - back_;
        for (size_t f = 0; f < fields_.size(); ++f) {
            Value& v = values_[f];
            switch (fields_[f].source) {
                case Source::BackCountedList:
                    v.text = counted;
                    break;
                case Source::BackPlainList:
                    v.text = plain;
                    break;
                case Source::CutList:
                    v.text =
                        countSpecial_ ? counted : std::string(leftCharacters(counted, characterCount(counted) - 4));
                    break;
                case Source::ReferenceValue:
                    v.number =
                        at >= 0 ? history_.draws()[static_cast<size_t>(at)].own[index(kind_)][fields_[f].position] : 0;
                    break;
                case Source::Counter:
                    v.number = mark.counted;
                    break;
                case Source::SetFlag:
                    v.number = mark.marked ? 1 : 0;
                    break;
            }
        }
        return values_;
    }

private:
    const HistorySnapshot& history_;
    const SearchMarking& marking_;
    Kind kind_;
    int back_;
    bool countSpecial_;
    std::vector<Field> fields_;
    std::vector<Value> values_;
    bool needsCounted_ = false;
    bool needsPlain_ = false;
    bool needsMark_ = false;
    size_t cachedRow_ = static_cast<size_t>(-1);
};

// Whether the stored column holds the value, type included (as IS compares).
bool holds(sqlite3_stmt* q, int column, const Field& field, const Value& v) {
    const int type = sqlite3_column_type(q, column);
    if (field.isText()) {
        if (type != SQLITE_TEXT)
            return false;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(q, column));
        return std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(q, column))) == v.text;
    }
    return type == SQLITE_INTEGER && sqlite3_column_int64(q, column) == v.number;
}

// What the UPDATE's functions read: the rows that change, and their values.
struct UpdateRows {
    const std::vector<int>& issues;
    const std::vector<char>& changed;
    ScratchFields& fields;
    size_t hint = 0;  // the row last asked for: the UPDATE asks in issue order, each row several times

    std::optional<size_t> rowOf(sqlite3_int64 key) {
        if (hint < issues.size() && issues[hint] == key)
            return hint;
        const auto it = std::lower_bound(issues.begin(), issues.end(), key);
        if (it == issues.end() || *it != key)
            return std::nullopt;
        hint = static_cast<size_t>(it - issues.begin());
        return hint;
    }
};

UpdateRows& rowsOf(sqlite3_context* ctx) {
    return *static_cast<UpdateRows*>(sqlite3_user_data(ctx));
}

void valueFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    UpdateRows& rows = rowsOf(ctx);
    const auto row = rows.rowOf(sqlite3_value_int64(argv[0]));
    const sqlite3_int64 field = sqlite3_value_int64(argv[1]);
    if (!row || field < 0 || field >= static_cast<sqlite3_int64>(rows.fields.fields().size())) {
        sqlite3_result_error(ctx, "scratchValue: no value for this row", -1);
        return;
    }
    const Value& v = rows.fields.valuesOf(*row)[static_cast<size_t>(field)];
    if (rows.fields.fields()[static_cast<size_t>(field)].isText())
        sqlite3_result_text(ctx, v.text.c_str(), static_cast<int>(v.text.size()), SQLITE_TRANSIENT);
    else
        sqlite3_result_int64(ctx, v.number);
}

void changedFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    UpdateRows& rows = rowsOf(ctx);
    const auto row = rows.rowOf(sqlite3_value_int64(argv[0]));
    if (!row) {
        sqlite3_result_error(ctx, "scratchChanged: no value for this row", -1);
        return;
    }
    sqlite3_result_int(ctx, rows.changed[*row]);
}

// The two functions, registered for the one UPDATE and dropped after it, whatever happens.
class RegisteredFunctions {
public:
    RegisteredFunctions(sqlite3* db, UpdateRows& rows) : db_(db) {
        create(kValueFunction, 2, valueFunction, &rows);
        create(kChangedFunction, 1, changedFunction, &rows);
    }
    ~RegisteredFunctions() {
        sqlite3_create_function_v2(db_, kValueFunction, 2, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(db_, kChangedFunction, 1, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    RegisteredFunctions(const RegisteredFunctions&) = delete;
    RegisteredFunctions& operator=(const RegisteredFunctions&) = delete;

private:
    void create(const char* name, int arguments, void (*function)(sqlite3_context*, int, sqlite3_value**),
                UpdateRows* rows) {
        const int rc = sqlite3_create_function_v2(db_, name, arguments, SQLITE_UTF8 | SQLITE_DIRECTONLY, rows, function,
                                                  nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK)
            throw SQLite::Exception(db_, rc);
    }

    sqlite3* db_;
};

// One pass over the stored fields: which rows differ from what the search gives them. None
// when the table no longer holds the snapshot's rows.
std::optional<std::vector<char>> changedRows(HistoryDb& db, const HistorySnapshot& history, ScratchFields& fields) {
    std::string sql = "SELECT SQQH";
    for (const Field& f : fields.fields())
        sql += ", [" + f.name + "]";
    RawQuery query(db.connection(), sql + " FROM lishi ORDER BY SQQH");
    sqlite3_stmt* raw = query.get();
    std::vector<char> changed;
    changed.reserve(history.size());
    while (query.step()) {
        const size_t row = changed.size();
        if (row >= history.size() || sqlite3_column_int64(raw, 0) != history.issues()[row])
            return std::nullopt;
        const std::vector<Value>& values = fields.valuesOf(row);
        bool differs = false;
        for (size_t f = 0; f < values.size() && !differs; ++f)
            differs = !holds(raw, static_cast<int>(f + 1), fields.fields()[f], values[f]);
        changed.push_back(differs);
    }
    if (changed.size() != history.size())
        return std::nullopt;
    return changed;
}

}  // namespace

std::string keepSearchFields(HistoryDb& db, const HistorySnapshot& history, const SearchInputs& inputs,
                             const SearchMarking& marking, std::span<const TallyRow> tally) {
    try {
        WriteTransaction transaction(db);
        if (dataVersion(db) != history.version())
            return kFieldsNotStoredChanged;
        ScratchFields fields(history, inputs, marking);
        const std::string search = ScratchFields::describe(fields.fields(), history, inputs, marking.combination());
        // Any change of Lishi since the record was made empties it: every row still holds them.
        if (keptSearchFields(db.connection()) != search) {
            const auto changed = changedRows(db, history, fields);
            if (!changed)
                return kFieldsNotStoredChanged;
            if (std::find(changed->begin(), changed->end(), 1) != changed->end()) {
                std::string set;
                for (size_t f = 0; f < fields.fields().size(); ++f)
                    set += (set.empty() ? "[" : ", [") + fields.fields()[f].name + "]= " + kValueFunction + "(SQQH, " +
                           std::to_string(f) + ")";
                UpdateRows rows{history.issues(), *changed, fields};
                const RegisteredFunctions functions(db.connection().getHandle(), rows);
                db.connection().exec("UPDATE [Lishi] SET " + set + " WHERE " + kChangedFunction + "(SQQH)");
            }
            recordKeptSearchFields(db.connection(), search);
        }
        db.storeTally(tally);
        transaction.commit();
        return {};
    } catch (const std::exception& e) {
        if (isReadOnlyHistory(e))
            return kFieldsNotStoredReadOnly;
        throw;
    }
}

}  // namespace drawfollow
