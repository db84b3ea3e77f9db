#include "io/update_page.h"

#include "io/page_charset.h"
#include "io/page_text.h"

#include <algorithm>
#include <optional>

namespace drawfollow {

namespace {

bool isAsciiDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

std::u32string asCodePoints(std::string_view ascii) {
    return std::u32string(ascii.begin(), ascii.end());
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

}  // namespace

std::string chartPageText(std::string_view bytes, std::string_view contentType) {
    return bodyInnerText(decodePage(bytes, pageEncoding(bytes, contentType)));
}

YearPageScan scanYearPage(std::u32string_view text, int year, int firstSequence, std::string_view greatestStored) {
    YearPageScan scan;
    scan.listsYear = text.find(asCodePoints(issueText(year * 1000 + 1))) != std::u32string_view::npos;
    for (int s = std::max(firstSequence, 1); s <= kLastSequence; ++s) {
        const int issue = year * 1000 + s;
        const std::string issueString = issueText(issue);
        const size_t at = text.find(asCodePoints(issueString));
        if (at == std::u32string_view::npos || issueString <= greatestStored)
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
