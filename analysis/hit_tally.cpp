#include "analysis/hit_tally.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace drawfollow {

namespace {

// The values a tally counts per kind (a stored value outside them is not counted).
constexpr std::array<ValueRange, kKinds> kTallyCounters = {ValueRange{1, 30}, ValueRange{0, 12}, ValueRange{0, 3},
                                                           ValueRange{0, 9},  ValueRange{1, 11}, ValueRange{0, 10}};

// The values listed in Carcu and the tally grid, every one also with count 0.
ValueRange listedValues(Kind kind, const SearchInputs& inputs) {
    switch (kind) {
        case Kind::Zodiac:
            return {inputs.zodiacOffset, inputs.zodiacOffset + kAnimals - 1};
        case Kind::Segment:
            return {inputs.segmentOffset, inputs.segmentOffset + 9};
        default:
            return kTallyCounters[index(kind)];
    }
}

std::string valueCell(const SearchInputs& inputs, int value) {
    if (inputs.resultKind == Kind::Zodiac)
        return std::string(zodiacName(inputs.codes, value));
    return std::to_string(value);
}

std::pair<int, int> tallyPositions(TallyScope scope) {
    switch (scope) {
        case TallyScope::Regular:
            return {1, kRegularPositions};
        case TallyScope::Special:
            return {kPositions, kPositions};
        default:
            return {1, kPositions};
    }
}

// Carcu as DELETE followed by one INSERT per value leaves it: in ascending value order.
std::vector<TallyRow> tallyRows(const SearchInputs& inputs, const std::vector<int>& counts) {
    std::vector<TallyRow> rows;
    const ValueRange counters = kTallyCounters[index(inputs.resultKind)];
    const ValueRange listed = listedValues(inputs.resultKind, inputs);
    for (int v = listed.low; v <= listed.high; ++v)
        rows.push_back({v, counters.contains(v) ? counts[v - counters.low] : 0});
    return rows;
}

}  // namespace

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
    const Kind kind = inputs.resultKind;
    clearResultGrids(inputs, result);
    const ValueRange counters = kTallyCounters[index(kind)];
    std::vector<int> counts(counters.high - counters.low + 1, 0);
    const auto [firstCounted, lastCounted] = tallyPositions(inputs.scope);
    for (HitRow& hit : db.hitRows(hits, kind, inputs.previousIssue ? "txtHisLst" : "txtHisPreLst")) {
        result.hits.push_back(hit.issue);
        std::vector<std::string> line = {std::to_string(hit.issue)};
        for (int p = 1; p <= kPositions; ++p) {
            const int v = hit.values[p - 1];
            line.push_back(valueCell(inputs, v));
            if (p >= firstCounted && p <= lastCounted && counters.contains(v))
                ++counts[v - counters.low];
        }
        line.push_back(std::move(hit.list));
        result.detail.push_back(std::move(line));
    }

    const long long total = static_cast<long long>(result.hits.size()) * (lastCounted - firstCounted + 1);
    std::vector<TallyRow> rows = tallyRows(inputs, counts);
    db.storeTally(rows);
    // Ties keep the ascending value order of the stored rows.
    std::stable_sort(rows.begin(), rows.end(), [](const TallyRow& a, const TallyRow& b) { return a.count > b.count; });
    for (size_t line = 0; line < rows.size(); ++line)
        result.tally.push_back({std::to_string(line + 1), valueCell(inputs, rows[line].value),
                                std::to_string(rows[line].count), percentText(rows[line].count, total)});
}

}  // namespace drawfollow
