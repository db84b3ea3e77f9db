// One UPDATE over Lishi that brings the scratch fields a search reads up to date: copies of
// an earlier row's fields (the reference draw one or N rows back) and fields computed from
// the row as the copies leave it (the condition counter, the cut list).
//
// Only the rows where some field changes are written, each once: rewriting a wide row
// costs far more than evaluating the expressions twice, and a search with a new gap
// rewrites every row.
#pragma once

#include "analysis/copied_values.h"

#include <functional>
#include <string>
#include <vector>

namespace drawfollow::search_steps {

// How an expression reads a field of the row: "[intTh]", or what the update gives it.
using FieldValue = std::function<std::string(const std::string& field)>;
// An SQL expression over a row, in the history's dialect.
using RowExpression = std::function<std::string(const FieldValue& field)>;

// The stored fields: what every expression reads in a row the update leaves alone.
std::string storedField(const std::string& field);

class ScratchUpdate {
public:
    void copy(FieldCopy copy);
    // The expression reads the copied fields as the copies leave them, and the fields no
    // part of the update writes; never another assigned field.
    void assign(std::string field, RowExpression expression);

    void run(HistoryDb& db) const;

private:
    // "UPDATE [Lishi] SET … WHERE …": `value` reads the fields the rows are given,
    // `rowChanged` (may be empty) says the copies change the row.
    std::string statement(const FieldValue& value, const std::string& rowChanged) const;

    std::vector<FieldCopy> copies_;
    std::vector<std::pair<std::string, RowExpression>> assignments_;
};

}  // namespace drawfollow::search_steps
