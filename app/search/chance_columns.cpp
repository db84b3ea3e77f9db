#include "app/search/chance_columns.h"

#include "analysis/search.h"

namespace drawfollow {

std::vector<std::string> chanceTallyHeader() {
    std::vector<std::string> header = tallyHeader();
    header.push_back("期望次数");
    header.push_back("偏离");
    return header;
}

ChanceTally withChance(CellGrid tally, const ChanceBaseline& chance) {
    ChanceTally result{withoutChance(std::move(tally)), {}};
    for (size_t i = 0; i < chance.values.size() && i + 1 < result.grid.size(); ++i) {
        const ValueChance& v = chance.values[i];
        std::vector<GridCell>& row = result.grid[i + 1];
        row[kChanceExpectedColumn] = GridCell::fixed(v.expected, 1);
        // A value whose count cannot vary by chance has no deviation to show.
        row[kChanceZColumn] = v.z ? GridCell::fixed(*v.z, 2) : GridCell("—");
        if (v.adjustedP && *v.adjustedP < kSignificanceLevel)
            result.shaded.emplace_back(kChanceZColumn, static_cast<int>(i));
    }
    return result;
}

CellGrid withoutChance(CellGrid tally) {
    if (tally.empty())
        return {textCells(chanceTallyHeader())};
    tally.front() = textCells(chanceTallyHeader());
    for (size_t r = 1; r < tally.size(); ++r)
        tally[r].resize(kChanceZColumn + 1);
    return tally;
}

QString chanceLine(const ChanceBaseline& chance) {
    return QStringLiteral("与随机相比：") + QString::fromStdString(chance.verdict);
}

}  // namespace drawfollow
