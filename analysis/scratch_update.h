// One UPDATE over Lishi that brings the scratch fields a search reads up to date: copies of
// an earlier row's fields (the reference draw one or N rows back) and fields computed from
// the row as the copies leave it (the condition counter, the cut list, the set flag).
//
// Every value is computed in one read pass; the UPDATE then writes only the rows where some
// field changes, each once: rewriting a wide row costs far more than computing its values,
// and a search with a new gap rewrites every row.
#pragma once

#include "analysis/scratch_values.h"

#include <string>
#include <string_view>
#include <vector>

namespace drawfollow::search_steps {

class ScratchUpdate {
public:
    void copy(FieldCopy copy);
    // A field the expressions read, as the copies leave it: the FieldRef that stands for it.
    FieldRef read(const std::string& field, FieldType type);
    // The expression reads fields through read(); never a field another assignment writes.
    void assign(std::string field, RowExpression expression);

    // Stores the values and returns the issues of the rows whose assigned field `marker` holds
    // the whole number `value` after it, in issue order: the rows the search marked.
    std::vector<int> run(HistoryDb& db, std::string_view marker, long long value) const;

    const std::vector<FieldCopy>& copies() const { return copies_; }
    const std::vector<FieldRead>& reads() const { return reads_; }
    const std::vector<FieldAssignment>& assignments() const { return assignments_; }
    // Where the assignment to `marker` stands among the assignments.
    size_t assignmentOf(std::string_view marker) const;

private:
    std::vector<FieldCopy> copies_;
    std::vector<FieldRead> reads_;
    std::vector<FieldAssignment> assignments_;
};

}  // namespace drawfollow::search_steps
