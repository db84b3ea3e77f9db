// Histories to search and the panel states to search them with.
#pragma once

#include "analysis/search.h"
#include "store/draw_row.h"
#include "store/text_grid.h"

#include "support/history_builder.h"
#include "support/temp_dir.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace drawfollow::test {

// A history database of its own in a temporary folder.
class SearchHistory {
public:
    SearchHistory(const std::vector<DrawInput>& draws, const DerivationSettings& settings);

    HistoryDb& db() { return *db_; }
    const std::vector<DrawRow>& rows() const { return rows_; }
    const DerivationSettings& settings() const { return settings_; }

    // A panel state over the whole history (range from its first to its last issue) with
    // the table's zodiac and segment settings, no position ticked, base values all 0.
    SearchInputs inputs() const;

private:
    TempDir dir_;
    DerivationSettings settings_;
    std::unique_ptr<HistoryDb> db_;
    std::vector<DrawRow> rows_;
};

// Ticks the given positions (1..8).
void tick(SearchInputs& inputs, std::initializer_list<int> positions);

// Every cell of Lishi and Carcu, row by row, for comparing whole tables.
std::vector<std::string> tableDump(HistoryDb& db);
// The first difference of two dumps, for a readable failure; empty when equal.
std::string firstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b);

// The tally grid the counts must give: every listed value of the result kind, most
// frequent first, ties in ascending value order.
TextGrid expectedTallyGrid(const std::map<int, int>& counts, long long total, const SearchInputs& inputs);

// The count a tally grid shows for a value text; -1 when the value is not listed.
int tallyCount(const CellGrid& tally, const std::string& valueText);

// What every cell of a grid shows, for comparing a result with the texts a user sees.
TextGrid shownTexts(const CellGrid& grid);
TextGrid shownTexts(const RowGrid& grid);

}  // namespace drawfollow::test
