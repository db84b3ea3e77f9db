#include "analysis/trend_summary.h"

#include <cstdio>

namespace drawfollow {

std::string_view figureName(Figure figure) {
    switch (figure) {
        case Figure::Count:
            return "出现次数";
        case Figure::Draws:
            return "出现期数";
        case Figure::Average:
            return "平均遗漏";
        case Figure::Max:
            return "最大遗漏";
        case Figure::MaxStreak:
            return "最大连出";
        case Figure::Current:
            return "当前遗漏";
        case Figure::LastIssue:
            return "最后出现";
    }
    return {};
}

std::string figureText(const ValueFigures& figures, Figure figure) {
    switch (figure) {
        case Figure::Count:
            return std::to_string(figures.count);
        case Figure::Draws:
            return std::to_string(figures.draws);
        case Figure::Average: {
            char text[32];
            std::snprintf(text, sizeof text, "%.2f", figures.average);
            return text;
        }
        case Figure::Max:
            return std::to_string(figures.max);
        case Figure::MaxStreak:
            return std::to_string(figures.maxStreak);
        case Figure::Current:
            return std::to_string(figures.current);
        case Figure::LastIssue:
            return figures.lastIssue ? std::to_string(*figures.lastIssue) : std::string();
    }
    return {};
}

}  // namespace drawfollow
