// What an online update did, and the one message that tells the user.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace drawfollow {

struct YearFailure {
    int year = 0;
    std::string reason;
};

struct UpdateSummary {
    // Why the update did not start at all (no address, a bad setting, no safety copy).
    std::string setupProblem;

    // Draws of the years no longer kept that were deleted before the download.
    size_t dropped = 0;
    int droppedBeforeYear = 0;
    std::optional<std::filesystem::path> safetyCopy;

    size_t added = 0;
    std::optional<int> newestIssue;  // after the update
    std::vector<int> yearsRead;
    std::vector<int> skippedIssues;  // listed on a page without their numbers

    // The year that stopped the update; the years after it were not asked for, because
    // adding them would leave a gap that could never be filled.
    std::optional<YearFailure> failure;
    bool cancelled = false;
    std::vector<int> yearsNotRead;

    bool succeeded() const { return setupProblem.empty() && !failure && !cancelled; }
    // Chinese, one sentence per fact, lines separated by '\n'.
    std::string message() const;
};

}  // namespace drawfollow
