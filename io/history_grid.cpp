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

GridRows historyGridRows(std::span<const DrawInput> draws) {
    return [draws, next = size_t{0}, headed = false](std::vector<std::string>& row) mutable {
        if (!headed) {
            headed = true;
            row = historyGridHeader();
            return true;
        }
        if (next == draws.size())
            return false;
        const DrawInput& d = draws[next++];
        row.assign(1, std::to_string(d.issue));
        for (int n : d.numbers)
            row.push_back(std::to_string(n));
        return true;
    };
}

TextGrid historyGrid(std::span<const DrawInput> draws) {
    TextGrid grid;
    grid.reserve(draws.size() + 1);
    const GridRows rows = historyGridRows(draws);
    for (std::vector<std::string> row; rows(row);)
        grid.push_back(row);
    return grid;
}

TextGrid historyGrid(HistoryDb& db) {
    return historyGrid(db.draws());
}

}  // namespace drawfollow
