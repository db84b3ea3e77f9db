#include "analysis/scratch_update.h"

#include <optional>

namespace drawfollow::search_steps {

std::string storedField(const std::string& field) {
    return "[" + field + "]";
}

void ScratchUpdate::copy(FieldCopy copy) {
    copies_.push_back(std::move(copy));
}

void ScratchUpdate::assign(std::string field, RowExpression expression) {
    assignments_.emplace_back(std::move(field), std::move(expression));
}

std::string ScratchUpdate::statement(const FieldValue& value, const std::string& rowChanged) const {
    std::string set, changed = rowChanged;
    if (!rowChanged.empty())
        for (size_t i = 0; i < copies_.size(); ++i)
            set += (set.empty() ? "" : ", ") + storedField(copies_[i].target) + "= " + value(copies_[i].target);
    for (const auto& [field, expression] : assignments_) {
        set += (set.empty() ? "" : ", ") + storedField(field) + "= " + expression(value);
        // A row whose copies do not change holds them already, so the test reads the stored fields.
        changed += (changed.empty() ? "" : " OR ") + storedField(field) + " IS NOT (" + expression(storedField) + ")";
    }
    return "UPDATE [Lishi] SET " + set + " WHERE " + changed;
}

void ScratchUpdate::run(HistoryDb& db) const {
    std::optional<CopiedValues> values;
    if (!copies_.empty())
        values.emplace(db, copies_);
    if (values && values->anyChanged()) {
        const FieldValue copiedOrStored = [this](const std::string& field) {
            for (size_t i = 0; i < copies_.size(); ++i)
                if (copies_[i].target == field)
                    return CopiedValues::valueExpression(i);
            return storedField(field);
        };
        values->registerFunctions();
        db.execute(statement(copiedOrStored, CopiedValues::changedExpression()));
    } else if (!assignments_.empty()) {
        db.execute(statement(storedField, {}));
    }
}

}  // namespace drawfollow::search_steps
