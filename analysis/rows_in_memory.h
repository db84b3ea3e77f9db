// The stored rows a search reads, read once and held in memory, so that the search can be
// run on them again and again (other base values, other ranges) without writing anything:
// its marking is evaluated as the stored search evaluates it, over these rows.
#pragma once

#include "analysis/search_steps.h"
#include "store/draw_row.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace drawfollow {

class RowsInMemory {
public:
    // One read of every stored row: its issue, its own values of every kind and the fields
    // `layout` copies and reads. The marking of any inputs with the same settings (kind,
    // free or fixed, 上期 or 前期 and gap, 自由位计特码, ticked positions or combination pool)
    // reads the same fields; only the base values and the range differ.
    RowsInMemory(HistoryDb& db, const search_steps::ScratchUpdate& layout);

    const std::vector<int>& issues() const { return issues_; }
    const std::vector<StoredDraw>& draws() const { return draws_; }

    // The rows from index `from` up to `to` (exclusive, issue order) that `marking` marks.
    std::vector<size_t> marked(const search_steps::MarkingUpdate& marking, size_t from, size_t to) const;

private:
    struct Column {
        std::vector<search_steps::RowValue> values;  // texts point into `texts`
        std::string texts;
    };
    using ColumnKey = std::pair<std::string, search_steps::FieldType>;

    const Column& column(const std::string& field, search_steps::FieldType type) const;

    std::vector<int> issues_;
    std::vector<StoredDraw> draws_;
    std::map<ColumnKey, Column> columns_;
};

}  // namespace drawfollow
