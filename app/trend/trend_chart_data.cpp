#include "app/trend/trend_chart_data.h"

#include <algorithm>
#include <array>

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
    counts.reserve(static_cast<size_t>(table.rowCount()) - static_cast<size_t>(window) + 1);
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

std::vector<LinePoint> pixelLine(const std::vector<int>& counts, int firstX, int buckets) {
    std::vector<LinePoint> line;
    const size_t n = counts.size();
    const auto at = [&](size_t i) { return LinePoint{firstX + static_cast<int>(i), counts[i]}; };
    if (buckets <= 0 || n <= 4 * static_cast<size_t>(buckets)) {
        line.reserve(n);
        for (size_t i = 0; i < n; ++i)
            line.push_back(at(i));
        return line;
    }
    const size_t perBucket = (n + static_cast<size_t>(buckets) - 1) / static_cast<size_t>(buckets);
    line.reserve(4 * static_cast<size_t>(buckets));
    for (size_t begin = 0; begin < n; begin += perBucket) {
        const size_t end = std::min(n, begin + perBucket);
        const auto [low, high] = std::minmax_element(counts.begin() + static_cast<std::ptrdiff_t>(begin),
                                                     counts.begin() + static_cast<std::ptrdiff_t>(end));
        std::array<size_t, 4> picks{begin, static_cast<size_t>(low - counts.begin()),
                                    static_cast<size_t>(high - counts.begin()), end - 1};
        std::sort(picks.begin(), picks.end());
        for (const size_t i : picks)
            if (line.empty() || line.back().x != at(i).x)
                line.push_back(at(i));
    }
    return line;
}

}  // namespace drawfollow
