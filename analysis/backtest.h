// Walk-forward backtest of a search panel: had the search been run before each of the last
// T draws, on the draws stored before it, how often would the values it picked from its
// tally have been drawn, against the draw's own odds?
//
// Target t: the base is the draw the first tab would show were t the next draw (上期: the
// stored draw before t; 前期 gap g: the g-th stored draw before t), the range [起, the stored
// draw before t], 起 the panel's (by default the window's). The chosen values C are the
// first K of the tally in the grid's order (top), or its last K, the fewest occurrences
// (杀号, exclude). With x(r, v) as the tally counts it:
//   h(t) = Σ_{v∈C} x(t, v); μ(t) and σ²(t) what a random draw gives (analysis/draw_odds.h);
//   O = Σh, E = Σμ, V = Σσ², z = (O − E)/√V. Top: p = ½·erfc(z/√2), the chance of at least
//   this many hits by luck; exclude: p = ½·erfc(−z/√2), the chance of at most this many.
//
// The searches run over one snapshot of the history: the database is never written.
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search_marking.h"
#include "analysis/search_panel.h"
#include "analysis/tally_rules.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace drawfollow {

// Which end of the tally the values are chosen from.
enum class PickMode { Top, Exclude };

struct BacktestSettings {
    int targets = 100;  // T: the newest T stored draws
    int top = 5;        // K
    PickMode mode = PickMode::Top;
};

struct BacktestTarget {
    int issue = 0;                         // t
    int base = 0;                          // the issue of its base draw
    int hits = 0;                          // how many draws the search selected
    std::vector<int> chosen;               // C, in the tally's order
    std::vector<std::string> chosenTexts;  // as the tally grid names them
    int hit = 0;                           // h(t)
    double expected = 0;                   // μ(t)
    double variance = 0;                   // σ²(t)

    // The chosen values as the tables show them: their texts in order, one space apart.
    std::string chosenLine() const;
};

struct BacktestResult {
    int top = 0;  // K
    PickMode mode = PickMode::Top;
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
    // The same over a snapshot the caller has read (a window's, shared with its workers).
    Backtest(HistorySnapshot history, const SearchPanel& panel);

    // Touches no database, so that a window can run it on another thread. Refuses
    // (StoreError) T or K below 1.
    BacktestResult run(const BacktestSettings& settings, const BacktestProgress& progress = {}) const;

    // The choice for the issue after the newest stored draw, made as run() makes it for each
    // target: its base, hits and chosen values (issue, hit and odds left 0). None when the
    // history gives no base draw or the search selects no draw. Refuses K below 1.
    std::optional<BacktestTarget> nextChoice(int top, PickMode mode) const;

private:
    size_t rangeStart() const;
    // The stored draws before index t, as the panel builder reads a history.
    PanelHistory historyBefore(size_t t) const;
    // The choice for the draw at index t (the count of stored draws: the next issue);
    // none without a base draw, no chosen values when the search selects no draw.
    std::optional<BacktestTarget> choose(size_t t, size_t rangeStart, const BacktestSettings& settings,
                                         const TallyRules& rules) const;

    HistorySnapshot history_;
    SearchPanel panel_;
    // Free positions: every target's search reads the same reference draws.
    std::optional<OccurrenceTable> occurrences_;
};

// The chosen values of a tally given in the grid's order.
std::vector<int> chosenValues(const std::vector<TallyRow>& tally, int top, PickMode mode);

// The caption of the chosen values' column: "前 5 个结果值", "杀号：后 5 个结果值".
std::string chosenCaption(const BacktestResult& result);

// p of z for the mode: the chance of a result at least this good by luck.
double pickP(double z, PickMode mode);

// Fewer targets or scored picks than this make a verdict unreliable, and it says so.
inline constexpr int kFewChanceTrials = 30;

// "共开出 61 次，随机开奖期望 52.3 次（z = 1.32，p = 0.093）：显著好于随机抽取"; for 杀号
// "…：杀号不比随机更好".
std::string againstChance(PickMode mode, long long observed, double expected, double z, double p);

// "前 5 个结果值在 100 期中共开出 61 次，随机开奖期望 52.3 次（z = 1.32，p = 0.093）：…".
std::string backtestVerdict(const BacktestResult& result);

}  // namespace drawfollow
