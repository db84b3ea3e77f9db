// The window's ordered view of the history (the read-only snapshot in issue order): every stored
// draw's issue and own values, in issue order. Read once at start-up and after a
// deletion; a stored draw is appended to it in memory.
#pragma once

#include "app/panel_logic.h"
#include "store/history_db.h"

#include <vector>

namespace drawfollow {

// Reads only the columns the window needs (SQQH and the 48 own values).
std::vector<StoredDraw> readSnapshot(HistoryDb& db);

StoredDraw storedDrawOf(const DrawRow& row);

}  // namespace drawfollow
