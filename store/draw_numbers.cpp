#include "store/draw_numbers.h"

#include "store/raw_query.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

namespace drawfollow {

namespace {

constexpr const char* kTriggerNames[] = {"DrawNumbersInsert", "DrawNumbersDelete", "DrawNumbersUpdate",
                                         "SearchFieldsKeptUpdate"};

// The issue and the numbers, each prefixed: "new.SQQH, new.L1A, ...".
std::string lishiDrawColumns(const std::string& prefix) {
    std::string list = prefix + "SQQH";
    for (int p = 1; p <= kPositions; ++p)
        list += ", " + prefix + valueField(p, Kind::Number);
    return list;
}

std::string numbersColumnList() {
    std::string list;
    for (const auto& name : drawNumbersColumns())
        list += (list.empty() ? "" : ", ") + name;
    return list;
}

// Per row a hash in which every number's change shows (the factors are prime to the modulus),
// summed: with the count, what the opening compares.
std::string checksumQuery(const std::string& table, const std::vector<std::string>& columns) {
    std::string hash = "ifnull(" + columns[0] + ", -1)";
    for (size_t c = 1; c < columns.size(); ++c)
        hash = "((" + hash + ") % 2147483647 * 31 + ifnull(" + columns[c] + ", -1))";
    return "SELECT count(*), ifnull(sum((" + hash + ") % 2147483647), 0) FROM " + table;
}

std::pair<long long, long long> countAndChecksum(SQLite::Database& db, const std::string& table,
                                                 const std::vector<std::string>& columns) {
    SQLite::Statement q(db, checksumQuery(table, columns));
    q.executeStep();
    return {q.getColumn(0).getInt64(), q.getColumn(1).getInt64()};
}

bool holdsLishiDraws(SQLite::Database& db) {
    std::vector<std::string> lishi = {"SQQH"};
    for (int p = 1; p <= kPositions; ++p)
        lishi.push_back(valueField(p, Kind::Number));
    return countAndChecksum(db, "Lishi", lishi) == countAndChecksum(db, kDrawNumbersTable, drawNumbersColumns());
}

void writeTriggers(SQLite::Database& db) {
    for (const char* name : kTriggerNames)
        db.exec(std::string("DROP TRIGGER IF EXISTS ") + name);
    const std::string table = kDrawNumbersTable;
    const std::string put =
        "INSERT OR REPLACE INTO " + table + " (" + numbersColumnList() + ") VALUES (" + lishiDrawColumns("new.") + ");";
    std::string changed = "old.SQQH IS NOT new.SQQH";
    for (int p = 1; p <= kPositions; ++p)
        changed += " OR old." + valueField(p, Kind::Number) + " IS NOT new." + valueField(p, Kind::Number);
    const std::string forget = std::string("DELETE FROM ") + kSearchFieldsKeptTable + ";";
    // A REPLACE that removes a Lishi row fires no delete trigger: the put replaces its draw too.
    db.exec(std::string("CREATE TRIGGER ") + kTriggerNames[0] + " AFTER INSERT ON Lishi BEGIN " + put + forget +
            " END");
    db.exec(std::string("CREATE TRIGGER ") + kTriggerNames[1] + " AFTER DELETE ON Lishi BEGIN DELETE FROM " + table +
            " WHERE SQQH = old.SQQH; " + forget + " END");
    db.exec(std::string("CREATE TRIGGER ") + kTriggerNames[2] + " AFTER UPDATE OF " + lishiDrawColumns("") +
            " ON Lishi WHEN " + changed + " BEGIN DELETE FROM " + table + " WHERE SQQH = old.SQQH; " + put + " END");
    db.exec(std::string("CREATE TRIGGER ") + kTriggerNames[3] + " AFTER UPDATE ON Lishi BEGIN " + forget + " END");
}

void recordSchemaVersion(SQLite::Database& db) {
    // Whatever got past the triggers may have changed a search's fields too.
    db.exec(std::string("DELETE FROM ") + kSearchFieldsKeptTable);
    db.exec(std::string("DELETE FROM ") + kDrawNumbersCheckTable);
    db.exec(std::string("INSERT INTO ") + kDrawNumbersCheckTable +
            " (SchemaVersion) SELECT schema_version FROM pragma_schema_version");
}

// A file that cannot be written now: read-only, or another program's change outlasting the wait.
bool cannotWrite(const SQLite::Exception& e) {
    const int code = e.getErrorCode() & 0xff;
    return code == SQLITE_READONLY || code == SQLITE_BUSY || code == SQLITE_LOCKED;
}

}  // namespace

const std::vector<std::string>& drawNumbersColumns() {
    static const std::vector<std::string> names = {"SQQH", "N1", "N2", "N3", "N4", "N5", "N6", "N7", "N8"};
    return names;
}

const std::vector<std::string>& searchFieldsKeptColumns() {
    static const std::vector<std::string> names = {"Search"};
    return names;
}

std::optional<std::string> keptSearchFields(SQLite::Database& db) {
    if (!db.tableExists(kSearchFieldsKeptTable))
        return std::nullopt;
    SQLite::Statement q(db, std::string("SELECT Search FROM ") + kSearchFieldsKeptTable);
    if (!q.executeStep() || !q.getColumn(0).isText())
        return std::nullopt;
    return q.getColumn(0).getString();
}

void recordKeptSearchFields(SQLite::Database& db, const std::string& search) {
    if (!db.tableExists(kSearchFieldsKeptTable))
        return;
    db.exec(std::string("DELETE FROM ") + kSearchFieldsKeptTable);
    SQLite::Statement insert(db, std::string("INSERT INTO ") + kSearchFieldsKeptTable + " (Search) VALUES (?)");
    insert.bind(1, search);
    insert.exec();
}

const std::vector<std::string>& drawNumbersCheckColumns() {
    static const std::vector<std::string> names = {"SchemaVersion"};
    return names;
}

void rebuildDrawNumbers(SQLite::Database& db) {
    std::string columns = "SQQH INTEGER PRIMARY KEY";
    for (size_t c = 1; c < drawNumbersColumns().size(); ++c)
        columns += ", " + drawNumbersColumns()[c] + " INTEGER";
    db.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kDrawNumbersTable + " (" + columns + ")");
    db.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kDrawNumbersCheckTable + " (SchemaVersion INTEGER)");
    db.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kSearchFieldsKeptTable + " (Search TEXT)");
    writeTriggers(db);
    db.exec(std::string("DELETE FROM ") + kDrawNumbersTable);
    db.exec(std::string("INSERT INTO ") + kDrawNumbersTable + " (" + numbersColumnList() + ") SELECT " +
            lishiDrawColumns("") + " FROM Lishi");
    recordSchemaVersion(db);
}

