// What a search reads and writes besides its scratch update: the rows it selected, and the
// tally it leaves in Carcu.
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

std::vector<HitRow> HistoryDb::hitRows(std::span<const int> issues, Kind kind, const std::string& listField) {
    std::string columns;
    for (int p = 1; p <= kPositions; ++p)
        columns += valueField(p, kind) + ", ";
    // Looked up one by one: a search selects few rows of a long history, and the wide rows
    // it passes over cost more to step through than a lookup costs per hit.
    SQLite::Statement row(db_, "SELECT " + columns + listField + " FROM lishi WHERE SQQH = ?");
    std::vector<HitRow> rows;
    rows.reserve(issues.size());
    for (const int issue : issues) {
        row.bind(1, issue);
        if (!row.executeStep())
            throw StoreError("历史数据库中没有第 " + std::to_string(issue) + " 期");
        HitRow& hit = rows.emplace_back();
        hit.issue = issue;
        for (int p = 0; p < kPositions; ++p)
            hit.values[p] = row.getColumn(p).getInt();
        const SQLite::Column list = row.getColumn(kPositions);
        if (!list.isNull())
            hit.list = list.getString();
        row.reset();
    }
    return rows;
}

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
