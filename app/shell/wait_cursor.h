// The hourglass pointer for the length of a scope: long work shows it, and every way out
// of the work, an exception included, restores the pointer.
#pragma once

#include <QApplication>
#include <QCursor>

namespace drawfollow {

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace drawfollow
