#include "cli/chance_output.h"
#include "cli/grid_text.h"
#include "cli/number_output.h"

namespace drawfollow::cli {

namespace {

// A p-value as its text writes it, without the "p": "0.012", "< 0.001"; "-" when there is none.
std::string pCell(const std::optional<double>& p) {
    if (!p)
        return "-";
    const std::string text = pValueText(*p);
    return text.starts_with("p = ") ? text.substr(4) : text.substr(2);
}

}  // namespace

nlohmann::ordered_json chanceJson(const ChanceBaseline& baseline) {
    nlohmann::ordered_json values = nlohmann::ordered_json::array();
    for (const ValueChance& v : baseline.values)
        values.push_back({{"value", v.value},
                          {"text", v.text},
                          {"count", v.count},
                          {"expected", v.expected},
                          {"z", orNull(v.z)},
                          {"p", orNull(v.p)},
                          {"p_holm", orNull(v.adjustedP)}});
    return {{"rows", baseline.rows},
            {"hits", baseline.hits},
            {"values", std::move(values)},
            {"min_p_holm", orNull(baseline.minAdjustedP)},
            {"verdict", baseline.verdict}};
}

std::string chanceText(const ChanceBaseline& baseline) {
    TextGrid grid = {{"结果", "出现次数", "期望次数", "偏离", "p", "校正 p"}};
    for (const ValueChance& v : baseline.values)
        grid.push_back({v.text, std::to_string(v.count), fixed(v.expected, 1), v.z ? fixed(*v.z, 2) : "-", pCell(v.p),
                        pCell(v.adjustedP)});
    return "与随机抽取比较：范围内 " + std::to_string(baseline.rows) + " 期，命中 " + std::to_string(baseline.hits) +
           " 期。\n\n" + alignedText(grid) + '\n' + baseline.verdict + '\n';
}

}  // namespace drawfollow::cli
