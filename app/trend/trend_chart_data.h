// What the trend charts plot, worked out from the chart's tables without any widget.
#pragma once

#include "analysis/trend_table.h"

#include <vector>

namespace drawfollow {

// Per column of `range`, the count a value would have had over the range's draws had it
// come as often as it did over the whole history: N × (its count in `whole` / the draws of
// `whole`). Zero throughout when `whole` holds no draw. Both tables list the same values.
std::vector<double> expectedCounts(const TrendTable& range, const TrendTable& whole);

// The count of `column` in each window of `window` consecutive draws, one per draw from
// the window's last draw on (a range of N draws gives N − window + 1 windows; none when it
// is shorter than one window).
std::vector<int> windowCounts(const TrendTable& table, int column, int window);

}  // namespace drawfollow
