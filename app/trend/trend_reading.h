// The chart and its expected line read together from a shared snapshot, so that the work
// can run off the window's thread: it touches nothing but the snapshot it holds.
#pragma once

#include "analysis/trend_table.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace drawfollow {

struct TrendReading {
    TrendTable table;
    // Each value's count per draw over the whole history; none when the rates were Known.
    std::optional<std::vector<double>> perDraw;
    QString problem;  // why nothing was read, for the user; empty when read
};

// Whether the reader already holds the whole history's rates for the choice's kind and scope.
enum class WholeHistoryRates { Read, Known };

TrendReading readTrendReading(const std::shared_ptr<const HistorySnapshot>& history, const TrendChoice& choice,
                              const IssueRange& range, WholeHistoryRates rates = WholeHistoryRates::Read);

}  // namespace drawfollow
