// The issue box and the eight entry boxes checked before anything is stored. An empty box,
// a number outside 01..30, a repeated number or an issue that is not after the newest
// stored one would give a row that corrupts every later search, so none is stored.
#pragma once

#include "store/draw.h"
#include "store/draw_row.h"

#include <QString>

#include <array>
#include <optional>

namespace drawfollow {

struct EntryCheck {
    std::optional<DrawInput> draw;  // the draw to store, when the boxes hold one
    int box = -1;                   // what to correct: 0 the issue box, 1..8 a number box
    QString problem;                // a message naming that box
};

// A box holding one digit counts as that number.
EntryCheck checkEntry(const QString& issueText, const std::array<QString, kPositions>& boxes,
                      std::optional<int> newestIssue);

}  // namespace drawfollow
