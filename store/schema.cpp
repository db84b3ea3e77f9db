#include "store/schema.h"

#include "store/derivation_record.h"
#include "store/draw.h"
#include "store/draw_numbers.h"
#include "store/pick_table.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>

#include <sqlite3.h>

#include <set>

namespace drawfollow {

namespace {

struct Column {
    std::string name;
    const char* type;
};

std::vector<Column> buildLishiColumns() {
    std::vector<Column> cols = {{"SQQH", "INTEGER PRIMARY KEY"}, {"QQH", "INTEGER"}, {"strQQH", "TEXT"}};
    for (int p = 1; p <= kPositions; ++p)
        for (Kind k : kAllKinds) {
            cols.push_back({valueField(p, k), "INTEGER"});
            cols.push_back({previousField(p, k), "INTEGER NOT NULL DEFAULT 0"});
            cols.push_back({backField(p, k), "INTEGER NOT NULL DEFAULT 0"});
        }
    cols.push_back({"txtHisLst", "TEXT"});
    for (Kind k : kAllKinds)
        cols.push_back({previousListField(k), "TEXT"});
    cols.push_back({"txtHisPreLst", "TEXT"});
    for (Kind k : kAllKinds)
        cols.push_back({backListField(k), "TEXT"});
    cols.push_back({"txtHisP6", "TEXT"});
    cols.push_back({"intTh", "INTEGER NOT NULL DEFAULT 0"});
    cols.push_back({"bolOk", "INTEGER NOT NULL DEFAULT 0"});
    return cols;
}

const std::vector<Column>& columnDefinitions() {
    static const std::vector<Column> cols = buildLishiColumns();
    return cols;
}

std::set<std::string> columnsOf(SQLite::Database& db, const std::string& table) {
    std::set<std::string> names;
    SQLite::Statement q(db, "SELECT name FROM pragma_table_info(?)");
    q.bind(1, table);
    while (q.executeStep())
        names.insert(q.getColumn(0).getString());
    return names;
}

int userVersion(SQLite::Database& db) {
    return db.execAndGet("PRAGMA user_version").getInt();
}

void setUserVersion(SQLite::Database& db) {
    db.exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
}

}  // namespace

const std::vector<std::string>& lishiColumns() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> v;
        for (const auto& c : columnDefinitions())
            v.push_back(c.name);
        return v;
    }();
    return names;
}

const std::vector<std::string>& derivedColumns() {
    // Between SQQH, QQH, strQQH and the three scratch fields txtHisP6, intTh, bolOk.
    static const std::vector<std::string> names(lishiColumns().begin() + 3, lishiColumns().end() - 3);
    return names;
}

void createSchema(SQLite::Database& db) {
    std::string sql = "PRAGMA page_size = " + std::to_string(kPageSize) + ";\nCREATE TABLE Lishi (";
    bool first = true;
    for (const auto& c : columnDefinitions()) {
        if (!first)
            sql += ", ";
        first = false;
        sql += c.name + ' ' + c.type;
    }
    sql += ");\nCREATE TABLE Carcu (Nmb INTEGER, Count INTEGER);";
    db.exec(sql);
    createDerivationTable(db);
    createPickTable(db);
    rebuildDrawNumbers(db);
    setUserVersion(db);
}

void upgradeSchema(SQLite::Database& db) {
    const int found = userVersion(db);
    if (found >= kSchemaVersion)
        return;
    try {
        // Two programs opening an older file at once: the second waits for the first and then
        // finds the file upgraded.
        SQLite::Transaction tx(db, SQLite::TransactionBehavior::IMMEDIATE);
        const int version = userVersion(db);
        if (version >= kSchemaVersion)
            return;
        if (version < 2)
            createDerivationTable(db);
        if (version < 3)
            createPickTable(db);
        if (version < 4)
            rebuildDrawNumbers(db);
        setUserVersion(db);
        tx.commit();
    } catch (const SQLite::Exception& e) {
        // The version before lacks only DrawNumbers, which nothing needs: its draws are read
        // from Lishi until the file can be written.
        if (found < 3 || (e.getErrorCode() & 0xff) != SQLITE_READONLY)
            throw;
    }
}

std::string missingSchemaParts(SQLite::Database& db) {
    std::string missing;
    auto note = [&missing](const std::string& what) {
        if (!missing.empty())
            missing += "、";
        missing += what;
    };
    const auto lishi = columnsOf(db, "Lishi");
    if (lishi.empty())
        note("表 Lishi");
    else
        for (const auto& name : lishiColumns())
            if (!lishi.count(name))
                note("字段 Lishi." + name);
    const auto carcu = columnsOf(db, "Carcu");
    if (carcu.empty())
        note("表 Carcu");
    else
        for (const char* name : {"Nmb", "Count"})
            if (!carcu.count(name))
                note(std::string("字段 Carcu.") + name);
    const auto noteTable = [&db, &note](const std::string& table, const std::vector<std::string>& columns) {
        const auto present = columnsOf(db, table);
        if (present.empty())
            note("表 " + table);
        else
            for (const auto& name : columns)
                if (!present.count(name))
                    note("字段 " + table + "." + name);
    };
    if (userVersion(db) >= 2)
        noteTable(kDerivationTable, derivationColumns());
    if (userVersion(db) >= 3)
        noteTable(kPickTable, pickColumns());
    if (userVersion(db) >= 4) {
        noteTable(kDrawNumbersTable, drawNumbersColumns());
        noteTable(kDrawNumbersCheckTable, drawNumbersCheckColumns());
        noteTable(kSearchFieldsKeptTable, searchFieldsKeptColumns());
    }
    return missing;
}

}  // namespace drawfollow
