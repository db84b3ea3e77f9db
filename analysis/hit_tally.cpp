#include "analysis/hit_tally.h"
#include "analysis/panel_values.h"
#include "analysis/tally_rules.h"

#include <cctype>
#include <charconv>

namespace drawfollow {

std::vector<std::string> detailHeader(bool previousIssue) {
    std::vector<std::string> header = {"期号"};
    for (int p = 1; p <= kRegularPositions; ++p)
        header.push_back("平" + std::to_string(p) + "位");
    header.push_back("特位");
    header.push_back(previousIssue ? "上期开奖" : "前期开奖");
    return header;
}

std::vector<std::string> tallyHeader() {
    return {"序号", "结果", "出现次数", "百分比"};
}

std::string percentText(long long count, long long total) {
    return GridCell::percent(count, total).text();
}

std::optional<int> readIssueBox(std::string_view text) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

void clearResultGrids(const SearchInputs& inputs, SearchResult& result) {
    result.hits.clear();
    result.detail = CellGrid{textCells(detailHeader(inputs.previousIssue))};
    result.tally = {textCells(tallyHeader())};
}

namespace {

std::vector<long long> countsOf(const HistorySnapshot& history, const TallyRules& rules, Kind kind,
                                std::span<const size_t> rows) {
    std::vector<long long> counts(rules.listedCount(), 0);
    for (const size_t row : rows)
        rules.addRow(valuesOf(history.draws()[row], kind), counts);
    return counts;
}

}  // namespace

namespace {

// What a hit's detail line is made from: the snapshot stays alive as long as the grid.
struct HitLines {
    HistorySnapshot history;
    std::vector<size_t> rows;
    TallyRules rules;
    Kind kind;
    int back;

    std::vector<GridCell> line(size_t hit) const {
        const size_t row = rows[hit];
        const StoredDraw& draw = history.draws()[row];
        std::vector<GridCell> cells;
        cells.reserve(kDetailColumns);
        cells.push_back(GridCell::whole(draw.issue));
        for (const int v : valuesOf(draw, kind))
            cells.push_back(rules.valueCell(v));
        const DrawValues* reference = history.listedDrawBefore(row, back);
        cells.push_back(reference ? plainList(*reference) : std::string());
        return cells;
    }
};

}  // namespace

std::vector<TallyRow> tallyHits(const HistorySnapshot& history, const SearchInputs& inputs,
                                std::span<const size_t> rows, SearchResult& result) {
    const TallyRules rules(inputs);
    clearResultGrids(inputs, result);
    result.hits.reserve(rows.size());
    for (const size_t row : rows)
        result.hits.push_back(history.draws()[row].issue);
    auto lines = std::make_shared<const HitLines>(
        HitLines{history, {rows.begin(), rows.end()}, rules, inputs.resultKind, inputs.previousIssue ? 1 : inputs.gap});
    result.detail = RowGrid(textCells(detailHeader(inputs.previousIssue)), rows.size(),
                            [lines = std::move(lines)](size_t hit) { return lines->line(hit); });

    std::vector<TallyRow> stored = rules.rows(countsOf(history, rules, inputs.resultKind, rows));
    std::vector<TallyRow> sorted = stored;
    sortForGrid(sorted);
    const long long total = static_cast<long long>(rows.size()) * rules.positionsCounted();
    for (size_t line = 0; line < sorted.size(); ++line)
        result.tally.push_back({GridCell::whole(static_cast<long long>(line) + 1), rules.valueCell(sorted[line].value),
                                GridCell::whole(sorted[line].count), GridCell::percent(sorted[line].count, total)});
    return stored;
}

std::vector<TallyRow> tallyOf(const HistorySnapshot& history, const SearchInputs& inputs,
                              std::span<const size_t> rows) {
    const TallyRules rules(inputs);
    std::vector<TallyRow> tally = rules.rows(countsOf(history, rules, inputs.resultKind, rows));
    sortForGrid(tally);
    return tally;
}

}  // namespace drawfollow
