#include "app/trend/trend_chart_data.h"

namespace drawfollow {

std::vector<double> countsPerDraw(const TrendTable& whole) {
    std::vector<double> rates(static_cast<size_t>(whole.columnCount()), 0.0);
    if (whole.rowCount() == 0)
        return rates;
    for (int c = 0; c < whole.columnCount(); ++c)
        rates[static_cast<size_t>(c)] = double(whole.column(c).count) / whole.rowCount();
    return rates;
}

std::vector<double> expectedCounts(const TrendTable& range, const std::vector<double>& perDraw) {
    std::vector<double> expected(static_cast<size_t>(range.columnCount()), 0.0);
    for (size_t c = 0; c < expected.size() && c < perDraw.size(); ++c)
        expected[c] = range.rowCount() * perDraw[c];
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
