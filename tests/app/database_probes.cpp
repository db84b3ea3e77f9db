#include "database_probes.h"

#include <string>

namespace drawfollow::test {

QStringList tablesAsText(const std::filesystem::path& file) {
    SQLite::Database db(file.string(), SQLite::OPEN_READONLY);
    QStringList rows;
    for (const char* table : {"Lishi", "Carcu"}) {
        SQLite::Statement query(db, std::string("SELECT * FROM [") + table + "] ORDER BY rowid");
        while (query.executeStep()) {
            QStringList fields;
            for (int c = 0; c < query.getColumnCount(); ++c)
                fields << (query.isColumnNull(c) ? QStringLiteral("NULL")
                                                 : QString::fromStdString(query.getColumn(c).getString()));
            rows << fields.join(QLatin1Char('|'));
        }
    }
    return rows;
}

HeldWriteLock::HeldWriteLock(const std::filesystem::path& file) : db_(file.string(), SQLite::OPEN_READWRITE) {
    // The commit waits for a reader of the moment (a worker opening the file) to finish, as
    // another program's would, instead of failing at once.
    db_.setBusyTimeout(60000);
    db_.exec("BEGIN IMMEDIATE");
}

void HeldWriteLock::release() {
    db_.exec("ROLLBACK");
}

void HeldWriteLock::commit(const char* sql) {
    db_.exec(sql);
    db_.exec("COMMIT");
}

}  // namespace drawfollow::test
