// What the searches mean, evaluated directly over the stored draws in memory: a row is a
// following draw of its reference draw, one row (上期) or N rows (前期) earlier; free
// positions compare as multisets, fixed positions position by position.
#pragma once

#include "analysis/search.h"
#include "store/draw_row.h"

#include <vector>

namespace drawfollow::test {

// The issues the follow search must report.
std::vector<int> expectedFollowHits(const std::vector<DrawRow>& history, const SearchInputs& inputs);
// The issues the combination search must report.
std::vector<int> expectedCombinationHits(const std::vector<DrawRow>& history, const SearchInputs& inputs);

// The detail line of a hit: issue, the eight values of the result kind (animal names for
// zodiac codes), and the plain list of the reference draw.
std::vector<std::string> expectedDetailLine(const std::vector<DrawRow>& history, int issue, const SearchInputs& inputs);

// How often each value of the result kind occurs at the tallied positions of the hits.
std::map<int, int> expectedTally(const std::vector<DrawRow>& history, const std::vector<int>& hits,
                                 const SearchInputs& inputs);

}  // namespace drawfollow::test
