// The history database: one SQLite file holding Lishi and Carcu.
#pragma once

#include "store/clock.h"
#include "store/draw_row.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

#include <array>
#include <chrono>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

class DirectDrawWrites;

// A failure of the history store, with a message fit to show to the user.
class StoreError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A history file found damaged on opening: never read as a history, never written. The
// message names the file and the fault, then the way back when the caller knows one.
class DamagedHistoryFile : public StoreError {
public:
    DamagedHistoryFile(std::filesystem::path file, std::string fault, const std::string& wayBack = {});
    const std::filesystem::path& file() const { return file_; }
    const std::string& fault() const { return fault_; }

private:
    std::filesystem::path file_;
    std::string fault_;
};

// What the user is told when another program keeps the history database locked for longer
// than a command waits.
inline constexpr const char* kDatabaseBusyMessage = "历史数据库正被另一个程序使用，请稍后再试";

// How long a command waits for another program's change of the same file to end: a trim of
// a long history or its compaction takes a few seconds.
inline constexpr std::chrono::milliseconds kBusyTimeout{10000};

// True when a failure came from another connection holding the file (SQLITE_BUSY or
// SQLITE_LOCKED after the wait).
bool isDatabaseBusy(const std::exception& e);

// The text to show for a failure that reached a command's boundary: the busy message for a
// busy database; for any other failure of SQLite or of the system, a sentence that says what
// happened and what to do, the original text after it for a bug report (store/failure_text.h);
// the failure's own text otherwise.
std::string failureText(const std::exception& e);

// Called while a batch is stored: rows done, rows in all. Returning false cancels the
// batch, which then changes nothing.
using BatchProgress = std::function<bool(size_t done, size_t total)>;

// One stored row's values of one kind, positions 1..8.
struct KindValues {
    int issue = 0;
    std::array<int, kPositions> values{};
};

// Every stored draw's issue and own values in issue order, with the issues alone beside them
// for the searches by issue; read once and shared read-only.
struct StoredHistory {
    std::vector<StoredDraw> draws;
    std::vector<int> issues;

    static StoredHistory of(std::vector<StoredDraw> draws);
};

// One row of Carcu: a value of the result kind and how often the selected rows hold it.
struct TallyRow {
    int value = 0;  // Nmb
    int count = 0;  // Count
};

class HistoryDb {
public:
    static constexpr const char* kFileName = "ZembraRAV.db";

