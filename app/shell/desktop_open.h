// Hands a file or an address to the desktop's program for it, without waiting for that
// program. The system's opener may start and then find no program for the file (no browser,
// no spreadsheet program): that failure arrives later, and the player must still hear of it.
#pragma once

#include <QUrl>

#include <functional>

class QObject;

namespace drawfollow {

// Runs xdg-open on `url`; `notOpened` runs on this thread when xdg-open cannot be started
// or ends in failure, unless `context` is gone by then.
void openOnDesktop(const QUrl& url, const QObject* context, std::function<void()> notOpened);

}  // namespace drawfollow
