// The base draw of the verification tab (验证指定期): the draw a search would have been
// run on just before issue X was drawn.
//
// The base is the stored draw immediately before X in issue order (X itself need not be
// stored), in 前期 mode N − 1 more rows back. Looking for "X − 1, or issue 154 of the year
// before for a year's first issue" would miss every year that ended at another issue
// (they end anywhere from 135 to 154) and leave the panel on stale values. When there is
// no base (X at or before the first stored draw, too few draws before it, a gap outside
// 1..9 in 前期 mode) the search must refuse to run.
#pragma once

#include "analysis/search.h"
#include "store/draw_row.h"

#include <cstddef>
#include <optional>
#include <span>

namespace drawfollow {

struct VerificationBase {
    size_t baseIndex = 0;  // index of the base draw in the ordered history
    int baseIssue = 0;     // its SQQH
    // The stored draw immediately before X: the range end 止 when Check4 仅检索该期前 is ticked.
    int rangeEnd = 0;
};

// `issues`: SQQH of every stored draw in rising order.
std::optional<VerificationBase> findVerificationBase(std::span<const int> issues, int issue, bool previousIssue,
                                                     int gap);
// The same over the ordered history ("SELECT * FROM lishi ORDER BY SQQH").
std::optional<VerificationBase> findVerificationBase(std::span<const DrawRow> history, int issue, bool previousIssue,
                                                     int gap);

// The position values a stored draw gives for a search kind (fields "L" + i + letter).
PositionValues positionValues(const DrawRow& row, Kind searchKind);

}  // namespace drawfollow
