// The write lock of one change, and how a busy database is told to the user.
#include "store/history_db.h"

#include "store/failure_text.h"

#include <sqlite3.h>

#include <system_error>

namespace drawfollow {

namespace {

constexpr const char* kSavepoint = "SAVEPOINT history_change";

// Runs a statement that waits for the lock; a wait that ran out becomes the busy message,
// any other failure stays what it is.
void execWaiting(SQLite::Database& db, const char* sql) {
    try {
        db.exec(sql);
    } catch (const SQLite::Exception& e) {
        if (isDatabaseBusy(e))
            throw StoreError(kDatabaseBusyMessage);
        throw;
    }
}

}  // namespace

bool isDatabaseBusy(const std::exception& e) {
    const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&e);
    if (!sqlite)
        return false;
    const int code = sqlite->getErrorCode() & 0xff;
    return code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

std::string failureText(const std::exception& e) {
    if (isDatabaseBusy(e))
        return kDatabaseBusyMessage;
    if (const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&e))
        return sqliteFailureText(sqlite->getExtendedErrorCode(), sqlite->what());
    if (const auto* system = dynamic_cast<const std::system_error*>(&e);
        system &&
        (system->code().category() == std::generic_category() || system->code().category() == std::system_category()))
        return systemFailureText(system->code(), system->what());
    return e.what();
}

bool isReadOnlyHistory(const std::exception& e) {
    const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&e);
    return sqlite && (sqlite->getErrorCode() & 0xff) == SQLITE_READONLY;
}

ReadTransaction::ReadTransaction(HistoryDb& db)
    : db_(db.connection()), owned_(sqlite3_get_autocommit(db_.getHandle()) != 0) {
    if (!owned_)
        return;
    // A deferred transaction takes its shared lock at the first read and keeps it to the end.
    db_.exec("BEGIN DEFERRED");
}

ReadTransaction::~ReadTransaction() {
    if (!owned_)
        return;
    try {
        db_.exec("COMMIT");
    } catch (const SQLite::Exception&) {
        // Nothing was written: a transaction SQLite already ended leaves nothing to release.
    }
}

long long dataVersion(HistoryDb& db) {
    return db.connection().execAndGet("PRAGMA data_version").getInt64();
}

WriteTransaction::WriteTransaction(HistoryDb& db)
    : db_(db.connection()), nested_(sqlite3_get_autocommit(db_.getHandle()) == 0) {
    execWaiting(db_, nested_ ? kSavepoint : "BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction() {
    if (finished_)
        return;
    try {
        db_.exec(nested_ ? "ROLLBACK TO history_change; RELEASE history_change" : "ROLLBACK");
    } catch (const SQLite::Exception&) {
        // SQLite has rolled the transaction back itself after an I/O failure; nothing is left to undo.
    }
}

void WriteTransaction::commit() {
    // Committing waits until the readers of the old state have finished.
    execWaiting(db_, nested_ ? "RELEASE history_change" : "COMMIT");
    finished_ = true;
}

}  // namespace drawfollow
