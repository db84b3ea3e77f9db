// Running sums over a growing run of rows from which the mean and the population variance
// of y(r) = Σ_{v∈S} x(r, v) follow for any set S of values, exactly: Σx(r, v) for every
// value and Σx(r, v)·x(r, w) for every pair. The backtest's ranges are nested, each one row
// longer than the one before, so each row is added once for all of them.
#pragma once

#include <span>
#include <vector>

namespace drawfollow {

class RangeMoments {
public:
    // `values`: how many values x is given for (indices 0 .. values − 1).
    explicit RangeMoments(int values);

    // One row's x(r, v), indexed as the constructor counts.
    void add(std::span<const long long> x);

    long long rows() const { return rows_; }
    // Σ_r y(r) and N·Σ_r y(r)² − (Σ_r y(r))² = N²·variance, in whole numbers.
    long long sum(std::span<const int> set) const;
    long long spread(std::span<const int> set) const;
    // The mean and the population variance of y over the rows; 0 without rows.
    double mean(std::span<const int> set) const;
    double variance(std::span<const int> set) const;

private:
    int values_;
    long long rows_ = 0;
    std::vector<long long> sums_;      // [v]
    std::vector<long long> products_;  // [v · values + w]
    std::vector<int> present_;         // scratch: the values a row holds
};

}  // namespace drawfollow
