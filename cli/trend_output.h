// omission|trend: the figures and the chart as JSON or as aligned text.
#pragma once

#include "analysis/trend_table.h"

#include <nlohmann/json.hpp>

#include <string>

namespace drawfollow::cli {

// {"draws": N, "values": [{"value", "text", "count", "draws", "current", "max", "average",
// "max_streak", "last_issue"}…]} in the tally's value order; last_issue is null when never.
nlohmann::ordered_json omissionJson(const TrendTable& table);

// {"columns": [value texts], "rows": [{"issue", "omission": [...], "count": [...]}…]}.
nlohmann::ordered_json trendJson(const TrendTable& table);

// A line on the range, then one line per value with its figures.
std::string omissionText(const TrendTable& table);

// A line on the range, then the chart: one line per draw, a drawn value as "[text]" (with
// "×n" when the scope holds it n times), any other its omission; the figures' lines below.
std::string trendText(const TrendTable& table);

}  // namespace drawfollow::cli
