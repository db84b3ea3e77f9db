// Reading the draws of one year from the results chart page.
#pragma once

#include "store/draw_row.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace drawfollow {

// The page's text as a browser shows it: the bytes decoded (page_charset.h), the body
// rendered (page_text.h). Throws PageError when the encoding is unknown.
std::string chartPageText(std::string_view bytes, std::string_view contentType);

// What a page shows of its year, whatever the history holds already.
//
// The chart is a table: each row renders as one line, its cells separated by tabs: the
// issue, the draw date, the eight numbers (two digits each), the sum; its heading row as
// "期号", a tab and the other headings. A page showing a row of the year with its eight
// numbers is a chart page. One showing no such row but the heading row at the start of a
// line is the chart of a year without draws yet, as the current year's page is early in
// January. A page showing neither (random bytes, an error or maintenance page, an empty
// body) is no chart page at all, whatever year it was asked for.
enum class YearListing { Draws, NoDrawsYet, NotAChart };

struct YearPageScan {
    // The draws after the newest stored issue, each the one after the other: what the page
    // shows, without a gap, up to the end of its rows or to the first row at fault.
    std::vector<DrawInput> draws;
    std::string problem;  // the row at fault, naming its issue; empty when every row was in order
    YearListing listing = YearListing::NotAChart;
};

struct YearPageContext {
    int year = 0;
    std::optional<int> newestStored;  // the newest issue the history holds (or the update has read)
    bool currentYear = false;         // the year still runs: its last row may be the draw to come
};

// Reads the page's rows as rows: a line whose first cell is a seven-digit issue, its
// numbers in the columns where the page's rows have their eight two-digit numbers,
// whatever the width of the cells before them. Every row must be of the page's year, in
// rising order. From the newest stored issue on, each row must be the next issue (or the
// year's first) with eight numbers making a valid draw; the first row that is not (left
// out, out of order, of another year, without numbers, unreadable) ends the reading with
// a problem. Only in the current year may the last row be the next issue without numbers
// yet: it is passed over quietly. A past year's page whose rows end before the newest
// stored issue of that year lacks rows and is a problem too. A character is a Unicode
// code point of the text.
YearPageScan scanYearPage(std::u32string_view text, const YearPageContext& context);

}  // namespace drawfollow
