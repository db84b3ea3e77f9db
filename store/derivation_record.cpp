#include "store/derivation_record.h"

#include "store/history_db.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

namespace drawfollow {

namespace {

// The years a code table can sensibly be built for; anything else was not written here.

bool isFlag(int v) {
    return v == 0 || v == 1;
}

std::string columnList() {
    std::string list;
    for (const auto& c : derivationColumns())
        list += (list.empty() ? "" : ", ") + c;
    return list;
}

}  // namespace

const std::vector<std::string>& derivationColumns() {
    // Named after the window's settings keys, plus the year the code table was built for.
    static const std::vector<std::string> columns = {"SxIni", "DsIni", "SxSetup", "CodeTableYear"};
    return columns;
}

void createDerivationTable(SQLite::Database& db) {
    // One row at most: the key can only be 1.
    std::string sql = std::string("CREATE TABLE ") + kDerivationTable + " (Id INTEGER PRIMARY KEY CHECK (Id = 1)";
    for (const auto& c : derivationColumns())
        sql += ", " + c + " INTEGER NOT NULL";
    db.exec(sql + ")");
}

std::optional<DerivationSettings> readDerivationRecord(SQLite::Database& db) {
    SQLite::Statement q(db, "SELECT " + columnList() + " FROM " + kDerivationTable + " WHERE Id = 1");
    if (!q.executeStep())
        return std::nullopt;
    for (int i = 0; i < q.getColumnCount(); ++i)
        if (!q.getColumn(i).isInteger())
            return std::nullopt;
    const int zodiacOffset = q.getColumn(0).getInt();
    const int segmentOffset = q.getColumn(1).getInt();
    const int sequential = q.getColumn(2).getInt();
    const int year = q.getColumn(3).getInt();
    if (!isFlag(zodiacOffset) || !isFlag(segmentOffset) || !isFlag(sequential) || year < kEarliestTableYear ||
        year > kLatestTableYear)
        return std::nullopt;
    return DerivationSettings{segmentOffset, ZodiacCodeTable::build(sequential != 0, zodiacOffset, year)};
}

void writeDerivationRecord(SQLite::Database& db, const DerivationSettings& settings) {
    SQLite::Statement q(db, std::string("INSERT OR REPLACE INTO ") + kDerivationTable + " (Id, " + columnList() +
                                ") VALUES (1, ?, ?, ?, ?)");
    q.bind(1, settings.codes.offset());
    q.bind(2, settings.segmentOffset);
    q.bind(3, settings.codes.sequential() ? 1 : 0);
    q.bind(4, settings.codes.tableYear());
    q.exec();
}

DerivationSettings settingsForNextIssue(int zodiacOffset, int segmentOffset, bool sequential, int nextIssue) {
    return DerivationSettings{segmentOffset,
                              ZodiacCodeTable::build(sequential, zodiacOffset, startupCodeTableYear(nextIssue))};
}

bool derivesSameRows(const DerivationSettings& a, const DerivationSettings& b) {
    if (a.segmentOffset != b.segmentOffset)
        return false;
    for (int k = 0; k < kAnimals; ++k)
        if (a.codes.code(k) != b.codes.code(k))
            return false;
    return true;
}

void requireDerivation(SQLite::Database& db, const DerivationSettings& settings, bool historyEmpty) {
    if (historyEmpty) {
        writeDerivationRecord(db, settings);
        return;
    }
    const auto recorded = readDerivationRecord(db);
    if (recorded && !derivesSameRows(*recorded, settings))
        throw StoreError("已存的历史号码是按“" + describeDerivation(*recorded) + "”计算的，不能再按“" +
                         describeDerivation(settings) + "”添加号码：同一历史中的生肖和段数必须按同一套参数计算。");
}

std::string describeDerivation(const DerivationSettings& settings) {
    const ZodiacCodeTable& codes = settings.codes;
    std::string text = codes.offset() == 0 ? "生肖参数0~11" : "生肖参数1~12";
    text += codes.sequential() ? "，按顺序取值" : "，按年龄取值（" + std::to_string(codes.tableYear()) + " 年码表）";
    text += settings.segmentOffset == 0 ? "，段数参数0~9" : "，段数参数1~10";
    return text;
}

}  // namespace drawfollow