bool drawNumbersInStep(SQLite::Database& db) {
    // A file of the version before, left so because it could not be written, has no record.
    if (!db.tableExists(kDrawNumbersCheckTable))
        return false;
    SQLite::Statement q(db, std::string("SELECT count(*) = 1 AND max(SchemaVersion) = "
                                        "(SELECT schema_version FROM pragma_schema_version) FROM ") +
                                kDrawNumbersCheckTable);
    return q.executeStep() && q.getColumn(0).getInt() == 1;
}

void bringDrawNumbersInStep(SQLite::Database& db) {
    if (drawNumbersInStep(db))
        return;
    try {
        SQLite::Transaction tx(db, SQLite::TransactionBehavior::IMMEDIATE);
        if (drawNumbersInStep(db))
            return;
        if (holdsLishiDraws(db)) {
            // The draws agree; the triggers are written again in case the schema change was theirs.
            writeTriggers(db);
            recordSchemaVersion(db);
        } else {
            rebuildDrawNumbers(db);
        }
        tx.commit();
    } catch (const SQLite::Exception& e) {
        if (!cannotWrite(e))
            throw;
    }
}

DirectDrawWrites::DirectDrawWrites(SQLite::Database& db) : db_(db) {
    // Statements are compiled with or without the triggers: any prepared from here on without.
    // Within another's scope the triggers stay off when this one ends.
    if (const int rc = sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_ENABLE_TRIGGER, -1, &triggersBefore_);
        rc != SQLITE_OK)
        throw SQLite::Exception(db.getHandle(), rc);
    if (const int rc = sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr); rc != SQLITE_OK)
        throw SQLite::Exception(db.getHandle(), rc);
    try {
        // A file of the version before, left so because it is read-only, fails at Lishi.
        if (!db.tableExists(kDrawNumbersTable))
            return;
        db.exec(std::string("DELETE FROM ") + kSearchFieldsKeptTable);
        insert_ =
            std::make_unique<SQLite::Statement>(db, std::string("INSERT OR REPLACE INTO ") + kDrawNumbersTable + " (" +
                                                        numbersColumnList() + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    } catch (...) {
        sqlite3_db_config(db.getHandle(), SQLITE_DBCONFIG_ENABLE_TRIGGER, triggersBefore_, nullptr);
        throw;
    }
}

DirectDrawWrites::~DirectDrawWrites() {
    insert_.reset();
    sqlite3_db_config(db_.getHandle(), SQLITE_DBCONFIG_ENABLE_TRIGGER, triggersBefore_, nullptr);
}

void DirectDrawWrites::removedAll() {
    if (insert_)
        db_.exec(std::string("DELETE FROM ") + kDrawNumbersTable);
}

void DirectDrawWrites::added(const DrawInput& draw) {
    if (!insert_)
        return;
    insert_->reset();
    insert_->bind(1, draw.issue);
    for (int p = 0; p < kPositions; ++p)
        insert_->bind(p + 2, draw.numbers[p]);
    insert_->exec();
}

std::vector<DrawInput> readDrawNumbers(SQLite::Database& db) {
    RawQuery q(db, "SELECT " + numbersColumnList() + " FROM " + kDrawNumbersTable + " ORDER BY SQQH");
    std::vector<DrawInput> draws;
    while (q.step()) {
        DrawInput& d = draws.emplace_back();
        d.issue = q.intAt(0);
        for (int p = 0; p < kPositions; ++p)
            d.numbers[p] = static_cast<int16_t>(q.intAt(p + 1));
    }
    return draws;
}

}  // namespace drawfollow
