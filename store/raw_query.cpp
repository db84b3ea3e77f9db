#include "store/raw_query.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>

namespace drawfollow {

namespace {

sqlite3_stmt* prepared(sqlite3* handle, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (const int rc = sqlite3_prepare_v2(handle, sql.c_str(), -1, &raw, nullptr); rc != SQLITE_OK)
        throw SQLite::Exception(handle, rc);
    return raw;
}

}  // namespace

RawQuery::RawQuery(SQLite::Database& db, const std::string& sql)
    : handle_(db.getHandle()), statement_(prepared(handle_, sql), sqlite3_finalize) {}

bool RawQuery::step() {
    const int rc = sqlite3_step(statement_.get());
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        throw SQLite::Exception(handle_, rc);
    return false;
}

}  // namespace drawfollow
