#include "store/cancel_guard.h"

#include "store/history_db.h"

#include <sqlite3.h>

namespace drawfollow {

namespace {

// Virtual machine steps between two looks at the flag: often enough to stop within a few
// milliseconds, rarely enough to cost nothing measurable.
constexpr int kStepsBetweenChecks = 4000;

int stopWhenCancelled(void* flag) {
    return static_cast<const std::atomic<bool>*>(flag)->load(std::memory_order_relaxed) ? 1 : 0;
}

}  // namespace

CancelGuard::CancelGuard(HistoryDb& db, const std::atomic<bool>& cancelled) : db_(db) {
    sqlite3_progress_handler(db_.connection().getHandle(), kStepsBetweenChecks, &stopWhenCancelled,
                             const_cast<std::atomic<bool>*>(&cancelled));
}

CancelGuard::~CancelGuard() {
    sqlite3_progress_handler(db_.connection().getHandle(), 0, nullptr, nullptr);
}

bool isCancelled(const std::exception& e) {
    const auto* sqlite = dynamic_cast<const SQLite::Exception*>(&e);
    return sqlite && (sqlite->getErrorCode() & 0xff) == SQLITE_INTERRUPT;
}

}  // namespace drawfollow
