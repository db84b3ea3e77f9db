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

    void plot(const TrendTable& range, const TrendTable& whole);
};

}  // namespace drawfollow
