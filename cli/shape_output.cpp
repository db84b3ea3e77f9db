#include "cli/shape_output.h"
#include "cli/grid_text.h"
#include "cli/streamed_json.h"

#include <cstdio>
#include <ostream>

namespace drawfollow::cli {

namespace {

nlohmann::ordered_json valueJson(ShapeMeasure measure, int value) {
    if (measure == ShapeMeasure::Zone)
        return shapeValueText(measure, value);
    return value;
}

nlohmann::ordered_json optionalJson(const std::optional<double>& x) {
    return x ? nlohmann::ordered_json(*x) : nlohmann::ordered_json(nullptr);
}

std::string fixed(double x, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, x);
    return text;
}

std::string rangeLine(const ShapeTable& table, const ShapeDistribution& distribution) {
    std::string line(measureName(distribution.measure));
    line += table.scope() == TallyScope::All ? "（平特）" : "（平码）";
    if (table.rowCount() == 0)
        return line + "：范围内没有开奖记录。\n\n";
    line += "：期号范围 " + std::to_string(table.issues().front()) + "～" + std::to_string(table.issues().back()) +
            "，共 " + std::to_string(table.rowCount()) + " 期";
    if (distribution.draws != table.rowCount())
        line += "，其中 " + std::to_string(distribution.draws) + " 期有上一期可比";
    return line + "。\n\n";
}

std::string testLine(const ShapeDistribution& distribution) {
    std::string line;
    if (distribution.fit.chi2)
        line = "χ² = " + fixed(*distribution.fit.chi2, 2) + "，自由度 " + std::to_string(distribution.fit.df) + "，";
    return line + distribution.verdict + "\n";
}

}  // namespace

void writeShapeJson(std::ostream& out, const ShapeTable& table, const ShapeDistribution& distribution) {
    const ShapeMeasure measure = distribution.measure;
    nlohmann::ordered_json values = nlohmann::ordered_json::array();
    for (const ShapeValue& v : distribution.values)
        values.push_back({{"value", valueJson(measure, v.value)},
                          {"count", v.count},
                          {"expected", v.expected},
                          {"p_value", v.chance}});
    out << "{\n";
    writeMembers(out,
                 {{"draws", distribution.draws},
                  {"values", std::move(values)},
                  {"chi2", optionalJson(distribution.fit.chi2)},
                  {"df", distribution.fit.df},
                  {"p", optionalJson(distribution.fit.p)},
                  {"verdict", distribution.verdict}},
                 false);
    out << ",\n";
    StreamedList trend(out, "trend");
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::optional<int> value = table.value(row, measure);
        trend.add({{"issue", table.issue(row)}, {"value", value ? valueJson(measure, *value) : nullptr}});
    }
    trend.close();
    out << "\n}\n";
}

std::string shapeText(const ShapeTable& table, const ShapeDistribution& distribution) {
    TextGrid grid(1, {std::string(measureName(distribution.measure)), "出现次数", "理论次数", "单期概率"});
    for (const ShapeValue& v : distribution.values)
        grid.push_back({v.text, std::to_string(v.count), fixed(v.expected, 2), fixed(v.chance, 6)});
    return rangeLine(table, distribution) + alignedText(grid) + "\n" + testLine(distribution);
}

}  // namespace drawfollow::cli
