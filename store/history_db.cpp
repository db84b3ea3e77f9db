#include "store/history_db.h"

#include "store/derivation_record.h"
#include "store/draw_numbers.h"
#include "store/draw_row_reader.h"
#include "store/failure_text.h"
#include "store/schema.h"
#include "store/whole_file_check.h"

#include <sqlite3.h>

namespace drawfollow {

namespace {

// A few changes of a long history's rows; the journal of a larger change is cut back to it.
constexpr int kJournalSizeLimit = 4 << 20;

// The page cache, counted in pages. SQLite's default is given in kibibytes and turned into a
// page count at the default page size of 4 KiB, before a new file or VACUUM's copy takes its
// 64 KiB pages: an import into a new file or a compaction then cached 500 large pages, 32 MB.
constexpr int kCachePages = 32;

std::string quoted(const std::filesystem::path& p) {
    return "“" + p.string() + "”";
}

std::string insertSql() {
    std::string cols, params;
    for (const auto& name : lishiColumns()) {
        if (!cols.empty()) {
            cols += ',';
            params += ',';
        }
        cols += name;
        params += '?';
    }
    return "INSERT INTO Lishi (" + cols + ") VALUES (" + params + ")";
}

SQLite::Database openFile(const std::filesystem::path& file) {
    try {
        // A connection is used by one thread at a time (each worker opens its own): without
        // SQLite's per-call lock, reading every row of a long history costs a fifth less.
        return SQLite::Database(file.string(), SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE | SQLite::OPEN_NOMUTEX);
    } catch (const SQLite::Exception& e) {
        throw StoreError("无法打开历史数据库文件 " + quoted(file) + "：" +
                         sqliteFailureText(e.getExtendedErrorCode(), e.what()));
    }
}

// SQLite's word that the file is not a database, or that a page of it is not what it must
// be; none for any other failure.
std::optional<std::string> damageFound(const SQLite::Exception& e) {
    switch (e.getErrorCode() & 0xff) {
        case SQLITE_NOTADB:
            return std::string("不是有效的历史数据库，或者文件头已损坏：") + e.what();
        case SQLITE_CORRUPT:
            return std::string("SQLite 读到了损坏的内容：") + e.what();
        default:
            return std::nullopt;
    }
}

}  // namespace

DamagedHistoryFile::DamagedHistoryFile(std::filesystem::path file, std::string fault, const std::string& wayBack)
    : StoreError("历史数据库文件 " + quoted(file) + " 已损坏（" + fault +
                 "），程序不读取也不写入它，以免把坏的内容当作历史号码。" + (wayBack.empty() ? "" : "\n" + wayBack)),
      file_(std::move(file)),
      fault_(std::move(fault)) {}

HistoryDb::HistoryDb(const std::filesystem::path& file, std::chrono::milliseconds busyTimeout)
    : path_(file), db_(openFile(file)) {
    try {
        // The window and scripts may share the file: a change by another program is waited for.
        db_.setBusyTimeout(static_cast<int>(busyTimeout.count()));
        db_.exec("PRAGMA cache_size = " + std::to_string(kCachePages));
        // The first access to the file: a foreign or damaged file fails here.
        requireWholeFile(db_, file);
        const int version = db_.execAndGet("PRAGMA user_version").getInt();
        const int tables = db_.execAndGet("SELECT count(*) FROM sqlite_master").getInt();
        if (version == 0 && tables == 0)
            createSchemaOnce();
        else if (version > kSchemaVersion)
            throw StoreError("历史数据库文件 " + quoted(file) + " 由较新版本的程序建立（格式版本 " +
                             std::to_string(version) + "），本程序无法使用。");
        const std::string missing = missingSchemaParts(db_);
        if (!missing.empty())
            throw StoreError("文件 " + quoted(file) + " 不是本程序的历史数据库：缺少" + missing + "。");
        upgradeSchema(db_);
        bringDrawNumbersInStep(db_);
        // The journal is kept between transactions with its header cleared, which is as safe
        // as deleting it: a search that rewrites a long history then spends a tenth less time.
        // Left alone it would stay as large as the largest change ever made (the whole file,
        // after a search or a trim); beyond the limit it is cut back after each change.
        db_.exec("PRAGMA journal_mode = PERSIST");
        db_.exec("PRAGMA journal_size_limit = " + std::to_string(kJournalSizeLimit));
    } catch (const SQLite::Exception& e) {
        if (isDatabaseBusy(e))
            throw StoreError(kDatabaseBusyMessage);
        if (const auto damage = damageFound(e))
            throw DamagedHistoryFile(file, *damage);
        throw StoreError("无法打开历史数据库文件 " + quoted(file) + "：" +
                         sqliteFailureText(e.getExtendedErrorCode(), e.what()));
    }
}

void HistoryDb::createSchemaOnce() {
    // Two programs starting on a new data folder: the second finds the tables made. The
    // page size must be set before the transaction reads the empty file's header.
    db_.exec("PRAGMA page_size = " + std::to_string(kPageSize));
    WriteTransaction tx(*this);
    if (db_.execAndGet("SELECT count(*) FROM sqlite_master").getInt() == 0)
        createSchema(db_);
    tx.commit();
}

HistoryDb::~HistoryDb() = default;

int HistoryDb::execute(std::string_view sql) {
    return db_.exec(std::string(sql));
}

std::optional<DerivationSettings> HistoryDb::recordedDerivation() {
    return readDerivationRecord(db_);
}

void HistoryDb::insertRow(const DrawRow& row, DirectDrawWrites& direct) {
    if (!insert_)
        insert_ = std::make_unique<SQLite::Statement>(db_, insertSql());
    // reset() would report the last run's failure again, already thrown and rolled back
    // (a cancelled or a full-disk insert): that would fail every later insert once.
    insert_->tryReset();
    insert_->clearBindings();
    bindDrawRow(*insert_, row);
    insert_->exec();
    direct.added({row.issue, row.numbers()});
}

void HistoryDb::insertRows(std::span<const DrawInput> draws, CarriedDraws carried, const DerivationSettings& settings,
                           const BatchProgress& progress) {
    const auto newestStored = newest();
    int last = newestStored ? newestStored->issue : 0;
    DirectDrawWrites direct(db_);
    for (size_t i = 0; i < draws.size(); ++i) {
        const DrawInput& d = draws[i];
        if (d.issue <= last)
            throw StoreError("期号 " + std::to_string(d.issue) + " 不大于已存的最新期号 " + std::to_string(last) +
                             "：历史号码必须按期号递增添加。");
        const DrawRow row = deriveRow(d, carried, settings);
        insertRow(row, direct);
        carried.advance(row.own);
        last = d.issue;
        if (progress && (i % 256 == 255 || i + 1 == draws.size()) && !progress(i + 1, draws.size()))
            throw StoreError("操作已取消，历史号码未作任何改动。");
    }
}

DrawRow HistoryDb::append(const DrawInput& draw, const DerivationSettings& settings) {
    WriteTransaction tx(*this);
    const auto rows = newestRows(2);
    const DrawRow* newestRow = rows.empty() ? nullptr : &rows.back();
    const DrawRow* beforeNewest = rows.size() < 2 ? nullptr : &rows.front();
    if (newestRow && draw.issue <= newestRow->issue)
        throw StoreError("期号 " + std::to_string(draw.issue) + " 不大于已存的最新期号 " +
                         std::to_string(newestRow->issue) + "：历史号码必须按期号递增添加。");
    requireDerivation(db_, settings, rows.empty());
    DrawRow row = deriveRow(draw, CarriedDraws::fromNewest(beforeNewest, newestRow), settings);
    DirectDrawWrites direct(db_);
    insertRow(row, direct);
    tx.commit();
    return row;
}

void HistoryDb::appendAfterNewest(std::span<const DrawInput> draws, const DerivationSettings& settings,
                                  const BatchProgress& progress) {
    const auto rows = newestRows(2);
    const DrawRow* newestRow = rows.empty() ? nullptr : &rows.back();
    const DrawRow* beforeNewest = rows.size() < 2 ? nullptr : &rows.front();
    requireDerivation(db_, settings, rows.empty());
    insertRows(draws, CarriedDraws::fromNewest(beforeNewest, newestRow), settings, progress);
}

void HistoryDb::appendBatch(std::span<const DrawInput> draws, const DerivationSettings& settings,
                            const BatchProgress& progress) {
    WriteTransaction tx(*this);
    appendAfterNewest(draws, settings, progress);
    tx.commit();
}

size_t HistoryDb::dropBeforeAndAppend(int firstKeptIssue, std::span<const DrawInput> draws,
                                      const DerivationSettings& settings) {
    WriteTransaction tx(*this);
    SQLite::Statement drop(db_, "DELETE FROM lishi WHERE SQQH < ?");
    drop.bind(1, firstKeptIssue);
    const int dropped = drop.exec();
    // The first draw appended follows what is left: when every older draw went, it has none.
    appendAfterNewest(draws, settings, {});
    tx.commit();
    return static_cast<size_t>(dropped);
}

void HistoryDb::replaceAll(std::span<const DrawInput> draws, const DerivationSettings& settings, bool backLists,
                           const BatchProgress& progress) {
    WriteTransaction tx(*this);
    DirectDrawWrites direct(db_);
    db_.exec("DELETE FROM lishi");
    direct.removedAll();
    CarriedDraws carried;
    carried.fillBackLists = backLists;
    insertRows(draws, carried, settings, progress);
    writeDerivationRecord(db_, settings);
    tx.commit();
}

bool HistoryDb::deleteNewest() {
    WriteTransaction tx(*this);
    const bool deleted = db_.exec("DELETE FROM lishi WHERE SQQH = (SELECT max(SQQH) FROM lishi)") > 0;
    tx.commit();
    return deleted;
}

void HistoryDb::deleteAll() {
    WriteTransaction tx(*this);
    DirectDrawWrites direct(db_);
    db_.exec("DELETE FROM lishi");
    direct.removedAll();
    tx.commit();
}

void HistoryDb::compact() {
    // VACUUM writes the new file through the journal: a failure leaves the old one intact.
    insert_.reset();
    db_.exec("PRAGMA page_size = " + std::to_string(kPageSize));
    db_.exec("VACUUM");
    // The rebuilt file has a new schema version: the draws are compared once and it is
    // recorded. Should that fail, the compaction still stands and the next opening compares.
    try {
        bringDrawNumbersInStep(db_);
    } catch (const SQLite::Exception&) {
    }
}

int nextIssue(HistoryDb& db, const Clock& clock) {
    const auto row = db.newest();
    if (row && row->nextIssue >= 1)
        return row->nextIssue;
    return clock.currentYear() * 1000 + 1;
}

int startupCodeTableYear(int nextIssue) {
    return zodiacYearOfIssue(nextIssue);
}

}  // namespace drawfollow
