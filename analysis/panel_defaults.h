// What the search panel holds before the user changes anything: the base draw of the
// first tab (自动历史位) and the issue range. The window and the command line start from
// the same values.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

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

// First tab: of `draws` stored draws, the newest in 上期 mode, the gap-th newest in 前期
// mode. A history shorter than the gap gives no base draw, never a stale or wrapped one.
BaseLookup referenceDraw(size_t draws, bool previousIssue, int gap);

// `issues`: every stored issue in rising order.
// Range start: the first stored issue + 1 in 上期 mode, + gap in 前期 mode (issue
// arithmetic, stored or not); none for an empty history (the box keeps its text).
std::optional<int> rangeStart(std::span<const int> issues, bool previousIssue, int gap);
// Range end: the newest stored issue; none for an empty history.
std::optional<int> rangeEnd(std::span<const int> issues);

}  // namespace drawfollow
