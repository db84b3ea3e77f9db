// The queries on the stored rows, so that no other layer writes SQL on Lishi.
#include "store/draw_row_reader.h"
#include "store/history_db.h"

namespace drawfollow {

namespace {

constexpr const char* kEveryRowInOrder = "SELECT * FROM lishi ORDER BY SQQH";

std::string drawValuesSql() {
    std::string sql = "SELECT SQQH";
    for (int p = 1; p <= kPositions; ++p)
        for (Kind k : kAllKinds)
            sql += ", " + valueField(p, k);
    return sql + " FROM lishi ORDER BY SQQH";
}

}  // namespace

std::vector<DrawRow> HistoryDb::newestRows(int count) {
    SQLite::Statement q(db_, "SELECT * FROM (SELECT * FROM lishi ORDER BY SQQH DESC LIMIT ?) ORDER BY SQQH");
    q.bind(1, count);
    return DrawRowReader(q).readAll();
}

std::optional<DrawRow> HistoryDb::newest() {
    auto rows = newestRows(1);
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

std::optional<DrawRow> HistoryDb::rowOfIssue(int issue) {
    SQLite::Statement q(db_, "SELECT * FROM lishi WHERE SQQH = ?");
    q.bind(1, issue);
    DrawRow row;
    if (!DrawRowReader(q).next(row))
        return std::nullopt;
    return row;
}

int HistoryDb::drawCount() {
    return db_.execAndGet("SELECT count(*) FROM lishi").getInt();
}

int HistoryDb::drawCountBefore(int issue) {
    SQLite::Statement q(db_, "SELECT count(*) FROM lishi WHERE SQQH < ?");
    q.bind(1, issue);
    q.executeStep();
    return q.getColumn(0).getInt();
}

std::vector<int> HistoryDb::issues() {
    SQLite::Statement q(db_, "SELECT SQQH FROM lishi ORDER BY SQQH");
    std::vector<int> issues;
    while (q.executeStep())
        issues.push_back(q.getColumn(0).getInt());
    return issues;
}

std::vector<DrawInput> HistoryDb::draws() {
    SQLite::Statement q(db_, "SELECT SQQH, L1A, L2A, L3A, L4A, L5A, L6A, L7A, L8A FROM lishi ORDER BY SQQH");
    std::vector<DrawInput> draws;
    while (q.executeStep()) {
        DrawInput d;
        d.issue = q.getColumn(0).getInt();
        for (int p = 0; p < kPositions; ++p)
            d.numbers[p] = static_cast<int16_t>(q.getColumn(p + 1).getInt());
        draws.push_back(d);
    }
    return draws;
}

std::vector<StoredDraw> HistoryDb::drawValues() {
    // Reading the 48 own values alone, not the rows' lists, keeps start-up quick on a long history.
    SQLite::Statement q(db_, drawValuesSql());
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

void HistoryDb::forEachRowAsStored(const std::function<void(const SQLite::Statement& fields)>& visit) {
    SQLite::Statement q(db_, kEveryRowInOrder);
    while (q.executeStep())
        visit(q);
}

std::vector<KindValues> HistoryDb::kindValuesInRange(Kind kind, int firstIssue, int lastIssue) {
    std::string sql = "SELECT SQQH";
    for (int p = 1; p <= kPositions; ++p)
        sql += ", " + valueField(p, kind);
    SQLite::Statement q(db_, sql + " FROM lishi WHERE SQQH BETWEEN ? AND ? ORDER BY SQQH");
    q.bind(1, firstIssue);
    q.bind(2, lastIssue);
    std::vector<KindValues> rows;
    while (q.executeStep()) {
        KindValues& row = rows.emplace_back();
        row.issue = q.getColumn(0).getInt();
        for (int p = 0; p < kPositions; ++p)
            row.values[p] = q.getColumn(p + 1).getInt();
    }
    return rows;
}

}  // namespace drawfollow
