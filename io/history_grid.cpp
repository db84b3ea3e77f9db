#include "io/history_grid.h"

#include <string>

namespace drawfollow {

std::vector<std::string> historyGridHeader() {
    std::vector<std::string> header{"期号"};
    for (int p = 1; p <= kRegularPositions; ++p)
        header.push_back("平" + std::to_string(p) + "码");
    header.push_back("特码");
    return header;
}

CellRows historyGridRows(std::span<const DrawInput> draws) {
    return [draws, next = size_t{0}, headed = false](std::vector<GridCell>& row) mutable {
        if (!headed) {
            headed = true;
            row = textCells(historyGridHeader());
            return true;
        }
        if (next == draws.size())
            return false;
        const DrawInput& d = draws[next++];
        row.assign(1, GridCell::whole(d.issue));
        for (int n : d.numbers)
            row.push_back(GridCell::whole(n));
        return true;
    };
}

CellGrid historyGrid(std::span<const DrawInput> draws) {
    CellGrid grid;
    grid.reserve(draws.size() + 1);
    const CellRows rows = historyGridRows(draws);
    for (std::vector<GridCell> row; rows(row);)
        grid.push_back(row);
    return grid;
}

CellGrid historyGrid(HistoryDb& db) {
    return historyGrid(db.draws());
}

}  // namespace drawfollow
