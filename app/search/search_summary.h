// What a search was asked, in words for the line above the result grids: the search, the
// kind compared and the one tallied, the positions, the period, the draw the values came
// from, the range and how many issues were found.
#pragma once

#include "analysis/search.h"

#include <QString>

namespace drawfollow {

enum class SearchButton;  // search_panel_controller.h

// `base` names the draw the values came from: "依据第 2026096 期", "依据手动输入的号码",
// "验证第 2026050 期，依据第 2026049 期".
QString searchSummary(SearchButton button, const SearchInputs& inputs, const QString& base, const SearchResult& result);

}  // namespace drawfollow
