// Reads rows of Lishi from a query, whatever subset of its columns the query selects.
#pragma once

#include "store/draw_row.h"

#include <SQLiteCpp/Column.h>
#include <SQLiteCpp/Statement.h>

#include <functional>
#include <vector>

namespace drawfollow {

class DrawRowReader {
public:
    // Maps the query's columns to row fields once; unknown columns are ignored.
    explicit DrawRowReader(SQLite::Statement& query);

    // Steps the query; false at its end.
    bool next(DrawRow& row);
    std::vector<DrawRow> readAll();

private:
    using Setter = std::function<void(DrawRow&, const SQLite::Column&)>;
    SQLite::Statement& query_;
    std::vector<const Setter*> setters_;
};

// Binds the fields of derivedColumns() in order, from parameter `first`; returns the
// parameter after them.
int bindDerivedFields(SQLite::Statement& statement, const DrawRow& row, int first);

// Binds a derived row to an INSERT over lishiColumns() in order.
void bindDrawRow(SQLite::Statement& insert, const DrawRow& row);

}  // namespace drawfollow
