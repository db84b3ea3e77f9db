// The count axis of the trend charts: grid lines on whole counts, so that a bar or a point
// at 3 sits on the line labelled 3; and the clearing of a chart before it is drawn again.
#pragma once

class QChart;
class QValueAxis;

namespace drawfollow {

struct CountScale {
    int step;  // between grid lines: 1, 2 or 5 times a power of ten
    int top;   // the axis's end, the first multiple of `step` above the highest value
};

// About six intervals from 0 for values up to `highest`.
CountScale countScale(double highest);

// A vertical axis from 0 on the scale above.
QValueAxis* countAxis(double highest);

// Takes every series and axis off `chart` and deletes them: an axis taken off is no longer
// the chart's to delete, and each new range would leave its axes behind.
void clearChart(QChart& chart);

}  // namespace drawfollow
