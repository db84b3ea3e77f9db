// DrawNumbers, beside Lishi: every stored draw's issue and eight numbers, from which its row's
// own values derive under the recorded settings (store/derivation_record.h). A question reads
// these few bytes a draw instead of the wide rows. Triggers on Lishi write it in the very
// statement, so in the very transaction, of every change of Lishi, by any program that writes
// the file; DrawNumbersCheck records the schema version under which both were last found to
// hold the same draws. Only a change of the schema can drop or alter a trigger, so a schema
// version other than the recorded one is what calls for comparing them again.
#pragma once

#include "store/draw_row.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace drawfollow {

inline constexpr const char* kDrawNumbersTable = "DrawNumbers";
inline constexpr const char* kDrawNumbersCheckTable = "DrawNumbersCheck";
// The search whose fields Lishi holds, as keepSearchFields describes it; emptied by the same
// triggers on every change of Lishi, so that a search repeated on an unchanged history need
// not read every row to find that nothing is to be written.
inline constexpr const char* kSearchFieldsKeptTable = "SearchFieldsKept";

// The columns of each table, for the check of an opened file.
const std::vector<std::string>& drawNumbersColumns();
const std::vector<std::string>& drawNumbersCheckColumns();
const std::vector<std::string>& searchFieldsKeptColumns();

// The search recorded as the one whose fields every row holds; none after any change of Lishi,
// and in a file of the version before.
std::optional<std::string> keptSearchFields(SQLite::Database& db);
// Records it, after its fields were written or found in place, within that transaction.
void recordKeptSearchFields(SQLite::Database& db, const std::string& search);

// Creates what is missing of both tables, writes the triggers afresh, fills the table from
// Lishi and records the schema version. Within the caller's transaction.
void rebuildDrawNumbers(SQLite::Database& db);

// Whether the table is known to hold Lishi's draws: the schema has not changed since it was
// last compared or written whole. Cheap: two small reads.
bool drawNumbersInStep(SQLite::Database& db);

// At opening: when the table is not known to be in step, compares it with Lishi (count and a
// checksum of issues and numbers) in one write transaction and rebuilds it when they differ.
// A file that cannot be written (read-only, or kept busy by another program beyond the wait)
// is left as it is; its draws are then read from Lishi.
void bringDrawNumbersInStep(SQLite::Database& db);

// This program's own additions of rows: Lishi and DrawNumbers written side by side with the
// triggers off, on this connection only, for as long as it lives. With triggers, every
// single-row INSERT or UPDATE journals its statement, a copy of each large page it touches,
// row after row: an import would take three times as long. SearchFieldsKept is emptied as
// the triggers would empty it.
class DirectDrawWrites {
public:
    explicit DirectDrawWrites(SQLite::Database& db);
    ~DirectDrawWrites();
    DirectDrawWrites(const DirectDrawWrites&) = delete;
    DirectDrawWrites& operator=(const DirectDrawWrites&) = delete;

    // After the draw's row went into Lishi.
    void added(const DrawInput& draw);
    // After every row of Lishi was deleted (at once, as SQLite empties a table without triggers).
    void removedAll();

private:
    SQLite::Database& db_;
    int triggersBefore_ = 1;
    std::unique_ptr<SQLite::Statement> insert_;
};

// Every stored draw's issue and numbers, in issue order.
std::vector<DrawInput> readDrawNumbers(SQLite::Database& db);

}  // namespace drawfollow
