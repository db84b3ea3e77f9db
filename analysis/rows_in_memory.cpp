#include "analysis/rows_in_memory.h"

#include <algorithm>
#include <stdexcept>

namespace drawfollow {

namespace {

using search_steps::FieldType;
using search_steps::RowValue;

// A field as SQLite hands it to the stored search: a NULL stays NULL, a number field is
// read as an integer, a list as its text. A text is appended to `texts`; its view is made
// once every text is in, as the buffer may move until then.
RowValue readField(const SQLite::Column& c, FieldType type, std::string& texts) {
    if (c.isNull())
        return RowValue::null();
    if (type == FieldType::Number)
        return RowValue::integer(c.getInt64());
    const char* text = c.getText();
    texts.append(text, static_cast<size_t>(c.getBytes()));
    RowValue v = RowValue::textOf({});
    v.number = static_cast<long long>(texts.size());  // where the text ends
    return v;
}

}  // namespace

RowsInMemory::RowsInMemory(HistoryDb& db, const search_steps::ScratchUpdate& layout) {
    std::vector<std::string> fields;
    for (int p = 1; p <= kPositions; ++p)
        for (Kind k : kAllKinds)
            fields.push_back(valueField(p, k));
    std::vector<ColumnKey> wanted;
    for (const search_steps::FieldCopy& c : layout.copies())
        wanted.emplace_back(c.source, c.type);
    for (const search_steps::FieldRead& r : layout.reads())
        if (std::none_of(layout.copies().begin(), layout.copies().end(),
                         [&r](const search_steps::FieldCopy& c) { return c.target == r.field; }))
            wanted.emplace_back(r.field, r.type);
    std::vector<std::pair<Column*, FieldType>> fieldColumns;
    for (const ColumnKey& key : wanted) {
        if (columns_.contains(key))
            continue;
        fieldColumns.emplace_back(&columns_[key], key.second);
        fields.push_back(key.first);
    }

    db.forEachRowFields(fields, [&](const SQLite::Statement& row) {
        issues_.push_back(row.getColumn(0).getInt());
        StoredDraw& draw = draws_.emplace_back();
        draw.issue = issues_.back();
        int at = 1;
        for (int p = 0; p < kPositions; ++p)
            for (Kind k : kAllKinds)
                draw.own[index(k)][p] = static_cast<int16_t>(row.getColumn(at++).getInt());
        for (auto& [column, type] : fieldColumns)
            column->values.push_back(readField(row.getColumn(at++), type, column->texts));
    });
    // The texts are all in, one after the other: each ends where its row's number says.
    for (auto& read : fieldColumns) {
        Column* column = read.first;
        size_t start = 0;
        for (RowValue& v : column->values) {
            if (v.type != RowValue::Type::Text)
                continue;
            const auto end = static_cast<size_t>(v.number);
            v = RowValue::textOf(std::string_view(column->texts).substr(start, end - start));
            start = end;
        }
    }
}

const RowsInMemory::Column& RowsInMemory::column(const std::string& field, FieldType type) const {
    const auto it = columns_.find({field, type});
    if (it == columns_.end())
        throw std::logic_error("field not read into memory: " + field);
    return it->second;
}

std::vector<size_t> RowsInMemory::marked(const search_steps::MarkingUpdate& marking, size_t from, size_t to) const {
    const search_steps::ScratchUpdate& update = marking.update;
    const search_steps::RowExpression& marker = update.assignments()[update.assignmentOf(marking.marker)].expression;

    // Each field the expression reads: a copy of an earlier row's field, or the row's own.
    struct Source {
        const Column* column;
        size_t back;
        FieldType type;
    };
    std::vector<Source> sources;
    for (const search_steps::FieldRead& r : update.reads()) {
        const auto copy = std::find_if(update.copies().begin(), update.copies().end(),
                                       [&r](const search_steps::FieldCopy& c) { return c.target == r.field; });
        if (copy == update.copies().end())
            sources.push_back({&column(r.field, r.type), 0, r.type});
        else
            sources.push_back({&column(copy->source, copy->type), static_cast<size_t>(copy->back), copy->type});
    }

    std::vector<RowValue> fields(sources.size());
    const search_steps::RowView view(fields);
    std::vector<size_t> rows;
    for (size_t row = from; row < std::min(to, issues_.size()); ++row) {
        for (size_t f = 0; f < sources.size(); ++f) {
            const Source& s = sources[f];
            if (s.back == 0)
                fields[f] = s.column->values[row];
            else
                fields[f] = row < s.back ? search_steps::copiedBeforeFirstRow(s.type)
                                         : search_steps::copiedSource(s.column->values[row - s.back], s.type);
        }
        const RowValue v = marker.evaluate(view);
        if (v.type == RowValue::Type::Integer && v.number == marking.markedValue)
            rows.push_back(row);
    }
    return rows;
}

}  // namespace drawfollow
