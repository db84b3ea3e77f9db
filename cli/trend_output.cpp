#include "cli/trend_output.h"
#include "cli/grid_text.h"

#include "analysis/trend_summary.h"

namespace drawfollow::cli {

namespace {

std::string rangeLine(const TrendTable& table) {
    if (table.rowCount() == 0)
        return "范围内没有开奖记录。\n\n";
    return "期号范围 " + std::to_string(table.issues().front()) + "～" + std::to_string(table.issues().back()) +
           "，共 " + std::to_string(table.rowCount()) + " 期。\n\n";
}

std::string chartCell(const TrendTable& table, int row, int column) {
    const int x = table.count(row, column);
    if (x == 0)
        return std::to_string(table.omission(row, column));
    return "[" + table.column(column).text + "]" + (x > 1 ? "×" + std::to_string(x) : "");
}

}  // namespace

nlohmann::ordered_json omissionJson(const TrendTable& table) {
    nlohmann::ordered_json values = nlohmann::ordered_json::array();
    for (const ValueFigures& v : table.columns())
        values.push_back({{"value", v.value},
                          {"text", v.text},
                          {"count", v.count},
                          {"draws", v.draws},
                          {"current", v.current},
                          {"max", v.max},
                          {"average", v.average},
                          {"max_streak", v.maxStreak},
                          {"last_issue", v.lastIssue ? nlohmann::ordered_json(*v.lastIssue) : nullptr}});
    return {{"draws", table.rowCount()}, {"values", std::move(values)}};
}

nlohmann::ordered_json trendJson(const TrendTable& table) {
    nlohmann::ordered_json columns = nlohmann::ordered_json::array();
    for (const ValueFigures& v : table.columns())
        columns.push_back(v.text);
    nlohmann::ordered_json rows = nlohmann::ordered_json::array();
    for (int r = 0; r < table.rowCount(); ++r) {
        nlohmann::ordered_json omission = nlohmann::ordered_json::array();
        nlohmann::ordered_json count = nlohmann::ordered_json::array();
        for (int c = 0; c < table.columnCount(); ++c) {
            omission.push_back(table.omission(r, c));
            count.push_back(table.count(r, c));
        }
        rows.push_back({{"issue", table.issue(r)}, {"omission", std::move(omission)}, {"count", std::move(count)}});
    }
    return {{"columns", std::move(columns)}, {"rows", std::move(rows)}};
}

std::string omissionText(const TrendTable& table) {
    TextGrid grid(1, {"结果"});
    for (Figure f : kOmissionTableFigures)
        grid[0].emplace_back(figureName(f));
    for (const ValueFigures& v : table.columns()) {
        auto& line = grid.emplace_back(1, v.text);
        for (Figure f : kOmissionTableFigures)
            line.push_back(figureText(v, f));
    }
    return rangeLine(table) + alignedText(grid);
}

std::string trendText(const TrendTable& table) {
    TextGrid grid(1, {"期号"});
    for (const ValueFigures& v : table.columns())
        grid[0].push_back(v.text);
    for (int r = 0; r < table.rowCount(); ++r) {
        auto& line = grid.emplace_back(1, std::to_string(table.issue(r)));
        for (int c = 0; c < table.columnCount(); ++c)
            line.push_back(chartCell(table, r, c));
    }
    for (Figure f : kTrendSummaryLines) {
        auto& line = grid.emplace_back(1, std::string(figureName(f)));
        for (const ValueFigures& v : table.columns())
            line.push_back(figureText(v, f));
    }
    return rangeLine(table) + alignedText(grid);
}

}  // namespace drawfollow::cli
