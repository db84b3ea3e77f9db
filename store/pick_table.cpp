#include "store/pick_table.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <charconv>
#include <sstream>

namespace drawfollow {

namespace {

constexpr const char* kTop = "top";
constexpr const char* kExclude = "exclude";

std::string valuesText(const std::vector<int>& values) {
    std::string text;
    for (const int v : values)
        text += (text.empty() ? "" : " ") + std::to_string(v);
    return text;
}

StoreError damaged(int id) {
    return StoreError("预测记录第 " + std::to_string(id) + " 条已损坏，不是本程序写入的内容。");
}

std::vector<int> valuesOfText(const std::string& text, int id) {
    std::vector<int> values;
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
        int v = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
        if (error != std::errc{} || end != word.data() + word.size())
            throw damaged(id);
        values.push_back(v);
    }
    if (values.empty())
        throw damaged(id);
    return values;
}

}  // namespace

const std::vector<std::string>& pickColumns() {
    static const std::vector<std::string> columns = {"Made",  "Issue", "NewestIssue", "Search",
                                                     "Panel", "Mode",  "K",           "ChosenValues"};
    return columns;
}

void createPickTable(SQLite::Database& db) {
    // AUTOINCREMENT: a deleted record's id is never given to another.
    db.exec(std::string("CREATE TABLE IF NOT EXISTS ") + kPickTable +
            " (Id INTEGER PRIMARY KEY AUTOINCREMENT, Made TEXT NOT NULL, Issue INTEGER NOT NULL, "
            "NewestIssue INTEGER NOT NULL, Search TEXT NOT NULL, Panel TEXT NOT NULL, "
            "Mode TEXT NOT NULL, K INTEGER NOT NULL, ChosenValues TEXT NOT NULL)");
}

std::vector<PickRecord> readPicks(HistoryDb& db) {
    SQLite::Statement q(db.connection(), std::string("SELECT Id, Made, Issue, NewestIssue, Search, Panel, Mode, K, "
                                                     "ChosenValues FROM ") +
                                             kPickTable + " ORDER BY Id");
    std::vector<PickRecord> records;
    while (q.executeStep()) {
        PickRecord r;
        r.id = q.getColumn(0).getInt();
        const std::string mode = q.getColumn(6).getString();
        if (mode != kTop && mode != kExclude)
            throw damaged(r.id);
        r.made = q.getColumn(1).getString();
        r.issue = q.getColumn(2).getInt();
        r.newestIssue = q.getColumn(3).getInt();
        r.search = q.getColumn(4).getString();
        r.panel = q.getColumn(5).getString();
        r.exclude = mode == kExclude;
        r.top = q.getColumn(7).getInt();
        r.values = valuesOfText(q.getColumn(8).getString(), r.id);
        records.push_back(std::move(r));
    }
    return records;
}

int addPick(HistoryDb& db, const PickRecord& record) {
    WriteTransaction tx(db);
    const auto newest = db.newest();
    if (db.rowOfIssue(record.issue))
        throw StoreError("第 " + std::to_string(record.issue) + " 期已经开出并存入历史号码，不能再为它记录预测。");
    if (!newest || newest->issue != record.newestIssue)
        throw StoreError("历史号码在预测算出之后已有变动，预测未记录，请重新记录。");
    if (record.issue <= newest->issue)
        throw StoreError("预测只能为最新一期之后的期号记录（最新一期是第 " + std::to_string(newest->issue) + " 期）。");
    SQLite::Statement insert(db.connection(), std::string("INSERT INTO ") + kPickTable +
                                                  " (Made, Issue, NewestIssue, Search, Panel, Mode, K, ChosenValues) "
                                                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    insert.bind(1, record.made);
    insert.bind(2, record.issue);
    insert.bind(3, record.newestIssue);
    insert.bind(4, record.search);
    insert.bind(5, record.panel);
    insert.bind(6, record.exclude ? kExclude : kTop);
    insert.bind(7, record.top);
    insert.bind(8, valuesText(record.values));
    insert.exec();
    const int id = static_cast<int>(db.connection().getLastInsertRowid());
    tx.commit();
    return id;
}

bool deletePick(HistoryDb& db, int id) {
    WriteTransaction tx(db);
    SQLite::Statement remove(db.connection(), std::string("DELETE FROM ") + kPickTable + " WHERE Id = ?");
    remove.bind(1, id);
    const bool deleted = remove.exec() > 0;
    tx.commit();
    return deleted;
}

}  // namespace drawfollow
