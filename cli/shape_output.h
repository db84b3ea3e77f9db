// shape: a measure's distribution over a range beside chance, as JSON or as aligned text.
#pragma once

#include "analysis/shape_table.h"

#include <iosfwd>
#include <string>

namespace drawfollow::cli {

// {"draws": N, "values": [{"value", "count", "expected", "p_value"}…], "chi2", "df", "p",
// "verdict", "trend": [{"issue", "value"}…]}: p_value is the chance of the value in one draw,
// a zone value is "3:2:2", chi2 and p are null without a test, a trend value is null for
// 重号 of the history's first draw.
// The trend is written draw by draw rather than as one tree.
void writeShapeJson(std::ostream& out, const ShapeTable& table, const ShapeDistribution& distribution);

// A line on the range, the values with their counts and chances, then the test.
std::string shapeText(const ShapeTable& table, const ShapeDistribution& distribution);

}  // namespace drawfollow::cli
