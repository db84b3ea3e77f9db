#include "analysis/scratch_update.h"

#include <algorithm>

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

void ScratchUpdate::run(HistoryDb& db) const {
    if (copies_.empty() && assignments_.empty())
        return;
    ScratchValues values(db, copies_, reads_, assignments_);
    if (!values.anyChanged())
        return;
    std::string set;
    size_t index = 0;
    for (const FieldCopy& c : copies_)
        set += (set.empty() ? "[" : ", [") + c.target + "]= " + ScratchValues::valueExpression(index++);
    for (const FieldAssignment& a : assignments_)
        set += (set.empty() ? "[" : ", [") + a.field + "]= " + ScratchValues::valueExpression(index++);
    values.registerFunctions();
    db.execute("UPDATE [Lishi] SET " + set + " WHERE " + ScratchValues::changedExpression());
}

}  // namespace drawfollow::search_steps
