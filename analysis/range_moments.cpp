#include "analysis/range_moments.h"

namespace drawfollow {

RangeMoments::RangeMoments(int values)
    : values_(values),
      sums_(static_cast<size_t>(values), 0),
      products_(static_cast<size_t>(values) * static_cast<size_t>(values), 0) {}

void RangeMoments::add(std::span<const long long> x) {
    ++rows_;
    // A row holds at most eight values: only their pairs change.
    present_.clear();
    for (int v = 0; v < values_; ++v)
        if (x[v] != 0)
            present_.push_back(v);
    for (const int v : present_) {
        sums_[v] += x[v];
        for (const int w : present_)
            products_[static_cast<size_t>(v) * values_ + w] += x[v] * x[w];
    }
}

long long RangeMoments::sum(std::span<const int> set) const {
    long long total = 0;
    for (const int v : set)
        total += sums_[v];
    return total;
}

long long RangeMoments::spread(std::span<const int> set) const {
    long long squares = 0;  // Σ_r y(r)² = Σ_{v,w∈S} Σ_r x(r, v)·x(r, w)
    for (const int v : set)
        for (const int w : set)
            squares += products_[static_cast<size_t>(v) * values_ + w];
    const long long total = sum(set);
    return rows_ * squares - total * total;
}

double RangeMoments::mean(std::span<const int> set) const {
    return rows_ == 0 ? 0.0 : static_cast<double>(sum(set)) / static_cast<double>(rows_);
}

double RangeMoments::variance(std::span<const int> set) const {
    if (rows_ == 0)
        return 0.0;
    const auto n = static_cast<double>(rows_);
    return static_cast<double>(spread(set)) / (n * n);
}

}  // namespace drawfollow
