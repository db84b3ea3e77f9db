// What the trend charts plot, worked out from the chart's tables without any widget.
#pragma once

#include "analysis/trend_table.h"

#include <vector>

namespace drawfollow {

// Per column, how often the value came per draw over `whole` (its count / the draws);
// zero throughout when `whole` holds no draw.
std::vector<double> countsPerDraw(const TrendTable& whole);

// Per column of `range`, the count a value would have had over the range's draws had it
// come at its rate `perDraw` (of a table listing the same values): N × rate.
std::vector<double> expectedCounts(const TrendTable& range, const std::vector<double>& perDraw);

// The count of `column` in each window of `window` consecutive draws, one per draw from
// the window's last draw on (a range of N draws gives N − window + 1 windows; none when it
// is shorter than one window).
std::vector<int> windowCounts(const TrendTable& table, int column, int window);

struct LinePoint {
    int x;
    int y;
};

// The points of the line through `counts` (the first at `firstX`, one apart) that a chart
// draws alike in `buckets` pixel columns: of each bucket of consecutive points its first,
// lowest, highest and last, in their order. Every point when there are no more than four
// per bucket. A chart's own work grows with its points, and 100,000 of them hold the
// window's thread for a third of a second.
std::vector<LinePoint> pixelLine(const std::vector<int>& counts, int firstX, int buckets);

}  // namespace drawfollow
