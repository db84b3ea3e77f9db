#include "cli/trend_output.h"
#include "cli/grid_text.h"
#include "cli/streamed_json.h"

#include "analysis/trend_summary.h"

#include <ostream>
#include <string>
#include <vector>

namespace drawfollow::cli {

namespace {

std::string rangeLine(const TrendWalk& walk) {
    if (walk.rowCount() == 0)
        return "范围内没有开奖记录。\n\n";
    return "期号范围 " + std::to_string(*walk.firstIssue()) + "～" + std::to_string(*walk.lastIssue()) + "，共 " +
           std::to_string(walk.rowCount()) + " 期。\n\n";
}

// The chart's line of one draw: its issue, then each value's cell.
void chartLine(const TrendWalk& walk, const TrendRow& row, std::vector<std::string>& line) {
    line.assign(1, std::to_string(row.issue));
    for (size_t c = 0; c < row.counts.size(); ++c) {
        const int x = row.counts[c];
        if (x == 0)
            line.push_back(std::to_string(row.omissions[c]));
        else
            line.push_back("[" + walk.columns()[c].name.text() + "]" + (x > 1 ? "×" + std::to_string(x) : ""));
    }
}

// The line heading the chart and the figures' lines under it.
TextGrid chartFrame(const TrendWalk& walk) {
    TextGrid frame(1, {"期号"});
    for (const ValueFigures& v : walk.columns())
        frame[0].push_back(v.name.text());
    for (Figure f : kTrendSummaryLines) {
        auto& line = frame.emplace_back(1, std::string(figureName(f)));
        for (const ValueFigures& v : walk.columns())
            line.push_back(figureText(v, f));
    }
    return frame;
}

}  // namespace

void writeOmissionJson(std::ostream& out, TrendWalk& walk) {
    walk.run([](const TrendRow&) {});
    nlohmann::ordered_json values = nlohmann::ordered_json::array();
    for (const ValueFigures& v : walk.columns())
        values.push_back({{"value", v.value},
                          {"text", v.name.text()},
                          {"count", v.count},
                          {"draws", v.draws},
                          {"current", v.current},
                          {"max", v.max},
                          {"average", v.average},
                          {"max_streak", v.maxStreak},
                          {"last_issue", v.lastIssue ? nlohmann::ordered_json(*v.lastIssue) : nullptr}});
    out << nlohmann::ordered_json{{"draws", walk.rowCount()}, {"values", std::move(values)}}.dump(1) << '\n';
}

void writeTrendJson(std::ostream& out, TrendWalk& walk) {
    out << "{\n";
    StreamedList columns(out, "columns");
    for (const ValueFigures& v : walk.columns())
        columns.add(v.name.text());
    columns.close();
    out << ",\n";
    StreamedList rows(out, "rows");
    walk.run([&rows](const TrendRow& row) {
        rows.add({{"issue", row.issue},
                  {"omission", std::vector<int>(row.omissions.begin(), row.omissions.end())},
                  {"count", std::vector<int>(row.counts.begin(), row.counts.end())}});
    });
    rows.close();
    out << "\n}\n";
}

void writeOmissionText(std::ostream& out, TrendWalk& walk) {
    walk.run([](const TrendRow&) {});
    TextGrid grid(1, {"结果"});
    for (Figure f : kOmissionTableFigures)
        grid[0].emplace_back(figureName(f));
    for (const ValueFigures& v : walk.columns()) {
        auto& line = grid.emplace_back(1, v.name.text());
        for (Figure f : kOmissionTableFigures)
            line.push_back(figureText(v, f));
    }
    out << rangeLine(walk) << alignedText(grid);
}

void writeTrendText(std::ostream& out, TrendWalk& walk) {
    AlignedColumns columns;
    std::vector<std::string> line;
    walk.run([&](const TrendRow& row) {
        chartLine(walk, row, line);
        columns.measure(line);
    });
    const TextGrid frame = chartFrame(walk);
    for (const auto& frameLine : frame)
        columns.measure(frameLine);
    out << rangeLine(walk) << columns.line(frame.front());
    walk.run([&](const TrendRow& row) {
        chartLine(walk, row, line);
        out << columns.line(line);
    });
    for (size_t f = 1; f < frame.size(); ++f)
        out << columns.line(frame[f]);
}

}  // namespace drawfollow::cli
