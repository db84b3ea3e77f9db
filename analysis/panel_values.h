// What the search panel's boxes hold: the values of one kind of a stored draw, the text a
// value is shown with, and an issue as the user types it. Qt-free, so that the window and
// the command line read and show values alike.
#pragma once

#include "analysis/search.h"
#include "store/attributes.h"
#include "store/draw.h"
#include "store/draw_row.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// The eight values of one kind of a stored draw, position 1 first.
PositionValues valuesOf(const StoredDraw& draw, Kind kind);

// Every stored draw's issue, in the history's order.
std::vector<int> issuesOf(std::span<const StoredDraw> history);

// The text a position value is shown with: for the zodiac kind the name of the animal whose
// code in the current code table is the value (the code itself when no animal has it),
// otherwise the value in decimal.
std::string valueLabel(Kind kind, int value, const ZodiacCodeTable& codes);

// Position p (1..8) in grids and messages: "平3码", "特码".
std::string positionLabel(int position);

// An issue typed by the user: exactly seven digits, sequence 001..999; none otherwise.
std::optional<int> parseIssue(std::string_view text);

}  // namespace drawfollow
