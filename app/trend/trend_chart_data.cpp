#include "app/trend/trend_chart_data.h"

namespace drawfollow {

std::vector<double> expectedCounts(const TrendTable& range, const TrendTable& whole) {
    std::vector<double> expected(static_cast<size_t>(range.columnCount()), 0.0);
    if (whole.rowCount() == 0)
        return expected;
    for (int c = 0; c < range.columnCount() && c < whole.columnCount(); ++c)
        expected[static_cast<size_t>(c)] = double(range.rowCount()) * whole.column(c).count / whole.rowCount();
    return expected;
}

std::vector<int> windowCounts(const TrendTable& table, int column, int window) {
    std::vector<int> counts;
    if (window <= 0 || table.rowCount() < window)
        return counts;
    counts.reserve(static_cast<size_t>(table.rowCount() - window + 1));
    int inWindow = 0;
    for (int row = 0; row < table.rowCount(); ++row) {
        inWindow += table.count(row, column);
        if (row >= window)
            inWindow -= table.count(row - window, column);
        if (row >= window - 1)
            counts.push_back(inWindow);
    }
    return counts;
}

}  // namespace drawfollow
