// A statement stepped by SQLite's own calls, for the reads that visit every draw of a long
// history: there the wrapper's per-value objects cost more than the reading itself.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

namespace SQLite {
class Database;
}

namespace drawfollow {

class RawQuery {
public:
    // Prepares the statement; a failure throws SQLite::Exception.
    RawQuery(SQLite::Database& db, const std::string& sql);

    // True while there is a row to read; a failure throws SQLite::Exception.
    bool step();
    sqlite3_stmt* get() const { return statement_.get(); }
    int intAt(int column) const { return sqlite3_column_int(statement_.get(), column); }

private:
    sqlite3* handle_;
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement_;
};

}  // namespace drawfollow
