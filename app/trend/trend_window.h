// frmTrend: the trend chart 走势图 and the omission table 遗漏统计 of the stored draws,
// for the kind, scope and range chosen at its top. It reads them again whenever the
// history or its derivation changes.
#pragma once

#include <QDialog>

class QLabel;
class QTableView;
class QTabWidget;

namespace drawfollow {

class HistoryController;
class FrequencyChart;
class OmissionTableModel;
class TrendGridModel;
class TrendRangeBar;
class WindowCountChart;

class TrendWindow final : public QDialog {
    Q_OBJECT

public:
    explicit TrendWindow(HistoryController& history, QWidget* parent = nullptr);

    // Reads the chart for the choice at the top; a problem is shown above the chart.
    void refresh();

private:
    void followHistory();
    void showProblem(const QString& problem);

    HistoryController& history_;
    TrendRangeBar* rangeBar_;
    QLabel* note_;
    QTabWidget* tabs_;
    TrendGridModel* gridModel_;
    QTableView* grid_;
    OmissionTableModel* omissionModel_;
    FrequencyChart* frequencyChart_;
    WindowCountChart* windowChart_;
};

}  // namespace drawfollow
