#include "store/row_grid.h"

#include <stdexcept>

namespace drawfollow {

RowGrid::RowGrid(CellGrid cells) {
    if (cells.empty())
        return;
    hasHeader_ = true;
    header_ = std::move(cells.front());
    lines_ = cells.size() - 1;
    auto kept = std::make_shared<const CellGrid>(std::move(cells));
    makeLine_ = [kept](size_t line) { return (*kept)[line + 1]; };
}

RowGrid::RowGrid(std::vector<GridCell> header, size_t lines, MakeLine makeLine)
    : hasHeader_(true), header_(std::move(header)), lines_(lines), makeLine_(std::move(makeLine)) {}

std::vector<GridCell> RowGrid::row(size_t row) const {
    if (row >= size())
        throw std::out_of_range("RowGrid::row");
    return row == 0 ? header_ : makeLine_(row - 1);
}

CellGrid RowGrid::cells() const {
    CellGrid grid;
    grid.reserve(size());
    for (size_t r = 0; r < size(); ++r)
        grid.push_back(row(r));
    return grid;
}

CellRows RowGrid::reader() const {
    return [grid = *this, next = size_t{0}](std::vector<GridCell>& row) mutable {
        if (next >= grid.size())
            return false;
        row = grid.row(next++);
        return true;
    };
}

}  // namespace drawfollow
