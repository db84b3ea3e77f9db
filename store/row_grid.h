// A grid whose lines are made when they are read: a search's hits at 100,000 draws are
// 100,000 lines of ten cells, which nobody reads whole (the window shows a screenful, the
// command line and the spreadsheet write one line at a time), so the answer keeps what a
// line is made from and makes it when asked. A grid held whole reads the same way.
#pragma once

#include "store/grid_cell.h"

#include <cstddef>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

namespace drawfollow {

class RowGrid {
public:
    // The cells of line `line` (0 is the first line below the header).
    using MakeLine = std::function<std::vector<GridCell>(size_t line)>;

    RowGrid() = default;
    RowGrid(CellGrid cells);  // NOLINT(google-explicit-constructor): a grid held whole, header row first
    RowGrid(std::vector<GridCell> header, size_t lines, MakeLine makeLine);

    // Rows, the header included; 0 for a grid without even a header.
    size_t size() const { return hasHeader_ ? lines_ + 1 : 0; }
    bool empty() const { return !hasHeader_; }
    // Row 0, without a copy; empty for an empty grid.
    const std::vector<GridCell>& header() const { return header_; }
    // Row `row` of size(): the header at 0.
    std::vector<GridCell> row(size_t row) const;
    std::vector<GridCell> operator[](size_t row) const { return this->row(row); }
    // The whole grid at once, for small grids and checks.
    CellGrid cells() const;
    // The rows one at a time, header first, for writers that take a row source.
    CellRows reader() const;

    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = std::vector<GridCell>;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = value_type;

        Iterator(const RowGrid* grid, size_t row) : grid_(grid), row_(row) {}
        value_type operator*() const { return grid_->row(row_); }
        Iterator& operator++() {
            ++row_;
            return *this;
        }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.row_ == b.row_; }

    private:
        const RowGrid* grid_;
        size_t row_;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    friend bool operator==(const RowGrid& a, const RowGrid& b) { return a.cells() == b.cells(); }

private:
    bool hasHeader_ = false;
    std::vector<GridCell> header_;
    size_t lines_ = 0;
    MakeLine makeLine_;
};

}  // namespace drawfollow
