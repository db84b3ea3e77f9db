// What chance gives each shape of a draw: the exact distribution of every measure when the
// scope's numbers are a uniform random set (seven of 1..30; under 平特 the special number is
// one of the other 23, which makes the eight a uniform random set of eight).
#pragma once

#include "analysis/shape_measures.h"

#include <cstdint>
#include <vector>

namespace drawfollow {

struct ShapeChance {
    int value = 0;
    uint64_t sets = 0;  // how many of the C(30, k) sets have it
    double chance = 0;  // sets / C(30, k)
};

// Every value with a nonzero chance, in ascending order (zones by their three counts).
// 重号 is the hypergeometric count of a random set's members among the k of a given previous
// draw, the same whatever that draw was. Every set is visited once per scope and process,
// the first time the scope is asked for; later calls return the same distributions.
const std::vector<ShapeChance>& shapeDistribution(ShapeMeasure measure, TallyScope scope);

// C(n, k); 0 outside 0 ≤ k ≤ n.
uint64_t binomial(int n, int k);

}  // namespace drawfollow
