// `list --json`: every field of every stored row, keyed by field name.
#pragma once

#include "store/history_db.h"

#include <iosfwd>

namespace drawfollow::cli {

// Writes the rows in issue order as one JSON array, laid out as nlohmann::json's dump(1)
// lays it out, one row at a time: a history of any length needs the memory of one row.
// Throws StoreError when the output cannot be written.
void writeRowsAsJson(HistoryDb& db, std::ostream& out);

}  // namespace drawfollow::cli
