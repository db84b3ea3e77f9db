#include "store/row_grid.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace drawfollow {
namespace {

const CellGrid kHeld = {
    textCells({"期号", "结果"}), {GridCell::whole(2026001), "鼠"}, {GridCell::whole(2026002), "牛"}};

std::vector<GridCell> lineOf(size_t line) {
    return {GridCell::whole(2026001 + static_cast<long long>(line)), line % 2 == 0 ? "鼠" : "牛"};
}

TEST(RowGrid, AGridMadeOnDemandReadsAsTheSameGridHeldWhole) {
    const RowGrid held(kHeld);
    const RowGrid made(textCells({"期号", "结果"}), 2, lineOf);
    for (const RowGrid* grid : {&held, &made}) {
        ASSERT_EQ(grid->size(), 3u);
        EXPECT_FALSE(grid->empty());
        EXPECT_EQ(grid->cells(), kHeld);
        EXPECT_EQ(grid->row(0), kHeld[0]);
        EXPECT_EQ(grid->header(), kHeld[0]);
        EXPECT_EQ((*grid)[2], kHeld[2]);
        CellGrid iterated;
        for (const std::vector<GridCell>& row : *grid)
            iterated.push_back(row);
        EXPECT_EQ(iterated, kHeld);
        EXPECT_THROW(grid->row(3), std::out_of_range);
    }
    EXPECT_EQ(held, made);
    EXPECT_NE(made, RowGrid(textCells({"期号", "结果"}), 1, lineOf));
}

TEST(RowGrid, EmptyAndHeaderOnlyGridsAreTold) {
    EXPECT_TRUE(RowGrid().empty());
    EXPECT_EQ(RowGrid().size(), 0u);
    EXPECT_EQ(RowGrid(CellGrid{}).size(), 0u);
    EXPECT_THROW(RowGrid().row(0), std::out_of_range);
    const RowGrid header(CellGrid{textCells({"期号"})});
    EXPECT_EQ(header.size(), 1u);
    EXPECT_EQ(header.cells(), CellGrid{textCells({"期号"})});
}

// The reader hands the rows out once, header first, and leaves the row alone at the end;
// it keeps reading the grid it was made from when the grid it came from is gone.
TEST(RowGrid, TheReaderHandsEveryRowOutOnceInOrder) {
    CellRows reader;
    {
        const RowGrid made(textCells({"期号", "结果"}), 2, lineOf);
        reader = made.reader();
    }
    CellGrid read;
    std::vector<GridCell> row;
    while (reader(row))
        read.push_back(row);
    EXPECT_EQ(read, kHeld);
    EXPECT_EQ(row, kHeld.back());
    EXPECT_FALSE(reader(row));
}

}  // namespace
}  // namespace drawfollow
