// The searches as their statements are written, one at a time: a reset, one counting
// UPDATE per condition, one walk per reference field, and for the combination search
// the reset, k updates and the flag update of every set. The product runs far fewer
// statements; the tests hold it to the same results and the same table contents.
#pragma once

#include "analysis/search.h"

namespace drawfollow::test {

SearchResult runLiteralFollowSearch(HistoryDb& db, const SearchInputs& inputs);
SearchResult runLiteralCombinationSearch(HistoryDb& db, const SearchInputs& inputs);

}  // namespace drawfollow::test
