#include "store/draw_row.h"

#include <cstdio>

namespace drawfollow {

std::string plainList(const DrawValues& values) {
    std::string plain;
    plain.reserve(3 * std::size_t{kPositions});
    char buf[8];
    for (int p = 0; p < kPositions; ++p) {
        std::snprintf(buf, sizeof buf, "%02d ", values[index(Kind::Number)][p]);
        plain += buf;
    }
    return plain;
}

DrawLists listsOf(const DrawValues& values) {
    DrawLists lists;
    lists.plain = plainList(values);
    std::array<std::array<int, 31>, kKinds> counters{};  // the widest range, numbers 1..30
    for (int p = 0; p < kPositions; ++p) {
        for (Kind k : kAllKinds) {
            const int v = values[index(k)][p];
            const ValueRange range = kCounterRanges[index(k)];
            if (!range.contains(v))
                continue;  // a value without a counter gives no token
            const int ordinal = ++counters[index(k)][v - range.low];
            auto& list = lists.counted[index(k)];
            list += std::to_string(ordinal);
            list += 'X';
            list += valueText(k, v);
            list += ' ';
        }
    }
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
    std::array<bool, 31> seen{};
    for (int p = 0; p < kPositions; ++p) {
        const int n = numbers[p];
        if (n < 1 || n > 30)
            return "第 " + std::to_string(p + 1) + " 个号码 " + std::to_string(n) + " 不在 1～30 之内";
        if (seen[n])
            return "号码 " + std::to_string(n) + " 在同一期中重复";
        seen[n] = true;
    }
    return {};
}

std::string issueText(int issue) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%07d", issue);
    return buf;
}

DrawRow deriveRow(const DrawInput& draw, const CarriedDraws& carried, const DerivationSettings& settings) {
    DrawRow row;
    row.issue = draw.issue;
    row.nextIssue = draw.issue + 1;
    row.issueText = issueText(draw.issue);
    row.own = attributesOf(draw.numbers, zodiacYearOfIssue(draw.issue), settings.codes, settings.segmentOffset);
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
