// The chart and its expected line read together from a shared snapshot, so that the work
// can run off the window's thread: it touches nothing but the snapshot it holds.
#pragma once

#include "analysis/trend_table.h"

#include <QString>

#include <memory>
#include <vector>

namespace drawfollow {

struct TrendReading {
    TrendTable table;
    std::vector<double> perDraw;  // each value's count per draw over the whole history
    QString problem;              // why nothing was read, for the user; empty when read
};

TrendReading readTrendReading(const std::shared_ptr<const HistorySnapshot>& history, const TrendChoice& choice,
                              const IssueRange& range);

}  // namespace drawfollow
