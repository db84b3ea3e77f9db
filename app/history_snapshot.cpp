#include "app/history_snapshot.h"

#include <SQLiteCpp/Statement.h>

#include <string>

namespace drawfollow {

namespace {

std::string snapshotSql() {
    std::string sql = "SELECT SQQH";
    for (int p = 1; p <= kPositions; ++p)
        for (Kind k : kAllKinds)
            sql += ", " + valueField(p, k);
    return sql + " FROM lishi ORDER BY SQQH";
}

}  // namespace

std::vector<StoredDraw> readSnapshot(HistoryDb& db) {
    SQLite::Statement q(db.connection(), snapshotSql());
    std::vector<StoredDraw> draws;
    while (q.executeStep()) {
        StoredDraw d;
        d.issue = q.getColumn(0).getInt();
        int column = 1;
        for (int p = 0; p < kPositions; ++p)
            for (Kind k : kAllKinds)
                d.own[index(k)][p] = static_cast<int16_t>(q.getColumn(column++).getInt());
        draws.push_back(d);
    }
    return draws;
}

StoredDraw storedDrawOf(const DrawRow& row) {
    return StoredDraw{row.issue, row.own};
}

}  // namespace drawfollow
