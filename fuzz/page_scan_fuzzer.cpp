// Feeds arbitrary bytes through everything a downloaded chart page goes through: the
// encoding guess, decoding, libxml2's HTML parser, the rendered text and the scan.
// The input's first line stands for the HTTP Content-Type header, the rest is the page.
#include "io/page_charset.h"
#include "io/update_page.h"
#include "io/utf8_text.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

void check(bool condition) {
    if (!condition)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace drawfollow;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t lineEnd = input.find('\n');
    const std::string_view contentType =
        lineEnd == std::string_view::npos ? std::string_view() : input.substr(0, lineEnd);
    const std::string_view page = lineEnd == std::string_view::npos ? input : input.substr(lineEnd + 1);

    std::string text;
    try {
        text = chartPageText(page, contentType);
    } catch (const PageError&) {
        return 0;  // an encoding the system does not know is reported, not a fault
    }
    check(validUtf8(text) == text);

    const std::u32string codes = codePoints(text);
    const std::optional<int> newest = size % 3 == 0 ? std::optional<int>(2013100) : std::nullopt;
    const YearPageScan scan = scanYearPage(codes, {2013, newest, size % 2 == 0});
    // A page that yields a draw is a chart page, whatever else it holds.
    check(scan.draws.empty() || scan.listing == YearListing::Draws);
    // The draws read continue the history without a gap.
    int expected = newest ? *newest + 1 : 2013001;
    for (const DrawInput& d : scan.draws) {
        check(d.issue == expected++);
        check(drawProblem(d.numbers).empty());
    }
    return 0;
}
