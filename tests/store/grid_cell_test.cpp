#include "store/grid_cell.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>

namespace drawfollow {
namespace {

// What a text reads as a number, for holding a figure to the text it shows.
double readBack(const std::string& text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(error, std::errc()) << text;
    return value;
}

TEST(GridCell, ATextIsShownAsItIsAndIsNoFigure) {
    for (const char* text : {"", "鼠", "07", "12", "03 07 12 "}) {
        const GridCell cell(text);
        EXPECT_EQ(cell.text(), text);
        EXPECT_FALSE(cell.isFigure()) << text;
    }
    EXPECT_EQ(GridCell(), GridCell(""));
    EXPECT_NE(GridCell("7"), GridCell::whole(7));  // the same text, but only one is a number
}

TEST(GridCell, WholeNumbersAreShownInDecimalWithoutLeadingZeros) {
    for (const long long value : {0LL, 7LL, 30LL, -3LL, 2026001LL, 9007199254740992LL}) {
        const GridCell cell = GridCell::whole(value);
        EXPECT_EQ(cell.text(), std::to_string(value));
        EXPECT_EQ(cell.value(), static_cast<double>(value));
        EXPECT_EQ(cell.decimals(), 0);
    }
}

// Every count of every total up to 400: the text is the thousandths of a percent with an
// exact half rounded up, worked in integers, and the figure is what that text reads as.
TEST(GridCell, PercentagesShowThreeDecimalsWithHalvesRoundedUpAndKeepTheShownValue) {
    for (long long total = 1; total <= 400; ++total)
        for (long long count = 0; count <= total; ++count) {
            const long long thousandths = (count * 200000 + total) / (2 * total);
            char expected[32];
            std::snprintf(expected, sizeof expected, "%lld.%03lld%%", thousandths / 1000, thousandths % 1000);
            const GridCell cell = GridCell::percent(count, total);
            ASSERT_EQ(cell.text(), expected) << count << " of " << total;
            const std::string shown = cell.text();
            ASSERT_EQ(cell.value(), readBack(shown.substr(0, shown.size() - 1))) << shown;
        }
    EXPECT_EQ(GridCell::percent(1, 64).text(), "1.563%");  // 1.5625: the half rounded up
    EXPECT_EQ(GridCell::percent(12, 35).text(), "34.286%");
    EXPECT_EQ(GridCell::percent(3, 0), GridCell());  // no total: an empty cell
}

// Random values at every count of decimals: the text is printf's, the figure what it reads as.
TEST(GridCell, FixedDecimalsShowAsPrintfAndKeepTheValueTheTextShows) {
    std::mt19937_64 random(22);
    std::uniform_real_distribution<double> spread(-1000, 1000);
    for (int i = 0; i < 20000; ++i) {
        const double value = i % 4 == 0 ? std::round(spread(random) * 8) / 8 : spread(random);  // exact halves too
        const int decimals = i % 4;
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
        const GridCell cell = GridCell::fixed(value, decimals);
        ASSERT_EQ(cell.text(), expected) << value;
        ASSERT_EQ(cell.value(), readBack(expected)) << expected;
        ASSERT_EQ(cell.decimals(), decimals);
    }
    EXPECT_EQ(GridCell::fixed(2.699999, 2).text(), "2.70");
    EXPECT_EQ(GridCell::fixed(0.125, 2).text(), "0.12");  // printf's exact half goes to the even digit
    EXPECT_EQ(GridCell::fixed(-0.001, 2).text(), "-0.00");
}

TEST(GridCell, AppendingWritesTheSameTextAfterWhatIsThere) {
    std::string line = "值：";
    GridCell::fixed(2.7, 2).appendText(line);
    line += ' ';
    GridCell::percent(1, 8).appendText(line);
    line += ' ';
    GridCell("鼠").appendText(line);
    EXPECT_EQ(line, "值：2.70 12.500% 鼠");
}

}  // namespace
}  // namespace drawfollow
