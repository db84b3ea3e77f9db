// The history text file: one draw per line, "2013001 03 07 12 18 22 25 29 11 ".
#pragma once

#include "store/draw_row.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// What the reading rules take from one line.
struct ParsedLine {
    std::optional<int> issue;  // absent: the line has no issue of its own
    std::vector<int> numbers;  // at most eight, in line order
};

// Trim spaces; an issue is seven digits followed by one separator of any kind; numbers
// are pairs of adjacent digits, anything else separates them.
ParsedLine parseHistoryLine(std::string_view line);

struct LineProblem {
    int line = 0;  // 1-based
    std::string reason;
};

struct HistoryText {
    std::vector<DrawInput> draws;
    int skippedLines = 0;               // lines without an issue (blank lines, headings)
    std::vector<LineProblem> problems;  // lines that make the file unusable

    bool ok() const { return problems.empty() && !draws.empty(); }
    // A message listing the first few problem lines and how many there are.
    std::string problemSummary(size_t shown = 5) const;
};

// Reads and checks a whole file's text. A line with fewer than eight numbers keeps the
// previous line's numbers in the missing positions; every draw must then hold eight
// distinct numbers in 1..30, and issues must rise strictly.
HistoryText readHistoryText(std::istream& in);
HistoryText readHistoryFile(const std::filesystem::path& file);

// "2013001 03 07 12 18 22 25 29 11 " (no line end).
std::string canonicalLine(int issue, const Numbers& numbers);

// Writes canonical lines ended by CR LF, atomically (a temporary file renamed over the target).
void writeHistoryFile(const std::filesystem::path& file, std::span<const DrawInput> draws);

// "更新至2013150期历史号码.txt"; without an issue "更新至期历史号码.txt".
std::string exportFileName(std::optional<int> latestIssue);

}  // namespace drawfollow
