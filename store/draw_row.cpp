#include "store/draw_row.h"

#include <cstdio>

namespace drawfollow {

namespace {

// A value as "%02d" (two digits) or "%d" writes it, without the cost of a formatted print
// for the values a draw holds; anything else goes through the print.
void appendValue(std::string& out, int value, bool twoDigits) {
    if (value >= 0 && value < 100) {
        if (twoDigits || value >= 10)
            out += static_cast<char>('0' + value / 10);
        out += static_cast<char>('0' + value % 10);
        return;
    }
    char buf[16];
    std::snprintf(buf, sizeof buf, twoDigits ? "%02d" : "%d", value);
    out += buf;
}

}  // namespace

std::string plainList(const DrawValues& values) {
    std::string plain;
    plain.reserve(3 * std::size_t{kPositions});
    for (int p = 0; p < kPositions; ++p) {
        appendValue(plain, values[index(Kind::Number)][p], true);
        plain += ' ';
    }
    return plain;
}

std::string countedList(const DrawValues& values, Kind kind) {
    std::string list;
    list.reserve(5 * std::size_t{kPositions});
    std::array<int, kHighestNumber + 1> counters{};  // the widest range, the numbers
    const ValueRange range = kCounterRanges[index(kind)];
    for (int p = 0; p < kPositions; ++p) {
        const int v = values[index(kind)][p];
        if (!range.contains(v))
            continue;                                                // a value without a counter gives no token
        list += static_cast<char>('0' + ++counters[v - range.low]);  // at most 8
        list += 'X';
        appendValue(list, v, twoDigitValueText(kind));
        list += ' ';
    }
    return list;
}

DrawLists listsOf(const DrawValues& values) {
    DrawLists lists;
    lists.plain = plainList(values);
    for (Kind k : kAllKinds)
        lists.counted[index(k)] = countedList(values, k);
    return lists;
}

CarriedDraws CarriedDraws::fromNewest(const DrawRow* beforeNewest, const DrawRow* newest) {
    CarriedDraws c;
    if (newest)
        c.previous = newest->own;
    if (beforeNewest)
        c.back = beforeNewest->own;
    return c;
}

void CarriedDraws::advance(const DrawValues& added) {
    back = previous;
    previous = added;
}

std::string drawProblem(const Numbers& numbers) {
    const auto fault = drawFault(std::span(numbers));
    if (!fault)
        return {};
    if (fault->earlierPosition == 0)
        return "第 " + std::to_string(fault->position) + " 个号码 " + std::to_string(fault->number) +
               " 不在 1～30 之内";
    return "号码 " + std::to_string(fault->number) + " 在同一期中重复";
}

std::string issueText(int issue) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%07d", issue);
    return buf;
}

DrawValues deriveOwnValues(const DrawInput& draw, const DerivationSettings& settings) {
    return attributesOf(draw.numbers, zodiacYearOfIssue(draw.issue), settings.codes, settings.segmentOffset);
}

DrawRow deriveRow(const DrawInput& draw, const CarriedDraws& carried, const DerivationSettings& settings) {
    DrawRow row;
    row.issue = draw.issue;
    row.nextIssue = draw.issue + 1;
    row.issueText = issueText(draw.issue);
    row.own = deriveOwnValues(draw, settings);
    if (carried.previous) {
        row.previous = *carried.previous;
        row.previousLists = listsOf(*carried.previous);
    }
    if (carried.back) {
        row.back = *carried.back;
        if (carried.fillBackLists)
            row.backLists = listsOf(*carried.back);
    }
    return row;
}

}  // namespace drawfollow
