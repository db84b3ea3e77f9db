// omission|trend: the figures and the chart as JSON or as aligned text, written as the walk
// produces the rows.
#pragma once

#include "analysis/trend_table.h"

#include <iosfwd>

namespace drawfollow::cli {

// {"draws": N, "values": [{"value", "text", "count", "draws", "current", "max", "average",
// "max_streak", "last_issue"}…]} in the tally's value order; last_issue is null when never.
void writeOmissionJson(std::ostream& out, TrendWalk& walk);

// {"columns": [value texts], "rows": [{"issue", "omission": [...], "count": [...]}…]}.
void writeTrendJson(std::ostream& out, TrendWalk& walk);

// A line on the range, then one line per value with its figures.
void writeOmissionText(std::ostream& out, TrendWalk& walk);

// A line on the range, then the chart: one line per draw, a drawn value as "[text]" (with
// "×n" when the scope holds it n times), any other its omission; the figures' lines below.
// The walk runs twice: once to measure the columns, once to write the lines.
void writeTrendText(std::ostream& out, TrendWalk& walk);

}  // namespace drawfollow::cli
