// One value's count in every window of W consecutive draws, as a line over the range:
// whether a value is coming more often lately than before.
#pragma once

#include <QWidget>

class QChartView;
class QComboBox;
class QSpinBox;

namespace drawfollow {

class TrendTable;

class WindowCountChart final : public QWidget {
    Q_OBJECT

public:
    // Plots from `table`, which is kept by its owner and read again by refresh().
    explicit WindowCountChart(const TrendTable& table, QWidget* parent = nullptr);

    // The table changed: the values in the list, then the line.
    void refresh();
    QChartView* view() const { return view_; }

private:
    void plot();

    const TrendTable& table_;
    QComboBox* valueBox_;
    QSpinBox* windowBox_;
    QChartView* view_;
};

}  // namespace drawfollow
