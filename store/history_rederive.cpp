// Deriving every stored row again, when the settings the rows depend on change.
#include "store/derivation_record.h"
#include "store/draw_numbers.h"
#include "store/draw_row_reader.h"
#include "store/history_db.h"
#include "store/schema.h"

namespace drawfollow {

namespace {

std::string rederiveSql() {
    std::string sql = "UPDATE Lishi SET ";
    bool first = true;
    for (const auto& name : derivedColumns()) {
        sql += (first ? "" : ", ") + name + " = ?";
        first = false;
    }
    return sql + " WHERE SQQH = ?";
}

}  // namespace

size_t HistoryDb::rederiveAll(const DerivationSettings& settings, const BatchProgress& progress) {
    WriteTransaction tx(*this);
    const std::vector<DrawInput> stored = draws();
    // The numbers stay: only the search's record is to be forgotten.
    const DirectDrawWrites direct(db_);
    SQLite::Statement update(db_, rederiveSql());
    // The rows are written as an import writes them: the txtHisPreLst family, a search's
    // scratch copy, is cleared rather than left holding codes of the old table.
    CarriedDraws carried;
    for (size_t i = 0; i < stored.size(); ++i) {
        const DrawRow row = deriveRow(stored[i], carried, settings);
        update.reset();
        const int next = bindDerivedFields(update, row, 1);
        update.bind(next, row.issue);
        update.exec();
        carried.advance(row.own);
        if (progress && (i % 256 == 255 || i + 1 == stored.size()) && !progress(i + 1, stored.size()))
            throw StoreError("操作已取消，历史号码未作任何改动。");
    }
    writeDerivationRecord(db_, settings);
    tx.commit();
    return stored.size();
}

}  // namespace drawfollow
