// Walk-forward backtest of a search panel: had the search been run before each of the last
// T draws, on the draws stored before it, how often would the top K values of its tally have
// been drawn, against chance?
//
// Target t: the base is the draw the first tab would show were t the next draw (上期: the
// stored draw before t; 前期 gap g: the g-th stored draw before t), the range [起, the stored
// draw before t], 起 the panel's (by default the window's). The top K are the first K values
// of the tally in the grid's order. With x(r, v) as the tally counts it:
//   h(t) = Σ_{v∈TopK} x(t, v); μ(t) and σ²(t) the mean and population variance over the
//   range's rows of y(r) = Σ_{v∈TopK} x(r, v);
//   O = Σh, E = Σμ, V = Σσ², z = (O − E)/√V, p = ½·erfc(z/√2): the chance of doing at least
//   this well by luck.
//
// The searches run over one snapshot of the history: the database is never written.
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search_panel.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace drawfollow {

struct BacktestSettings {
    int targets = 100;  // T: the newest T stored draws
    int top = 5;        // K
};

struct BacktestTarget {
    int issue = 0;                      // t
    int base = 0;                       // the issue of its base draw
    int hits = 0;                       // how many draws the search selected
    std::vector<int> top;               // the top K values, in the tally's order
    std::vector<std::string> topTexts;  // as the tally grid names them
    int hit = 0;                        // h(t)
    double expected = 0;                // μ(t)
    double variance = 0;                // σ²(t)

    // The top values as the tables show them: their texts in order, one space apart.
    std::string topLine() const;
};

struct BacktestResult {
    int top = 0;                          // K
    std::vector<BacktestTarget> targets;  // those that count, in issue order
    long long observed = 0;               // O
    double expected = 0;                  // E
    double variance = 0;                  // V
    std::optional<double> z;              // none when V = 0
    std::optional<double> p;
    int skipped = 0;      // targets whose search selected no draw
    int withoutBase = 0;  // targets too early in the history to have a base draw
    bool cancelled = false;
    std::string verdict;
};

// Called after each target: targets done, targets in all. Returning false stops the
// backtest; its result is then marked cancelled.
using BacktestProgress = std::function<bool(size_t done, size_t total)>;

class Backtest {
public:
    // Reads the history once. Refuses (StoreError, in the words the search would use) a
    // panel whose search would be refused on the whole history: a range box that is not a
    // number, a 前期 gap outside 1..9, a history too short for any base.
    Backtest(HistoryDb& db, const SearchPanel& panel);

    // Touches no database, so that a window can run it on another thread. Refuses
    // (StoreError) T or K below 1.
    BacktestResult run(const BacktestSettings& settings, const BacktestProgress& progress = {}) const;

private:
    HistorySnapshot history_;
    SearchPanel panel_;
};

// "前 5 个结果值共命中 61 次，随机期望 52.3 次（z = 1.32，p = 0.093）：…".
std::string backtestVerdict(const BacktestResult& result);

}  // namespace drawfollow
