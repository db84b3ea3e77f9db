#include "io/chart_rows.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace drawfollow {

namespace {

using Cells = std::vector<std::u32string_view>;

constexpr size_t kNotFound = std::u32string_view::npos;

bool isAsciiDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

bool isBlank(char32_t c) {
    return c == U' ' || c == U'\r' || c == U'\u00a0' || c == U'\u3000';
}

std::u32string_view trimmed(std::u32string_view cell) {
    while (!cell.empty() && isBlank(cell.front()))
        cell.remove_prefix(1);
    while (!cell.empty() && isBlank(cell.back()))
        cell.remove_suffix(1);
    return cell;
}

Cells cellsOf(std::u32string_view line) {
    Cells cells;
    for (size_t start = 0;;) {
        const size_t tab = line.find(U'\t', start);
        cells.push_back(trimmed(line.substr(start, tab == kNotFound ? kNotFound : tab - start)));
        if (tab == kNotFound)
            return cells;
        start = tab + 1;
    }
}

std::optional<int> issueOf(std::u32string_view cell) {
    if (cell.size() != 7)
        return std::nullopt;
    int issue = 0;
    for (char32_t c : cell) {
        if (!isAsciiDigit(c))
            return std::nullopt;
        issue = issue * 10 + static_cast<int>(c - U'0');
    }
    return issue;
}

bool isTwoDigits(std::u32string_view cell) {
    return cell.size() == 2 && isAsciiDigit(cell[0]) && isAsciiDigit(cell[1]);
}

// The first column after the issue where eight two-digit cells follow each other.
std::optional<size_t> numbersColumn(const Cells& cells) {
    size_t run = 0;
    for (size_t c = 1; c < cells.size(); ++c) {
        run = isTwoDigits(cells[c]) ? run + 1 : 0;
        if (run == kPositions)
            return c + 1 - kPositions;
    }
    return std::nullopt;
}

struct RowLayout {
    size_t numbersColumn = 0;
    size_t width = 0;  // cells in a row
    auto operator<=>(const RowLayout&) const = default;
};

// The layout most rows share; on a tie, the one met first.
std::optional<RowLayout> commonLayout(const std::vector<std::pair<int, Cells>>& rows) {
    std::map<RowLayout, int> counts;
    std::optional<RowLayout> best;
    int bestCount = 0;
    for (const auto& [issue, cells] : rows) {
        const std::optional<size_t> column = numbersColumn(cells);
        if (!column)
            continue;
        const RowLayout layout{*column, cells.size()};
        if (const int count = ++counts[layout]; count > bestCount) {
            best = layout;
            bestCount = count;
        }
    }
    return best;
}

ChartRow readRow(int issue, const Cells& cells, const std::optional<RowLayout>& layout) {
    ChartRow row{issue, RowNumbers::Unreadable, {}};
    bool anyNumber = false;
    for (size_t c = 1; c < cells.size(); ++c)
        anyNumber = anyNumber || isTwoDigits(cells[c]);
    if (!anyNumber) {
        row.content = RowNumbers::None;
        return row;
    }
    if (!layout || cells.size() != layout->width)
        return row;
    for (int p = 0; p < kPositions; ++p) {
        const std::u32string_view cell = cells[layout->numbersColumn + static_cast<size_t>(p)];
        if (!isTwoDigits(cell))
            return row;
        row.numbers[p] = static_cast<int16_t>((cell[0] - U'0') * 10 + (cell[1] - U'0'));
    }
    row.content = RowNumbers::Read;
    return row;
}

}  // namespace

std::vector<ChartRow> chartRows(std::u32string_view text) {
    std::vector<std::pair<int, Cells>> lines;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(U'\n', start), text.size());
        Cells cells = cellsOf(text.substr(start, end - start));
        if (cells.size() > 1)
            if (const std::optional<int> issue = issueOf(cells.front()))
                lines.emplace_back(*issue, std::move(cells));
        start = end + 1;
    }
    const std::optional<RowLayout> layout = commonLayout(lines);
    std::vector<ChartRow> rows;
    rows.reserve(lines.size());
    for (const auto& [issue, cells] : lines)
        rows.push_back(readRow(issue, cells, layout));
    return rows;
}

bool showsChartHeading(std::u32string_view text) {
    constexpr std::u32string_view kHeading = U"期号\t";
    for (size_t at = text.find(kHeading); at != kNotFound; at = text.find(kHeading, at + 1))
        if (at == 0 || text[at - 1] == U'\n')
            return true;
    return false;
}

}  // namespace drawfollow
