// Pearson's chi-square test of observed counts against the expected counts of a known
// distribution, with neighbouring values pooled until each bin expects enough for the
// chi-square approximation to hold.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace drawfollow {

struct ChiSquareFit {
    int bins = 0;
    int df = 0;  // bins − 1
    // None with fewer than two bins: there is nothing to compare.
    std::optional<double> chi2;
    std::optional<double> p;
};

// The bins take the values in the order given and close once their expected count reaches
// 5; a last bin that falls short joins the one before. df = bins − 1, and p is the upper
// tail of the chi-square distribution with df degrees of freedom.
ChiSquareFit chiSquareFit(std::span<const long long> observed, std::span<const double> expected);

// P(X ≥ x) for X chi-square distributed with df > 0 degrees of freedom: the regularized
// upper incomplete gamma function Q(df/2, x/2).
double chiSquareUpperTail(double x, int df);

// The verdict in the tally's words.
std::string fitVerdict(const ChiSquareFit& fit);

}  // namespace drawfollow
