// The history text file: one draw per line, "2013001 03 07 12 18 22 25 29 11 ".
#pragma once

#include "io/history_line.h"
#include "store/draw_row.h"

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

struct LineProblem {
    int line = 0;  // 1-based; 0 for the file as a whole (it cannot be opened or read)
    std::string reason;
};

struct HistoryText {
    std::vector<DrawInput> draws;
    std::vector<int> drawLines;  // the line (1-based) each draw was read from
    int skippedLines = 0;        // blank lines and headings
    // Lines that make the file unusable: the first kProblemsListed of them, and how many
    // there are in all (a huge file of bad lines must not take a line's worth of memory each).
    static constexpr size_t kProblemsListed = 100;
    std::vector<LineProblem> problems;
    size_t problemCount = 0;

    void addProblem(int line, std::string reason);
    bool ok() const { return problems.empty() && !draws.empty(); }
    // A message listing the first few problem lines and how many there are.
    std::string problemSummary(size_t shown = 5) const;
};

// Reads and checks a whole file's text: an optional UTF-8 byte-order mark, lines ended by
// CR LF, LF or CR, each read by parseHistoryLine. Every draw must hold eight distinct
// numbers in 1..30, and issues must rise strictly.
HistoryText readHistoryText(std::istream& in);
HistoryText readHistoryFile(const std::filesystem::path& file);

// "2013001 03 07 12 18 22 25 29 11 " (no line end).
std::string canonicalLine(int issue, const Numbers& numbers);

// Writes canonical lines ended by CR LF through replaceFile, which refuses (StoreError) to
// write a file in `dataFolder` through a link that leads out of it. Throws std::system_error
// when the file cannot be written.
void writeHistoryFile(const std::filesystem::path& file, std::span<const DrawInput> draws,
                      const std::filesystem::path& dataFolder = {});

// "更新至2013150期历史号码.txt"; without an issue "更新至期历史号码.txt".
std::string exportFileName(std::optional<int> latestIssue);

}  // namespace drawfollow
