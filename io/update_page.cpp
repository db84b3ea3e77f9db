#include "io/update_page.h"

#include "io/page_charset.h"
#include "io/page_text.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace drawfollow {

namespace {

bool isAsciiDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

constexpr size_t kNotFound = std::u32string_view::npos;

// Where each issue text of the year first occurs, found in one pass: looking the issues
// up one by one would read a large page up to 365 times.
std::vector<size_t> firstOccurrences(std::u32string_view text, int year) {
    std::vector<size_t> at(kLastSequence + 1, kNotFound);
    const std::string first = issueText(year * 1000);
    const std::u32string prefix(first.begin(), first.end() - 3);
    const size_t length = prefix.size() + 3;
    for (size_t i = 0; i + length <= text.size(); ++i) {
        if (text.compare(i, prefix.size(), prefix) != 0)
            continue;
        int sequence = 0;
        for (size_t k = prefix.size(); k < length && sequence >= 0; ++k)
            sequence = isAsciiDigit(text[i + k]) ? sequence * 10 + static_cast<int>(text[i + k] - U'0') : -1;
        if (sequence >= 1 && sequence <= kLastSequence && at[sequence] == kNotFound)
            at[sequence] = i;
    }
    return at;
}

// The eight numbers read at the layout's offsets, or nothing when a pair is not two digits.
std::optional<Numbers> numbersAt(std::u32string_view text, size_t issueStart) {
    Numbers numbers{};
    for (int p = 0; p < kPositions; ++p) {
        const size_t at = issueStart + kFirstNumberOffset + kNumberStride * static_cast<size_t>(p);
        if (at + 1 >= text.size() || !isAsciiDigit(text[at]) || !isAsciiDigit(text[at + 1]))
            return std::nullopt;
        numbers[p] = static_cast<int16_t>((text[at] - U'0') * 10 + (text[at + 1] - U'0'));
    }
    return numbers;
}

// The chart's heading row, as it renders, at the start of a line.
bool showsChartHeading(std::u32string_view text) {
    constexpr std::u32string_view kHeading = U"期号\t";
    for (size_t at = text.find(kHeading); at != kNotFound; at = text.find(kHeading, at + 1))
        if (at == 0 || text[at - 1] == U'\n')
            return true;
    return false;
}

YearListing listingOf(std::u32string_view text, const std::vector<size_t>& occurrences) {
    const bool showsDraw = std::any_of(occurrences.begin(), occurrences.end(),
                                       [&](size_t at) { return at != kNotFound && numbersAt(text, at); });
    if (showsDraw)
        return YearListing::Draws;
    return showsChartHeading(text) ? YearListing::NoDrawsYet : YearListing::NotAChart;
}

}  // namespace

std::string chartPageText(std::string_view bytes, std::string_view contentType) {
    return bodyInnerText(decodePage(bytes, pageEncoding(bytes, contentType)));
}

YearPageScan scanYearPage(std::u32string_view text, int year, int firstSequence, std::string_view greatestStored) {
    YearPageScan scan;
    const std::vector<size_t> occurrences = firstOccurrences(text, year);
    scan.listing = listingOf(text, occurrences);
    for (int s = std::max(firstSequence, 1); s <= kLastSequence; ++s) {
        const int issue = year * 1000 + s;
        const std::string issueString = issueText(issue);
        const size_t at = occurrences[s];
        if (at == kNotFound || issueString <= greatestStored)
            break;
        const size_t firstNumber = at + kFirstNumberOffset;
        if (firstNumber >= text.size() || !isAsciiDigit(text[firstNumber])) {
            scan.skippedIssues.push_back(issue);
            continue;
        }
        const auto numbers = numbersAt(text, at);
        if (!numbers) {
            scan.problem = "第 " + issueString + " 期的号码在网页上无法读出";
            break;
        }
        if (const std::string problem = drawProblem(*numbers); !problem.empty()) {
            scan.problem = "第 " + issueString + " 期网页上的号码有误：" + problem;
            break;
        }
        scan.draws.push_back({issue, *numbers});
    }
    return scan;
}

}  // namespace drawfollow
