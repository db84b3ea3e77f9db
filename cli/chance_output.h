// search|combination --chance: the chance baseline of the tally, as JSON or as text.
#pragma once

#include "analysis/chance_baseline.h"

#include <nlohmann/json.hpp>

#include <string>

namespace drawfollow::cli {

// {"rows", "hits", "values": [{"value", "text", "count", "expected", "z", "p", "p_holm"}…],
// "min_p_holm", "verdict"}; what is undefined is null.
nlohmann::ordered_json chanceJson(const ChanceBaseline& baseline);

// A line on the rows compared, a grid with the expected counts and deviations, the verdict.
std::string chanceText(const ChanceBaseline& baseline);

}  // namespace drawfollow::cli
