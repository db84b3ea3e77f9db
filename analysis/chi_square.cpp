#include "analysis/chi_square.h"

#include "analysis/chance_baseline.h"

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

namespace drawfollow {

namespace {

constexpr double kLeastExpected = 5;
// Sums of expected counts carry rounding: 5 made of shares is 5 here.
constexpr double kRoundingSlack = 1e-9;
constexpr double kSignificance = 0.05;
constexpr int kMostIterations = 500;
constexpr double kPrecision = 1e-15;

// P(a, x) by its series; converges fast for x < a + 1.
double lowerSeries(double a, double x) {
    double term = 1 / a;
    double sum = term;
    for (int n = 1; n < kMostIterations; ++n) {
        term *= x / (a + n);
        sum += term;
        if (std::abs(term) < std::abs(sum) * kPrecision)
            break;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Q(a, x) by its continued fraction (modified Lentz); converges fast for x ≥ a + 1 and
// keeps the relative precision of a tiny tail, which 1 − P would lose.
double upperFraction(double a, double x) {
    constexpr double tiny = std::numeric_limits<double>::min() / kPrecision;
    double b = x + 1 - a;
    double c = 1 / tiny;
    double d = 1 / b;
    double h = d;
    for (int i = 1; i < kMostIterations; ++i) {
        const double an = -i * (i - a);
        b += 2;
        d = an * d + b;
        if (std::abs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::abs(c) < tiny)
            c = tiny;
        d = 1 / d;
        const double step = d * c;
        h *= step;
        if (std::abs(step - 1) < kPrecision)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

}  // namespace

double chiSquareUpperTail(double x, int df) {
    if (df <= 0)
        throw std::invalid_argument("chi-square needs at least one degree of freedom");
    if (x <= 0)
        return 1;
    const double a = df / 2.0;
    const double half = x / 2;
    return half < a + 1 ? 1 - lowerSeries(a, half) : upperFraction(a, half);
}

ChiSquareFit chiSquareFit(std::span<const long long> observed, std::span<const double> expected) {
    if (observed.size() != expected.size())
        throw std::invalid_argument("observed and expected counts differ in length");
    struct Bin {
        double observed = 0;
        double expected = 0;
    };
    std::vector<Bin> bins;
    Bin open;
    bool openHoldsValues = false;
    for (size_t i = 0; i < observed.size(); ++i) {
        open.observed += static_cast<double>(observed[i]);
        open.expected += expected[i];
        openHoldsValues = true;
        if (open.expected >= kLeastExpected - kRoundingSlack) {
            bins.push_back(open);
            open = {};
            openHoldsValues = false;
        }
    }
    if (openHoldsValues) {
        if (bins.empty()) {
            bins.push_back(open);
        } else {
            bins.back().observed += open.observed;
            bins.back().expected += open.expected;
        }
    }
    ChiSquareFit fit;
    fit.bins = static_cast<int>(bins.size());
    if (fit.bins < 2)
        return fit;
    fit.df = fit.bins - 1;
    double chi2 = 0;
    for (const Bin& bin : bins)
        chi2 += (bin.observed - bin.expected) * (bin.observed - bin.expected) / bin.expected;
    fit.chi2 = chi2;
    fit.p = chiSquareUpperTail(chi2, fit.df);
    return fit;
}

std::string fitVerdict(const ChiSquareFit& fit) {
    if (!fit.p)
        return "无法与随机抽取比较（期数太少，期望次数凑不满两组）";
    if (*fit.p < kSignificance)
        return "显著偏离随机（卡方检验 " + pValueText(*fit.p) + "）";
    return "与随机抽取无显著差异（卡方检验 " + pValueText(*fit.p) + "）";
}

}  // namespace drawfollow
