// Reading the draws of one year from the results chart page.
#pragma once

#include "store/draw_row.h"

#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// Where the chart puts a draw's numbers, in characters from the first character of its
// issue text: two digits each, position 1 at offset 20, the next ones 3 further on.
inline constexpr size_t kFirstNumberOffset = 20;
inline constexpr size_t kNumberStride = 3;
// The chart of a year is asked for issues 001 to 365.
inline constexpr int kLastSequence = 365;

// The page's text as a browser shows it: the bytes decoded (page_charset.h), the body
// rendered (page_text.h). Throws PageError when the encoding is unknown.
std::string chartPageText(std::string_view bytes, std::string_view contentType);

// What a page shows of its year, whatever the history holds already.
//
// The chart is a table: each row renders as the issue, a tab, the draw date, a tab and
// the numbers (hence offset 20), and its heading row as "期号", a tab and the other
// headings. A page showing a row of the year (an issue of the year with its eight numbers
// at the offsets) is a chart page. One showing no such row but the heading row at the
// start of a line is the chart of a year without draws yet, as the current year's page is
// early in January. A page showing neither (random bytes, an error or maintenance page,
// an empty body) is no chart page at all, whatever year it was asked for.
enum class YearListing { Draws, NoDrawsYet, NotAChart };

struct YearPageScan {
    std::vector<DrawInput> draws;    // rising issues
    std::vector<int> skippedIssues;  // listed without a number at offset 20
    std::string problem;             // why the scan stopped at an unreadable draw; empty otherwise
    YearListing listing = YearListing::NotAChart;
};

// Looks for the issues year·1000 + s, s from firstSequence to 365, each at the first
// occurrence of its seven-digit text. A character is a Unicode code point of the text.
// The scan stops at the first issue the text lacks, or whose text is not greater than
// greatestStored (the greatest stored issue text, empty for an empty history); an issue
// whose character at offset 20 is not an ASCII digit is skipped. An issue read must
// have eight two-digit numbers making a valid draw, else the scan stops there with a
// problem and keeps the draws before it.
YearPageScan scanYearPage(std::u32string_view text, int year, int firstSequence, std::string_view greatestStored);

}  // namespace drawfollow
