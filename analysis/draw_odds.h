// What chance alone gives a set of values in one draw. A draw is eight distinct numbers of
// 1..30, the special one of them at random; a tally scope counts s of its positions (平特 8,
// 平码 7, 特码 1). When M of the thirty numbers hold a value of the set, the count of the
// scope's positions holding one is hypergeometric:
//   μ = s·M/30,  σ² = s·(M/30)·(1 − M/30)·(30 − s)/29.
// These are the draw's own odds: unlike rows of a range in which the values were chosen for
// being frequent, they do not favour the values picked from a tally.
#pragma once

#include "analysis/search.h"
#include "analysis/tally_rules.h"
#include "store/draw_row.h"

#include <span>

namespace drawfollow {

struct DrawOdds {
    double mean = 0;      // μ
    double variance = 0;  // σ²
};

DrawOdds drawOdds(int positions, int numbersHolding);

// M: how many numbers of 1..30 have a value of the result kind, derived as a row of `issue`
// derives it (its zodiac year, the code table and offsets of `settings`), that is one of
// `chosen` and counted by the tally.
int numbersHolding(const SearchSettings& settings, const TallyRules& rules, std::span<const int> chosen, int issue);

// How a stored draw met chosen values of a tally: h = Σ_{v∈C} x(draw, v), the count of the
// scope's positions holding one, beside μ and σ² for a random draw of its issue.
struct ChosenScore {
    int hit = 0;
    DrawOdds odds;
};

ChosenScore scoreChosen(const SearchSettings& settings, const TallyRules& rules, std::span<const int> chosen,
                        const StoredDraw& drawn);

}  // namespace drawfollow
