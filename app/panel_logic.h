// The pure rules of the search panel: which stored draw supplies the
// reference values, the verification base draw, the issue range and the value texts.
// Qt-free, so that the searches and the command line can use the same rules.
#pragma once

#include "analysis/search.h"
#include "analysis/verification_base.h"
#include "store/attributes.h"
#include "store/draw.h"
#include "store/draw_row.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace drawfollow {

// The gap of 前期 mode: one digit, 1..9 (0 would make a draw its own reference).
inline constexpr int kMinGap = 1;
inline constexpr int kMaxGap = 9;

// Where a base draw stands in the history (issue order), or why there is none.
struct BaseLookup {
    std::optional<size_t> index;
    std::string problem;  // plain words for the panel when there is no base draw

    bool found() const { return index.has_value(); }
};

// First tab (panel refresh): the newest draw in 上期 mode, the gap-th newest in 前期 mode.
// A history shorter than the gap gives no base draw, never a stale or wrapped one.
BaseLookup referenceDraw(std::span<const StoredDraw> history, bool previousIssue, int gap);

// Third tab: the base of analysis/verification_base.h — the stored
// draw immediately before issue x (x itself need not be stored), gap - 1 draws further
// back in 前期 mode — or, when there is none, why not in plain words.
struct VerificationLookup {
    std::optional<VerificationBase> base;
    std::string problem;
};
VerificationLookup verificationLookup(std::span<const StoredDraw> history, int x, bool previousIssue, int gap);

// The issue before x by arithmetic: x - 1, or for a year's first issue
// the previous year's issue 154, whatever that year's real last issue was.
int issueBeforeByRule(int x);

// The range end Check4 仅检索该期前 sets: the stored draw immediately before x, as the
// verification base has it; by the arithmetic rule only when no draw is stored before x.
// For a year's first issue that is the previous year's real last draw (years end at 135
// to 154); both select the same rows.
int rangeEndBefore(std::span<const StoredDraw> history, int x);

// Range start: the first stored issue + 1 in 上期 mode, + gap in 前期 mode;
// none for an empty history (the box keeps its text).
std::optional<int> rangeStart(std::span<const StoredDraw> history, bool previousIssue, int gap);

// Range end: the newest stored issue; none for an empty history.
std::optional<int> rangeEnd(std::span<const StoredDraw> history);

// The eight values of one kind of a stored draw, position 1 first.
PositionValues valuesOf(const StoredDraw& draw, Kind kind);

// A position value as the panel names it: for the zodiac kind the name of the animal whose
// code in the current code table is the value (the code itself when no animal has it),
// otherwise the value in decimal.
std::string valueLabel(Kind kind, int value, const ZodiacCodeTable& codes);

// An issue typed by the user: exactly seven digits, sequence 001..999; none otherwise.
std::optional<int> parseIssue(std::string_view text);

}  // namespace drawfollow
