#include "app/trend/count_axis.h"

#include <QChart>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace drawfollow {

namespace {

constexpr int kIntervals = 6;

}  // namespace

CountScale countScale(double highest) {
    const double wanted = std::max(highest, 1.0) / kIntervals;
    int step = 1;
    for (int power = 1; step < wanted; power *= 10) {
        for (const int multiple : {1, 2, 5}) {
            step = multiple * power;
            if (step >= wanted)
                break;
        }
    }
    return {step, (static_cast<int>(std::floor(std::max(highest, 0.0) / step)) + 1) * step};
}

QValueAxis* countAxis(double highest) {
    const CountScale scale = countScale(highest);
    auto* axis = new QValueAxis;
    axis->setRange(0, scale.top);
    axis->setTickType(QValueAxis::TicksDynamic);
    axis->setTickAnchor(0);
    axis->setTickInterval(scale.step);
    axis->setLabelFormat(QStringLiteral("%d"));
    return axis;
}

void clearChart(QChart& chart) {
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

}  // namespace drawfollow
