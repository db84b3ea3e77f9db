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
    std::string page;  // the address asked for
};

struct UpdateSummary {
    // Why the update did not start at all (no address, a bad setting, an unreadable history).
    std::string setupProblem;

    // The drop a complete update makes: the stored draws of the years before
    // dropBeforeYear, plannedDrop of them when it began.
    std::optional<int> dropBeforeYear;
    size_t plannedDrop = 0;
    // What it dropped: nothing unless it read every page and stored what it read.
    size_t dropped = 0;
    std::optional<std::filesystem::path> safetyCopy;

    size_t read = 0;   // new draws read from the pages
    size_t added = 0;  // of them, stored
    // Why the draws read were not stored, when they were not.
    std::string notStoredReason;
    std::optional<int> newestIssue;  // after the update
    std::vector<int> yearsRead;

    // The year that stopped the update; the years after it were not asked for, because
    // adding them would leave a gap that could never be filled.
    std::optional<YearFailure> failure;
    bool cancelled = false;
    std::vector<int> yearsNotRead;

    bool succeeded() const { return setupProblem.empty() && !failure && !cancelled && notStoredReason.empty(); }
    // Chinese, one sentence per fact, lines separated by '\n'.
    std::string message() const;
};

}  // namespace drawfollow
