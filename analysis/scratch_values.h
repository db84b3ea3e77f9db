// What one search update gives every row of Lishi, computed in one read pass over the
// table in issue order, and the SQL functions through which the UPDATE statement stores it.
//
// Evaluating the conditions here costs a fraction of what SQLite's LIKE costs, and the
// UPDATE then touches only the rows where some value changes, each once. Storing row by
// row would cost a statement step per row, and a window function for the copies more than
// the copies themselves; a function the UPDATE calls hands each row its values at the price
// of a lookup.
#pragma once

#include "analysis/row_expression.h"
#include "store/history_db.h"

#include <memory>
#include <string>
#include <vector>

namespace drawfollow::search_steps {

// A field the expressions read: its copy where the update copies into it, else as stored.
struct FieldRead {
    std::string field;
    FieldType type = FieldType::Text;
};

struct ScratchRows;

class ScratchValues {
public:
    // Reads every row and computes its copies and assigned fields. The expressions read the
    // fields in `reads` order (FieldRef), never a field an assignment writes.
    ScratchValues(HistoryDb& db, const std::vector<FieldCopy>& copies, const std::vector<FieldRead>& reads,
                  const std::vector<FieldAssignment>& assignments);
    ~ScratchValues();
    ScratchValues(const ScratchValues&) = delete;
    ScratchValues& operator=(const ScratchValues&) = delete;

    // Whether some row holds a field that differs from what the update gives it.
    bool anyChanged() const;
    // The issues of the rows whose assigned field `assignment` (in assignment order) gets
    // the whole number `value`, in issue order.
    std::vector<int> issuesWhere(size_t assignment, long long value) const;

    // While this object lives, the SQL expressions below can be used on Lishi's rows.
    // Registering fails when a statement of the connection is still running.
    void registerFunctions();
    // The value the update gives the row's field `index`: the copies in their order, then
    // the assignments. "scratchValue(SQQH, index)".
    static std::string valueExpression(size_t index);
    // 1 for a row where some field changes, else 0.
    static std::string changedExpression();

private:
    HistoryDb& db_;
    std::shared_ptr<ScratchRows> rows_;
    bool registered_ = false;
};

}  // namespace drawfollow::search_steps
