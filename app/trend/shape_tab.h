// The 形态 tab of the 走势图 window: every draw's shape in a grid, and for the measure
// chosen its distribution beside chance (分布图), the chi-square verdict and its omission
// table (遗漏统计).
// The shapes are read only while the tab is in sight, so that the other tabs cost no more,
// and on a worker from the shared snapshot; the latest choice wins over a late table.
#pragma once

#include "analysis/shape_table.h"

#include <QString>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QTableView;

namespace drawfollow {

class HistoryController;
class OmissionTableModel;
class ShapeChart;
class ShapeGridModel;
class WorkRunner;

struct ShapeReading {
    ShapeTable table;
    QString problem;  // why nothing was read, for the user; empty when read
};

class ShapeTab final : public QWidget {
    Q_OBJECT

public:
    ShapeTab(HistoryController& history, WorkRunner& runner, QWidget* parent = nullptr);

    // The scope and range to read; read now when the tab is in sight, else once it is.
    void follow(TallyScope scope, const IssueRange& range);
    // While another thread changes the history a read would wait for it: none starts.
    void setHistoryBusy(bool busy);

    const ShapeGridModel& gridModel() const { return *gridModel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void readIfDue();
    void takeReading(ShapeReading reading);
    void showMeasure();
    void clear(const QString& problem);

    HistoryController& history_;
    WorkRunner& runner_;
    QComboBox* measureBox_;
    QLabel* verdict_;
    ShapeGridModel* gridModel_;
    QTableView* grid_;
    ShapeChart* chart_;
    OmissionTableModel* omissionModel_;

    struct Choice {
        TallyScope scope;
        IssueRange range;
    };
    std::optional<Choice> due_;  // read when next in sight
    bool busy_ = false;
};

}  // namespace drawfollow
