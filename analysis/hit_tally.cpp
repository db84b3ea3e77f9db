#include "analysis/hit_tally.h"
#include "analysis/tally_rules.h"

#include <cctype>
#include <charconv>
#include <cstdio>

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
    if (total <= 0)
        return {};
    // Thousandths of a percent, an exact half rounded up (counts are never negative); in
    // integers, because a double holds 1.5625 exactly but many other halves only nearly.
    const long long thousandths = (count * 100000 * 2 + total) / (2 * total);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld.%03lld%%", thousandths / 1000, thousandths % 1000);
    return buf;
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
    result.detail = {detailHeader(inputs.previousIssue)};
    result.tally = {tallyHeader()};
}

void tallyHits(HistoryDb& db, const SearchInputs& inputs, std::span<const int> hits, SearchResult& result) {
    const TallyRules rules(inputs);
    clearResultGrids(inputs, result);
    std::vector<long long> counts(rules.listedCount(), 0);
    for (HitRow& hit : db.hitRows(hits, inputs.resultKind, inputs.previousIssue ? "txtHisLst" : "txtHisPreLst")) {
        result.hits.push_back(hit.issue);
        rules.addRow(hit.values, counts);
        std::vector<std::string> line = {std::to_string(hit.issue)};
        for (const int v : hit.values)
            line.push_back(rules.valueText(v));
        line.push_back(std::move(hit.list));
        result.detail.push_back(std::move(line));
    }

    const long long total = static_cast<long long>(result.hits.size()) * rules.positionsCounted();
    // Carcu as DELETE followed by one INSERT per value leaves it: in ascending value order.
    std::vector<TallyRow> rows = rules.rows(counts);
    db.storeTally(rows);
    sortForGrid(rows);
    for (size_t line = 0; line < rows.size(); ++line)
        result.tally.push_back({std::to_string(line + 1), rules.valueText(rows[line].value),
                                std::to_string(rows[line].count), percentText(rows[line].count, total)});
}

}  // namespace drawfollow
