// The queries on the stored rows, so that no other layer writes SQL on Lishi.
#include "store/derivation_record.h"
#include "store/draw_numbers.h"
#include "store/draw_row_reader.h"
#include "store/history_db.h"
#include "store/raw_query.h"

#include <sqlite3.h>

#include <algorithm>

namespace drawfollow {

namespace {

constexpr const char* kEveryRowInOrder = "SELECT * FROM lishi ORDER BY SQQH";

// The own values as the rows were derived: from the issues and numbers alone. A zodiac year's
// draws share each number's values, so those are derived once a year; a number no draw can
// hold (another program's doing) is derived on its own.
std::vector<StoredDraw> derivedValues(SQLite::Database& db, const DerivationSettings& settings) {
    constexpr int kTabled = 50;
    const std::vector<DrawInput> numbers = readDrawNumbers(db);
    std::vector<StoredDraw> draws;
    draws.reserve(numbers.size());
    std::array<std::array<int16_t, kKinds>, kTabled> ofNumber{};
    std::optional<int> tableYear;
    for (const DrawInput& d : numbers) {
        const int year = zodiacYearOfIssue(d.issue);
        const bool tabled =
            std::all_of(d.numbers.begin(), d.numbers.end(), [](int n) { return n >= 0 && n < kTabled; });
        if (!tabled) {
            draws.push_back({d.issue, deriveOwnValues(d, settings)});
            continue;
        }
        if (year != tableYear) {
            for (int n = 0; n < kTabled; ++n)
                for (Kind k : kAllKinds)
                    ofNumber[n][index(k)] =
                        static_cast<int16_t>(valueOfNumber(k, n, year, settings.codes, settings.segmentOffset));
            tableYear = year;
        }
        StoredDraw& stored = draws.emplace_back();
        stored.issue = d.issue;
        for (int p = 0; p < kPositions; ++p)
            for (int k = 0; k < kKinds; ++k)
                stored.own[k][p] = ofNumber[d.numbers[p]][k];
    }
    return draws;
}

// The own values of the kinds as the wide rows store them.
std::vector<StoredDraw> storedValues(SQLite::Database& db, std::span<const Kind> kinds) {
    std::vector<Kind> read = {Kind::Number};
    for (Kind k : kinds)
        if (std::find(read.begin(), read.end(), k) == read.end())
            read.push_back(k);
    std::string sql = "SELECT SQQH";
    for (Kind k : read)
        for (int p = 1; p <= kPositions; ++p)
            sql += ", " + valueField(p, k);
    RawQuery q(db, sql + " FROM lishi ORDER BY SQQH");
    std::vector<StoredDraw> draws;
    while (q.step()) {
        StoredDraw& d = draws.emplace_back();
        d.issue = q.intAt(0);
        int column = 1;
        for (Kind k : read)
            for (int p = 0; p < kPositions; ++p)
                d.own[index(k)][p] = static_cast<int16_t>(q.intAt(column++));
    }
    return draws;
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

std::vector<StoredDraw> HistoryDb::drawValues(std::span<const Kind> kinds) {
    const ReadTransaction transaction(*this);
    bool derived = false;
    return readDrawValues(kinds, derived).draws;
}

HistoryDb::HistoryStamp HistoryDb::stamp() {
    // The schema version is read first: it takes the read lock, and only under it does the
    // data version count the commits of other connections up to now.
    HistoryStamp now;
    now.schemaVersion = db_.execAndGet("PRAGMA schema_version").getInt64();
    now.dataVersion = db_.execAndGet("PRAGMA data_version").getInt64();
    now.ownChanges = sqlite3_total_changes64(db_.getHandle());
    return now;
}

StoredHistory StoredHistory::of(std::vector<StoredDraw> draws) {
    StoredHistory history{std::move(draws), {}};
    history.issues.reserve(history.draws.size());
    for (const StoredDraw& d : history.draws)
        history.issues.push_back(d.issue);
    return history;
}

StoredHistory HistoryDb::readDrawValues(std::span<const Kind> kinds, bool& derived) {
    const auto settings = recordedDerivation();
    derived = settings && drawNumbersInStep(db_);
    return StoredHistory::of(derived ? derivedValues(db_, *settings) : storedValues(db_, kinds));
}

std::shared_ptr<const StoredHistory> HistoryDb::sharedDrawValues(std::span<const Kind> kinds) {
    const ReadTransaction transaction(*this);
    const HistoryStamp now = stamp();
    // Within a caller's write transaction the draws read may hold changes it later rolls
    // back, which leaves the count of this connection's changes as it was: those are not kept.
    const bool writing = sqlite3_txn_state(db_.getHandle(), "main") == SQLITE_TXN_WRITE;
    if (kept_ && keptStamp_ == now)
        return kept_;
    kept_.reset();
    bool derived = false;
    auto read = std::make_shared<const StoredHistory>(readDrawValues(kinds, derived));
    // Values read from Lishi are those of `kinds` alone.
    if (derived && !writing) {
        kept_ = read;
        keptStamp_ = now;
    }
    return read;
}

void HistoryDb::forEachRowAsStored(const std::function<void(const SQLite::Statement& fields)>& visit) {
    SQLite::Statement q(db_, kEveryRowInOrder);
    while (q.executeStep())
        visit(q);
}

}  // namespace drawfollow
