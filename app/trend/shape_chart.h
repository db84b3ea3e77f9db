// One shape measure's distribution over the range: how many draws had each value, beside
// the bars of what chance gives them.
#pragma once

#include "analysis/shape_table.h"

#include <QChartView>

namespace drawfollow {

class ShapeChart final : public QChartView {
    Q_OBJECT

public:
    explicit ShapeChart(QWidget* parent = nullptr);

    void plot(const ShapeDistribution& distribution);
    // No bars and no title, for a range that could not be read.
    void clear();
};

}  // namespace drawfollow
