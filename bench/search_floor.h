// The yardstick the searches are measured against: the same hits and tally computed from
// the draws' values in plain arrays, with no database, no snapshot and no grid. Written
// for the benchmark's panels (free positions with the special number, or fixed positions;
// 上期 or 前期), it is checked against the product's answer before it is timed.
#pragma once

#include "analysis/search.h"

#include <array>
#include <vector>

namespace drawfollow::bench {

struct FloorAnswer {
    std::vector<int> hits;
    std::array<long long, 31> tally{};  // by value of the result kind
};

// `values[kind][row * 8 + position]`, rows in issue order.
struct FloorHistory {
    std::vector<int> issues;
    std::array<std::vector<int8_t>, kKinds> values;

    static FloorHistory of(const std::vector<StoredDraw>& draws);
};

// Follow or combination (size 1..6 over all eight positions) search over the rows before
// `end` (the whole history by default); the follow search counts the ticked positions.
FloorAnswer floorSearch(const FloorHistory& history, const SearchInputs& inputs, bool combination,
                        size_t end = static_cast<size_t>(-1));

// The walk-forward backtest of a 上期 search with every position tallied: for each of the
// newest `targets` rows, the search over the rows before it on the row before it as base, the
// `top` values of its tally (largest count first, ties by value), and how often the target
// row holds one of them.
struct FloorBacktest {
    std::vector<std::vector<int>> chosen;  // per target with hits
    long long observed = 0;
};
FloorBacktest floorBacktest(const FloorHistory& history, const SearchInputs& settings, bool combination, int targets,
                            int top);

}  // namespace drawfollow::bench