    // Opens the file, creating it with its tables when it does not exist or is empty.
    // A damaged file (store/whole_file_check.h) or one that is not an SQLite database throws
    // DamagedHistoryFile; one that lacks a table or a column is refused; one that another
    // program keeps locked for longer than `busyTimeout` is reported busy.
    explicit HistoryDb(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout = kBusyTimeout);
    ~HistoryDb();
    HistoryDb(const HistoryDb&) = delete;
    HistoryDb& operator=(const HistoryDb&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The open connection, for the search's scratch-field update, which registers its own
    // SQL functions, and for tests. Every other query on the
    // history is a method here.
    SQLite::Database& connection() { return db_; }

    // Runs one SQL statement; the rows it changed.
    int execute(std::string_view sql);

    // The queries on the stored rows (history_reads.cpp); every list is in issue order.

    // The newest `count` rows, oldest first.
    std::vector<DrawRow> newestRows(int count);
    std::optional<DrawRow> newest();
    // The row of `issue`; none when that issue is not stored.
    std::optional<DrawRow> rowOfIssue(int issue);
    int drawCount();
    // How many stored draws have an issue below `issue`.
    int drawCountBefore(int issue);
    // Every stored issue.
    std::vector<int> issues();
    // Every stored draw's issue and numbers, as a history text file holds them.
    std::vector<DrawInput> draws();
    // Every stored draw's issue and own values, in one read transaction, without reading the
    // wide rows: derived from DrawNumbers under the recorded settings while that table is in
    // step. Otherwise (a file that could not be upgraded, or one without a record) the values
    // of `kinds` and the numbers are read from Lishi and the other kinds hold 0.
    std::vector<StoredDraw> drawValues(std::span<const Kind> kinds = kAllKinds);
    // The same, shared: the draws derived from DrawNumbers are kept while nothing can have
    // changed them (no commit by another connection, no change and no schema change by this
    // one), so that a question asked again reads two numbers instead of every draw.
    std::shared_ptr<const StoredHistory> sharedDrawValues(std::span<const Kind> kinds = kAllKinds);
    // Hands every stored row to `visit` with its fields as the file holds them, named by
    // their columns, NULL where unset; one row at a time, so that a history of any length
    // needs the memory of one row.
    void forEachRowAsStored(const std::function<void(const SQLite::Statement& fields)>& visit);
    // The settings the stored rows were derived with (store/derivation_record.h); none for
    // a file of an older version that has not been derived again since.
    std::optional<DerivationSettings> recordedDerivation();

    // Adding refuses settings that differ from the recorded ones, unless the history is
    // empty; replacing records the settings it derived the rows with.

    // Every method that changes the history runs in a WriteTransaction of its own, which
    // joins the caller's when one is open: a command that reads the history and then
    // changes it opens one first, so that no other program changes it in between.

    // Appends one draw after the newest stored one, deriving its row from the two newest.
    DrawRow append(const DrawInput& draw, const DerivationSettings& settings);
    // Appends draws in order, carrying the predecessors in memory; one transaction.
    void appendBatch(std::span<const DrawInput> draws, const DerivationSettings& settings,
                     const BatchProgress& progress = {});
    // Deletes the draws with an issue below `firstKeptIssue`, then appends the draws after
    // what is left, as appendBatch would; one transaction. Returns how many were deleted.
    size_t dropBeforeAndAppend(int firstKeptIssue, std::span<const DrawInput> draws,
                               const DerivationSettings& settings);
    // Replaces the whole history with the draws, deriving every row afresh; one transaction.
    // With backLists the txtHisPreLst family is filled too, as the rebuild does.
    void replaceAll(std::span<const DrawInput> draws, const DerivationSettings& settings, bool backLists = false,
                    const BatchProgress& progress = {});

    // Derives every stored row again under `settings` in one pass and one transaction,
    // carrying the predecessors in memory, and records the settings (history_rederive.cpp).
    // Issues, numbers, QQH, strQQH, intTh, bolOk and txtHisP6 stay; the txtHisPreLst family
    // is cleared. Returns how many rows were derived.
    size_t rederiveAll(const DerivationSettings& settings, const BatchProgress& progress = {});

    // What a search writes besides its scratch fields (search_rows.cpp).
    // Leaves Carcu holding exactly `rows`, in their order (rowids from 1); it is rewritten
    // only when it holds anything else.
    void storeTally(std::span<const TallyRow> rows);

    // Deletes the newest draw; false when the history was empty.
    bool deleteNewest();
    void deleteAll();

    // Reclaims the space of deleted rows; the file is left as it was if this fails.
    void compact();

private:
    void createSchemaOnce();
    void appendAfterNewest(std::span<const DrawInput> draws, const DerivationSettings& settings,
                           const BatchProgress& progress);
    void insertRows(std::span<const DrawInput> draws, CarriedDraws carried, const DerivationSettings& settings,
                    const BatchProgress& progress);
    void insertRow(const DrawRow& row, DirectDrawWrites& direct);

    // What tells whether the stored draws may have changed since they were read.
    struct HistoryStamp {
        long long schemaVersion = 0;
        long long dataVersion = 0;  // moves with another connection's commits
        long long ownChanges = 0;   // rows this connection changed, rolled back ones included
        bool operator==(const HistoryStamp&) const = default;
    };
    HistoryStamp stamp();
    // Within the caller's read transaction; `derived` says whether every kind was derived.
    StoredHistory readDrawValues(std::span<const Kind> kinds, bool& derived);

    std::filesystem::path path_;
    SQLite::Database db_;
    std::unique_ptr<SQLite::Statement> insert_;
    std::shared_ptr<const StoredHistory> kept_;
    HistoryStamp keptStamp_;
};

// The write lock for one change of the history: taken before anything is read (BEGIN
// IMMEDIATE, waiting for another program's change to end), so that what the change read is
// still true when it writes, and held until commit() or the end of the scope, which rolls
// everything back. Opened while another transaction is open, it is a savepoint within it,
// so that HistoryDb methods can be called from a larger change and still be all or nothing.
class WriteTransaction {
public:
    explicit WriteTransaction(HistoryDb& db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit();

private:
    SQLite::Database& db_;
    bool nested_;
    bool finished_ = false;
};

// One consistent view of the history for a command that only reads: every read inside it
// sees the same committed state, however many programs change the file meanwhile (their
// commits wait until it ends). Opened inside another transaction it adds nothing.
class ReadTransaction {
public:
    explicit ReadTransaction(HistoryDb& db);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    SQLite::Database& db_;
    bool owned_;
};

// A number that changes whenever another connection commits a change of the file, so that
// what was read earlier can be known to be still what the file holds.
long long dataVersion(HistoryDb& db);

// True when a failure came from a history that cannot be written (a read-only file or folder).
bool isReadOnlyHistory(const std::exception& e);

// The issue the next draw gets: the newest row's QQH, or the calendar year's first issue
// when there is none.
int nextIssue(HistoryDb& db, const Clock& clock);

// The zodiac year start-up builds the code table for: that of the next issue.
int startupCodeTableYear(int nextIssue);

}  // namespace drawfollow
