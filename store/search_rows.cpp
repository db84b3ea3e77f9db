// What a search leaves in Carcu.
#include "store/history_db.h"

namespace drawfollow {

namespace {

bool carcuHolds(SQLite::Database& db, std::span<const TallyRow> rows) {
    SQLite::Statement q(db, "SELECT rowid, Nmb, Count FROM Carcu ORDER BY rowid");
    size_t i = 0;
    for (; q.executeStep(); ++i) {
        const SQLite::Column nmb = q.getColumn(1), count = q.getColumn(2);
        if (i == rows.size() || q.getColumn(0).getInt64() != static_cast<long long>(i + 1) || !nmb.isInteger() ||
            !count.isInteger() || nmb.getInt() != rows[i].value || count.getInt() != rows[i].count)
            return false;
    }
    return i == rows.size();
}

}  // namespace

void HistoryDb::storeTally(std::span<const TallyRow> rows) {
    // A search repeated on the same panel finds Carcu as it would leave it; not rewriting
    // it then keeps the whole search free of writes.
    if (carcuHolds(db_, rows))
        return;
    WriteTransaction transaction(*this);
    execute("DELETE FROM Carcu");
    SQLite::Statement insert(db_, "INSERT INTO Carcu (Nmb, Count) VALUES (?, ?)");
    for (const TallyRow& r : rows) {
        insert.bind(1, r.value);
        insert.bind(2, r.count);
        insert.exec();
        insert.reset();
    }
    transaction.commit();
}

}  // namespace drawfollow
