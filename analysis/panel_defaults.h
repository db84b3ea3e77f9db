// What the search panel holds before the user changes anything: the base draw of the
// first tab (自动历史位) and the issue range. The window and the command line start from
// the same values.
#pragma once

#include <cstddef>
#include <optional>
#include <span>

namespace drawfollow {

// The newest draw in 上期 mode, the gap-th newest in 前期 mode: its index in issue order.
// None when the history holds fewer draws, or the gap is outside 1..9 in 前期 mode.
std::optional<size_t> latestBaseIndex(size_t draws, bool previousIssue, int gap);

struct IssueRange {
    int first = 0;
    int last = 0;
};

// From the first stored issue + 1 (上期) or + gap (前期) to the newest stored issue;
// none for an empty history. `issues`: every stored issue in rising order.
std::optional<IssueRange> defaultIssueRange(std::span<const int> issues, bool previousIssue, int gap);

}  // namespace drawfollow
