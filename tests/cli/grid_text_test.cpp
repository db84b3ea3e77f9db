// The terminal's columns: CJK characters take two, everything else one.
#include "cli/grid_text.h"

#include <gtest/gtest.h>

#include <sstream>

namespace drawfollow::cli {
namespace {

TEST(GridText, WidthCountsCharactersAndWideOnesTwice) {
    EXPECT_EQ(displayWidth(""), 0);
    EXPECT_EQ(displayWidth("a9é"), 3);
    EXPECT_EQ(displayWidth("开奖ab"), 6);
    EXPECT_EQ(displayWidth("１２"), 4);  // full-width digits
    // Each byte that is no UTF-8 is one replacement character: it cannot take the next one with it.
    EXPECT_EQ(displayWidth("\x80"
                           "a"),
              2);
    EXPECT_EQ(displayWidth("\xE5\xBC"
                           "a"),
              3);
}

TEST(GridText, ColumnsAlignOnWhatTheTerminalShows) {
    const TextGrid grid{{"期号", "鼠", "x"}, {"2014001", "12", "y"}};
    EXPECT_EQ(alignedText(grid),
              "期号     鼠  x\n"
              "2014001  12  y\n");
}

// Rows measured first and written one by one line up as the whole grid does: a short row
// keeps the wider rows' columns, an empty last cell leaves no trailing blanks.
TEST(GridText, RowsWrittenOneByOneAlignAsTheWholeGrid) {
    const TextGrid grid{{"期号", "鼠", "x"}, {"2014001", "12"}, {"1", "[牛]×2", ""}, {"平均遗漏", "1.50", "3"}};
    AlignedColumns columns;
    for (const auto& row : grid)
        columns.measure(row);
    std::string lines;
    for (const auto& row : grid)
        lines += columns.line(row);
    EXPECT_EQ(lines,
              "期号      鼠      x\n"
              "2014001   12\n"
              "1         [牛]×2\n"
              "平均遗漏  1.50    3\n");
    std::ostringstream written;
    writeAlignedText(written, grid);
    EXPECT_EQ(written.str(), lines);
    EXPECT_EQ(alignedText(grid), lines);
}

// A grid of figures lines up on what its figures show, as the same grid of texts does.
TEST(GridText, FiguresAlignOnTheirShownText) {
    const CellGrid cells{{"序号", "结果", "出现次数", "百分比"},
                         {GridCell::whole(1), "鼠", GridCell::whole(12), GridCell::percent(12, 35)},
                         {GridCell::whole(10), GridCell::whole(7), GridCell::whole(0), GridCell::fixed(0.5, 2)}};
    const std::string expected =
        "序号  结果  出现次数  百分比\n"
        "1     鼠    12        34.286%\n"
        "10    7     0         0.50\n";
    EXPECT_EQ(alignedText(cells), expected);
    std::ostringstream written;
    writeAlignedText(written, cells);
    EXPECT_EQ(written.str(), expected);
}

}  // namespace
}  // namespace drawfollow::cli
