// A recorded pick's search panel as text, so that the pick can be scored in its own terms
// and its search run again: "kind=0;result=3;scope=0;free=1;…". Only the first tab's
// panel is recorded (the base is always the newest draw, the range ends at it).
#pragma once

#include "analysis/search_panel.h"

#include <optional>
#include <string>

namespace drawfollow {

std::string pickPanelText(const SearchPanel& panel);

// None when the text is not one pickPanelText writes.
std::optional<SearchPanel> pickPanelOf(const std::string& text, bool combination);

}  // namespace drawfollow
