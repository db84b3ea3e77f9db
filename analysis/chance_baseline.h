// Is a tally more than chance? Every count beside what drawing the same number of rows at
// random from the search's range would give.
//
// B is every stored row of the range [起, 止] (N rows), H ⊆ B the n hits, x(r, v) how many of
// the tally scope's positions of row r hold v. With m(v) and s²(v) the mean and population
// variance of x(·, v) over B, a random draw of n of the N rows without replacement expects
// e = n·m with variance V = n·s²·(N − n)/(N − 1); z = (count − e)/√V and its two-sided
// p = erfc(|z|/√2). Holm's adjustment then holds the family of values to 5 % as a whole.
#pragma once

#include "analysis/history_snapshot.h"
#include "analysis/search.h"

#include <optional>
#include <string>
#include <vector>

namespace drawfollow {

struct ValueChance {
    int value = 0;
    std::string text;  // as the tally grid names it
    long long count = 0;
    double expected = 0;
    double variance = 0;
    // None where the variance is 0 or the range holds at most one row.
    std::optional<double> z;
    std::optional<double> p;
    std::optional<double> adjustedP;  // Holm
};

struct ChanceBaseline {
    int rows = 0;                     // N
    int hits = 0;                     // n
    std::vector<ValueChance> values;  // in the tally grid's order
    std::optional<double> minAdjustedP;
    std::string verdict;
};

// The baseline of a search that ran on `inputs` and gave `result`; one read of the range's
// values of the result kind from a snapshot of the history. Refuses (StoreError) a search that did not run and a hit
// the range no longer holds (the history changed since the search).
ChanceBaseline chanceOf(HistoryDb& db, const SearchInputs& inputs, const SearchResult& result);
// The same over the snapshot the search was answered from.
ChanceBaseline chanceOf(const HistorySnapshot& history, const SearchInputs& inputs, const SearchResult& result);

// Holm's adjustment of the defined p-values; an undefined one stays undefined.
std::vector<std::optional<double>> holmAdjusted(const std::vector<std::optional<double>>& p);

// "p = 0.012", "p = 0.43" (two significant digits), "p < 0.001" below 0.001.
std::string pValueText(double p);

// The verdict on the smallest adjusted p, with a warning when there are fewer than 30 hits.
std::string chanceVerdict(std::optional<double> minAdjustedP, int hits);

}  // namespace drawfollow
