// What a tally counts and how it lists the counts: the tally and its chance baseline must
// count the very same occurrences, so both read them from here.
#pragma once

#include "analysis/search.h"

#include <span>
#include <string>
#include <vector>

namespace drawfollow {

class TallyRules {
public:
    // Reads the result kind, the scope, the code table and the offsets.
    explicit TallyRules(const SearchSettings& settings);

    // The values Carcu and the tally grid list, every one also with count 0.
    ValueRange listed() const { return listed_; }
    int listedCount() const { return listed_.high - listed_.low + 1; }
    // How many positions of a row the scope counts (8, 7 or 1).
    int positionsCounted() const { return lastPosition_ - firstPosition_ + 1; }

    // Whether a row holding the value adds to its count: it is listed and of the kind's
    // counted values (a listed value outside them keeps its count of 0).
    bool isCounted(int value) const { return counted_.contains(value) && listed_.contains(value); }

    // Adds how often each listed value occurs in the scope's positions of one row's values
    // of the result kind to `counts`, indexed by value − listed().low.
    void addRow(const std::array<int, kPositions>& values, std::span<long long> counts) const;

    // The listed values with their counts (indexed as addRow fills them), in ascending value order.
    std::vector<TallyRow> rows(std::span<const long long> counts) const;

    // The value as the grids name it: a zodiac code by its animal, any other value in decimal.
    std::string valueText(int value) const;
    // The same as a grid cell: a zodiac's animal as text, any other value as a whole number.
    GridCell valueCell(int value) const;

private:
    Kind kind_;
    ZodiacCodeTable codes_;
    ValueRange counted_;
    ValueRange listed_;
    int firstPosition_;
    int lastPosition_;
};

// Puts rows given in ascending value order into the tally grid's order: the largest count
// first, ties in ascending value order.
void sortForGrid(std::vector<TallyRow>& rows);

}  // namespace drawfollow
