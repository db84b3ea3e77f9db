#include "analysis/trend_summary.h"

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

GridCell figureCell(const ValueFigures& figures, Figure figure) {
    switch (figure) {
        case Figure::Count:
            return GridCell::whole(figures.count);
        case Figure::Draws:
            return GridCell::whole(figures.draws);
        case Figure::Average:
            return GridCell::fixed(figures.average, 2);
        case Figure::Max:
            return GridCell::whole(figures.max);
        case Figure::MaxStreak:
            return GridCell::whole(figures.maxStreak);
        case Figure::Current:
            return GridCell::whole(figures.current);
        case Figure::LastIssue:
            return figures.lastIssue ? GridCell::whole(*figures.lastIssue) : GridCell();
    }
    return {};
}

std::string figureText(const ValueFigures& figures, Figure figure) {
    return figureCell(figures, figure).text();
}

}  // namespace drawfollow
