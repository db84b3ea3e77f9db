// How often each value came over the range, as bars, with the line of what it would have
// been at the value's rate over the whole history.
#pragma once

#include "analysis/trend_table.h"

#include <QChartView>

namespace drawfollow {

class FrequencyChart final : public QChartView {
    Q_OBJECT

public:
    explicit FrequencyChart(QWidget* parent = nullptr);

    // `perDraw`: each value's count per draw over the whole history (countsPerDraw).
    void plot(const TrendTable& range, const std::vector<double>& perDraw);
};

}  // namespace drawfollow
