// Lets another thread stop whatever a connection is doing: while a CancelGuard lives, every
// statement on the connection checks the flag every few thousand steps and stops with
// SQLITE_INTERRUPT once it is set. A change that stops so throws, and its WriteTransaction
// rolls everything back, so a cancelled change leaves the file as it was.
#pragma once

#include <atomic>
#include <exception>

namespace drawfollow {

class HistoryDb;

class CancelGuard {
public:
    CancelGuard(HistoryDb& db, const std::atomic<bool>& cancelled);
    ~CancelGuard();
    CancelGuard(const CancelGuard&) = delete;
    CancelGuard& operator=(const CancelGuard&) = delete;

private:
    HistoryDb& db_;
};

// Whether a failure is a statement stopped by a CancelGuard.
bool isCancelled(const std::exception& e);

}  // namespace drawfollow
