#include "analysis/result_display.h"

#include "store/sql_dialect.h"

#include <SQLiteCpp/Statement.h>

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

// Carcu as DELETE followed by one INSERT per value leaves it: rowids from 1, in ascending
// value order.
using CarcuRows = std::vector<std::pair<int, int>>;  // Nmb, Count

CarcuRows carcuRows(const SearchInputs& inputs, const std::vector<int>& counts) {
    CarcuRows rows;
    const ValueRange counters = kTallyCounters[index(inputs.resultKind)];
    const ValueRange listed = listedValues(inputs.resultKind, inputs);
    for (int v = listed.low; v <= listed.high; ++v)
        rows.emplace_back(v, counters.contains(v) ? counts[v - counters.low] : 0);
    return rows;
}

bool carcuHolds(HistoryDb& db, const CarcuRows& rows) {
    SQLite::Statement q(db.connection(), "SELECT rowid, Nmb, Count FROM Carcu ORDER BY rowid");
    size_t i = 0;
    for (; q.executeStep(); ++i) {
        const SQLite::Column nmb = q.getColumn(1), count = q.getColumn(2);
        if (i == rows.size() || q.getColumn(0).getInt64() != static_cast<long long>(i) + 1 || !nmb.isInteger() ||
            !count.isInteger() || nmb.getInt() != rows[i].first || count.getInt() != rows[i].second)
            return false;
    }
    return i == rows.size();
}

// A search repeated on the same panel finds Carcu as it would leave it; not rewriting it
// then keeps the whole search free of writes.
void writeCarcu(HistoryDb& db, const CarcuRows& rows) {
    if (carcuHolds(db, rows))
        return;
    db.execute("DELETE FROM Carcu");
    SQLite::Statement insert(db.connection(), "INSERT INTO Carcu (Nmb, Count) VALUES (?, ?)");
    for (const auto& [value, count] : rows) {
        insert.bind(1, value);
        insert.bind(2, count);
        insert.exec();
        insert.reset();
    }
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

void showEmptyGrids(const SearchInputs& inputs, SearchResult& result) {
    result.hits.clear();
    result.detail = {detailHeader(inputs.previousIssue)};
    result.tally = {tallyHeader()};
}

void showResults(HistoryDb& db, const SearchInputs& inputs, int first, int last, std::string_view rowCondition,
                 SearchResult& result) {
    const Kind kind = inputs.resultKind;
    const std::string listField = inputs.previousIssue ? "txtHisLst" : "txtHisPreLst";
    std::string columns = "SQQH";
    for (int p = 1; p <= kPositions; ++p)
        columns += ", " + valueField(p, kind);
    columns += ", " + listField;
    SQLite::Statement rows(db.connection(), toSqlite("SELECT " + columns + " FROM [lishi] WHERE [SQQH] >= " +
                                                     std::to_string(first) + " AND  [SQQH] <= " + std::to_string(last) +
                                                     std::string(rowCondition) + " ORDER BY SQQH"));

    showEmptyGrids(inputs, result);
    const ValueRange counters = kTallyCounters[index(kind)];
    std::vector<int> counts(counters.high - counters.low + 1, 0);
    const auto [firstCounted, lastCounted] = tallyPositions(inputs.scope);
    while (rows.executeStep()) {
        const int issue = rows.getColumn(0).getInt();
        result.hits.push_back(issue);
        std::vector<std::string> line = {std::to_string(issue)};
        for (int p = 1; p <= kPositions; ++p) {
            const int v = rows.getColumn(p).getInt();
            line.push_back(valueCell(inputs, v));
            if (p >= firstCounted && p <= lastCounted && counters.contains(v))
                ++counts[v - counters.low];
        }
        const SQLite::Column list = rows.getColumn(kPositions + 1);
        line.push_back(list.isNull() ? std::string() : list.getString());
        result.detail.push_back(std::move(line));
    }

    const long long total = static_cast<long long>(result.hits.size()) * (lastCounted - firstCounted + 1);
    writeCarcu(db, carcuRows(inputs, counts));
    // Ties keep the ascending value order the rows were written in.
    SQLite::Statement tally(db.connection(), "SELECT Nmb, Count FROM Carcu ORDER BY Count DESC, Nmb");
    for (int line = 1; tally.executeStep(); ++line) {
        const int count = tally.getColumn(1).getInt();
        result.tally.push_back({std::to_string(line), valueCell(inputs, tally.getColumn(0).getInt()),
                                std::to_string(count), percentText(count, total)});
    }
}

}  // namespace drawfollow
