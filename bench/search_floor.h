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

// Follow (size 0) or combination (size 1..6 over all eight positions) search over the whole
// history; ticked positions all eight for the follow search.
FloorAnswer floorSearch(const FloorHistory& history, const SearchInputs& inputs, bool combination);

}  // namespace drawfollow::bench
