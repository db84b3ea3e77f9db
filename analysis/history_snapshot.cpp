#include "analysis/history_snapshot.h"

#include "store/derivation_record.h"

#include <SQLiteCpp/Exception.h>

#include <sqlite3.h>

#include <algorithm>
#include <memory>

namespace drawfollow {

namespace {

// After the oldest draws were dropped, the first stored row still lists the draw before it
// (its previous-draw values and lists); the searches read it as every other row's lists.
std::optional<DrawValues> listedBeforeFirst(HistoryDb& db, const std::vector<StoredDraw>& draws) {
    if (draws.empty())
        return std::nullopt;
    const std::optional<DrawRow> first = db.rowOfIssue(draws.front().issue);
    if (!first || first->previousLists.plain.empty())
        return std::nullopt;
    return first->previous;
}

// Every draw's issue and own values of the kinds, by the plain SQLite calls: the values of
// a long history are most of what a search costs to read.
std::vector<StoredDraw> ownValues(HistoryDb& db, std::span<const Kind> kinds) {
    std::vector<Kind> read = {Kind::Number};
    for (Kind k : kinds)
        if (std::find(read.begin(), read.end(), k) == read.end())
            read.push_back(k);
    std::string sql = "SELECT SQQH";
    for (Kind k : read)
        for (int p = 1; p <= kPositions; ++p)
            sql += ", " + valueField(p, k);
    sqlite3* handle = db.connection().getHandle();
    sqlite3_stmt* raw = nullptr;
    if (const int rc = sqlite3_prepare_v2(handle, (sql + " FROM lishi ORDER BY SQQH").c_str(), -1, &raw, nullptr);
        rc != SQLITE_OK)
        throw SQLite::Exception(handle, rc);
    const std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> query(raw, sqlite3_finalize);
    std::vector<StoredDraw> draws;
    int rc;
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        StoredDraw& d = draws.emplace_back();
        d.issue = sqlite3_column_int(raw, 0);
        int column = 1;
        for (Kind k : read)
            for (int p = 0; p < kPositions; ++p)
                d.own[index(k)][p] = static_cast<int16_t>(sqlite3_column_int(raw, column++));
    }
    if (rc != SQLITE_DONE)
        throw SQLite::Exception(handle, rc);
    return draws;
}

}  // namespace

std::vector<Kind> HistorySnapshot::kindsOf(const SearchSettings& settings) {
    return {settings.searchKind, settings.resultKind};
}

HistorySnapshot HistorySnapshot::read(HistoryDb& db, std::span<const Kind> kinds) {
    const ReadTransaction transaction(db);
    std::vector<StoredDraw> draws = ownValues(db, kinds);
    std::optional<DrawValues> beforeFirst = listedBeforeFirst(db, draws);
    return HistorySnapshot(std::move(draws), beforeFirst, readDerivationRecord(db.connection()), dataVersion(db));
}

HistorySnapshot HistorySnapshot::withDraws(HistoryDb& db, std::vector<StoredDraw> draws) {
    const ReadTransaction transaction(db);
    std::optional<DrawValues> beforeFirst = listedBeforeFirst(db, draws);
    return HistorySnapshot(std::move(draws), beforeFirst, readDerivationRecord(db.connection()), dataVersion(db));
}

HistorySnapshot::HistorySnapshot(std::vector<StoredDraw> draws, std::optional<DrawValues> beforeFirst,
                                 std::optional<DerivationSettings> derivation, long long version)
    : draws_(std::move(draws)), beforeFirst_(beforeFirst), derivation_(std::move(derivation)), version_(version) {
    issues_.reserve(draws_.size());
    for (const StoredDraw& d : draws_)
        issues_.push_back(d.issue);
}

PanelHistory HistorySnapshot::panelHistory() const {
    return {issues_, [this](size_t i) { return draws_.at(i); }};
}

const DrawValues* HistorySnapshot::listedDrawBefore(size_t row, int back) const {
    const auto at = static_cast<long long>(row) - back;
    if (at >= 0)
        return &draws_[static_cast<size_t>(at)].own;
    if (at == -1 && beforeFirst_)
        return &*beforeFirst_;
    return nullptr;
}

}  // namespace drawfollow
