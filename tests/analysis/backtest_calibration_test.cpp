// On histories drawn uniformly at random no method can beat chance, so the backtest's z must
// be what chance gives: a mean near 0 and a spread near 1, for every result kind, scope and
// mode. A baseline that favours the chosen values (their frequency in the range they were
// picked from) averages near −0.8 here and fails the bounds.
#include "analysis/backtest.h"

#include "search_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

namespace drawfollow {
namespace {

struct Configuration {
    Kind result;
    TallyScope scope;
    PickMode mode;
};

constexpr std::array<Configuration, 6> kConfigurations = {{{Kind::Number, TallyScope::All, PickMode::Top},
                                                           {Kind::Tail, TallyScope::Regular, PickMode::Top},
                                                           {Kind::Zodiac, TallyScope::Special, PickMode::Top},
                                                           {Kind::Number, TallyScope::Special, PickMode::Exclude},
                                                           {Kind::Zodiac, TallyScope::All, PickMode::Exclude},
                                                           {Kind::Segment, TallyScope::Regular, PickMode::Exclude}}};

// The z of one backtest of 100 targets, top or last 5, on a random history of 500 draws
// spanning four zodiac years.
double randomHistoryZ(uint32_t seed, const Configuration& c) {
    test::SearchHistory h(test::seededDraws(500, seed), test::settingsFor(2013));
    SearchPanel panel;
    panel.options.codes = h.settings().codes;
    panel.options.zodiacOffset = h.settings().codes.offset();
    panel.options.segmentOffset = h.settings().segmentOffset;
    panel.options.freePositions = false;
    panel.options.ticked[0] = true;
    panel.options.resultKind = c.result;
    panel.options.scope = c.scope;
    const BacktestResult r = Backtest(h.db(), panel).run({100, 5, c.mode});
    EXPECT_GT(r.targets.size(), 90u);
    return r.z.value();
}

TEST(BacktestCalibration, ZIsStandardOnRandomHistories) {
    std::vector<double> z;
    for (uint32_t seed = 1; seed <= 48; ++seed)
        z.push_back(randomHistoryZ(seed * 7919, kConfigurations[seed % kConfigurations.size()]));
    const double n = static_cast<double>(z.size());
    const double mean = std::accumulate(z.begin(), z.end(), 0.0) / n;
    double squares = 0;
    for (const double v : z)
        squares += (v - mean) * (v - mean);
    const double spread = std::sqrt(squares / (n - 1));
    // The mean of 48 standard z has a standard error of 0.14; −0.8 is far outside.
    EXPECT_LT(std::abs(mean), 0.4) << "mean z " << mean;
    EXPECT_GT(spread, 0.7) << "spread " << spread;
    EXPECT_LT(spread, 1.35) << "spread " << spread;
}

}  // namespace
}  // namespace drawfollow
