#include "analysis/scratch_update.h"

#include <algorithm>
#include <stdexcept>

namespace drawfollow::search_steps {

void ScratchUpdate::copy(FieldCopy copy) {
    copies_.push_back(std::move(copy));
}

FieldRef ScratchUpdate::read(const std::string& field, FieldType type) {
    const auto it =
        std::find_if(reads_.begin(), reads_.end(), [&field](const FieldRead& r) { return r.field == field; });
    if (it != reads_.end())
        return static_cast<FieldRef>(it - reads_.begin());
    reads_.push_back({field, type});
    return reads_.size() - 1;
}

void ScratchUpdate::assign(std::string field, RowExpression expression) {
    assignments_.push_back({std::move(field), std::move(expression)});
}

size_t ScratchUpdate::assignmentOf(std::string_view marker) const {
    const auto it = std::find_if(assignments_.begin(), assignments_.end(),
                                 [marker](const FieldAssignment& a) { return a.field == marker; });
    if (it == assignments_.end())
        throw std::logic_error("no assignment to the marking field " + std::string(marker));
    return static_cast<size_t>(it - assignments_.begin());
}

std::vector<int> ScratchUpdate::run(HistoryDb& db, std::string_view marker, long long value) const {
    const size_t markerAssignment = assignmentOf(marker);
    ScratchValues values(db, copies_, reads_, assignments_);
    std::vector<int> marked = values.issuesWhere(markerAssignment, value);
    if (!values.anyChanged())
        return marked;
    std::string set;
    size_t index = 0;
    for (const FieldCopy& c : copies_)
        set += (set.empty() ? "[" : ", [") + c.target + "]= " + ScratchValues::valueExpression(index++);
    for (const FieldAssignment& a : assignments_)
        set += (set.empty() ? "[" : ", [") + a.field + "]= " + ScratchValues::valueExpression(index++);
    values.registerFunctions();
    db.execute("UPDATE [Lishi] SET " + set + " WHERE " + ScratchValues::changedExpression());
    return marked;
}

}  // namespace drawfollow::search_steps
