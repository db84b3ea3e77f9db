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

TextGrid historyGrid(std::span<const DrawInput> draws) {
    TextGrid grid;
    grid.reserve(draws.size() + 1);
    grid.push_back(historyGridHeader());
    for (const DrawInput& d : draws) {
        std::vector<std::string> row{std::to_string(d.issue)};
        for (int n : d.numbers)
            row.push_back(std::to_string(n));
        grid.push_back(std::move(row));
    }
    return grid;
}

TextGrid historyGrid(HistoryDb& db) {
    return historyGrid(db.draws());
}

}  // namespace drawfollow
