// The two pictures of chance: a tally's counts beside what chance expects, and a
// backtest's hits adding up against their expectation. Both draw a band of ±2σ, the
// range luck alone stays within about 95 times in 100.
#pragma once

#include "analysis/backtest.h"
#include "analysis/chance_baseline.h"
#include "analysis/draw_odds.h"

#include <QString>

#include <vector>

class QChart;
class QDialog;
class QWidget;

namespace drawfollow {

// Counts as bars, the expected counts as a line, the band around it.
QChart* tallyChanceChart(const ChanceBaseline& chance);

// Cumulative observed hits and cumulative expectation over the targets, with the band
// around the expectation.
QChart* backtestChart(const BacktestResult& result);
// The same over scored picks in issue order; `axisTitle` names what is counted along.
QChart* cumulativeHitsChart(const std::vector<ChosenScore>& scores, const QString& axisTitle);

// A small window holding a chart, deleted when closed.
QDialog* chartDialog(QWidget* parent, QChart* chart, const QString& title);

}  // namespace drawfollow
