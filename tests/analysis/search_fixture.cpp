#include "search_fixture.h"

#include <SQLiteCpp/Statement.h>

#include <algorithm>

namespace drawfollow::test {

SearchHistory::SearchHistory(const std::vector<DrawInput>& draws, const DerivationSettings& settings)
    : settings_(settings), db_(std::make_unique<HistoryDb>(dir_ / HistoryDb::kFileName)) {
    // Hundreds of searches commit in a row here; waiting for the disk each time only slows the tests.
    db_->connection().exec("PRAGMA synchronous = OFF");
    db_->replaceAll(draws, settings_);
    rows_ = test::everyRow(*db_);
}

SearchInputs SearchHistory::inputs() const {
    SearchInputs in;
    in.values = PositionValues{};
    in.firstIssue = rows_.empty() ? "0" : std::to_string(rows_.front().issue);
    in.lastIssue = rows_.empty() ? "0" : std::to_string(rows_.back().issue);
    in.codes = settings_.codes;
    in.zodiacOffset = settings_.codes.offset();
    in.segmentOffset = settings_.segmentOffset;
    return in;
}

void tick(SearchInputs& inputs, std::initializer_list<int> positions) {
    for (int p : positions)
        inputs.ticked[p - 1] = true;
}

std::vector<std::string> tableDump(HistoryDb& db) {
    std::vector<std::string> cells;
    for (const char* sql : {"SELECT * FROM lishi ORDER BY SQQH", "SELECT * FROM Carcu ORDER BY rowid"}) {
        SQLite::Statement q(db.connection(), sql);
        while (q.executeStep())
            for (int i = 0; i < q.getColumnCount(); ++i) {
                const SQLite::Column c = q.getColumn(i);
                cells.push_back(q.getColumnName(i) + std::string("=") + (c.isNull() ? "NULL" : c.getString()));
            }
    }
    return cells;
}

std::string firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        if (a[i] != b[i])
            return "cell " + std::to_string(i) + ": " + a[i] + " vs " + b[i];
    if (a.size() != b.size())
        return "sizes " + std::to_string(a.size()) + " vs " + std::to_string(b.size());
    return {};
}

TextGrid expectedTallyGrid(const std::map<int, int>& counts, long long total, const SearchInputs& inputs) {
    int low = 0, high = 0;
    switch (inputs.resultKind) {
        case Kind::Number:
            low = 1, high = 30;
            break;
        case Kind::Zodiac:
            low = inputs.zodiacOffset, high = inputs.zodiacOffset + 11;
            break;
        case Kind::Head:
            low = 0, high = 3;
            break;
        case Kind::Tail:
            low = 0, high = 9;
            break;
        case Kind::DigitSum:
            low = 1, high = 11;
            break;
        case Kind::Segment:
            low = inputs.segmentOffset, high = inputs.segmentOffset + 9;
            break;
    }
    std::vector<std::pair<int, int>> lines;
    for (int v = low; v <= high; ++v)
        lines.emplace_back(v, counts.count(v) ? counts.at(v) : 0);
    std::stable_sort(lines.begin(), lines.end(), [](auto& a, auto& b) { return a.second > b.second; });
    TextGrid grid = {{"序号", "结果", "出现次数", "百分比"}};
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto [v, n] = lines[i];
        const std::string name = inputs.resultKind == Kind::Zodiac
                                     ? std::string(animalName(*inputs.codes.animalOfCode(v)))
                                     : std::to_string(v);
        grid.push_back({std::to_string(i + 1), name, std::to_string(n), percentText(n, total)});
    }
    return grid;
}

int tallyCount(const CellGrid& tally, const std::string& valueText) {
    for (size_t i = 1; i < tally.size(); ++i)
        if (tally[i][1].text() == valueText)
            return std::stoi(tally[i][2].text());
    return -1;
}

TextGrid shownTexts(const CellGrid& grid) {
    TextGrid texts;
    for (const std::vector<GridCell>& row : grid)
        texts.push_back(cellTexts(row));
    return texts;
}

TextGrid shownTexts(const RowGrid& grid) {
    return shownTexts(grid.cells());
}

}  // namespace drawfollow::test
