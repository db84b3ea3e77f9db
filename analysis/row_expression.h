// The values a search computes for each row of Lishi, and the expressions it computes them
// with: the conditions of the search statements, evaluated in memory with SQLite's meaning
// (NULL propagation, LIKE, the registered LEFT and LEN), so that one UPDATE only has to
// store the results.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow::search_steps {

// A field value as SQLite types it. A text points into the row being read or into the
// search's own buffers; it lives as long as the row is being evaluated.
struct RowValue {
    enum class Type { Null, Integer, Text };
    Type type = Type::Null;
    long long number = 0;
    std::string_view text;

    static RowValue null() { return {}; }
    static RowValue integer(long long n) { return {Type::Integer, n, {}}; }
    static RowValue textOf(std::string_view t) { return {Type::Text, 0, t}; }
    bool isNull() const { return type == Type::Null; }
};

// How a field is read: a list as text (NULL stays NULL), a value field as a number.
enum class FieldType { Text, Number };

// A field an expression reads, as numbered by the ScratchUpdate that reads it.
using FieldRef = size_t;

// One row's read fields, in FieldRef order, as the copies of the update leave them.
class RowView {
public:
    explicit RowView(const std::vector<RowValue>& values) : values_(values) {}
    RowValue operator[](FieldRef field) const { return values_[field]; }

private:
    const std::vector<RowValue>& values_;
};

struct RowExpression {
    // What the expression computes, built from its operation and its operands' keys: two
    // expressions with the same key give the same value for every row.
    std::string key;
    std::function<RowValue(const RowView&)> evaluate;
};

// `target` of row r takes the value `source` has in row r − back (rows in issue order).
// Where no row lies that far back, a text copy is empty and a number copy 0; a NULL text
// source stays NULL, a NULL number source becomes 0 (the value fields hold no NULL).
struct FieldCopy {
    std::string target;
    std::string source;
    int back = 1;
    FieldType type = FieldType::Text;
};

// What a copy gives a row with no row `back` rows before it.
inline RowValue copiedBeforeFirstRow(FieldType type) {
    return type == FieldType::Text ? RowValue::textOf("") : RowValue::integer(0);
}

// What a copy gives a row whose source row holds `source`: a NULL number becomes 0.
inline RowValue copiedSource(RowValue source, FieldType type) {
    return type == FieldType::Number && source.isNull() ? RowValue::integer(0) : source;
}

// A scratch field set to what the expression gives for the row.
struct FieldAssignment {
    std::string field;
    RowExpression expression;
};

}  // namespace drawfollow::search_steps
