// The trend chart 走势图 and the omission table 遗漏统计 of the stored draws,
// for the kind, scope and range chosen at its top. It reads them again whenever the
// history or its derivation changes.
#pragma once

#include "analysis/trend_table.h"
#include "app/trend/trend_reading.h"

#include <QDialog>

#include <optional>
#include <vector>

class QLabel;
class QTableView;
class QTabWidget;

namespace drawfollow {

class HistoryController;
class FrequencyChart;
class OmissionTableModel;
class ShapeTab;
class SpreadsheetWriter;
class TrendGridModel;
class TrendExports;
class TrendRangeBar;
class UserDialogs;
class WindowCountChart;
class WorkRunner;

class TrendWindow final : public QDialog {
    Q_OBJECT

public:
    TrendWindow(HistoryController& history, WorkRunner& runner, SpreadsheetWriter& spreadsheets, UserDialogs& dialogs,
                QWidget* parent = nullptr);

    // Reads the chart for the choice at the top on a worker from the shared snapshot; the
    // grid keeps what it showed until the table arrives, and the latest choice wins over a
    // late table. A problem is shown above the chart.
    void refresh();
    // While another thread changes the history, a read here would wait for it with the
    // window frozen: the choices that read are held until the change is over.
    void setHistoryBusy(bool busy);

signals:
    // A value's column header was clicked: the value of the kind shown, as a base value
    // for a search of that kind.
    void valueChosen(Kind kind, int value);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Reads the history afresh, or, while the window is hidden, when it is shown again.
    void followHistory();
    void takeReading(TrendReading reading, Kind kind, TallyScope scope);
    // The range bar's issues from the history held by the controller.
    void takeIssues();
    // Fills every tab from the table in the grid model and the expected line's rates.
    void showTable(const std::vector<double>& perDraw);
    void showProblem(const QString& problem);
    void showNote(const QString& text, bool problem);
    // The grid's columns as wide as the summary's figures need, as far as the width allows.
    void fitColumnsToFigures();
    // The tab in sight: a grid or table as a workbook, a chart as a picture.
    void exportShownTab();

    HistoryController& history_;
    WorkRunner& runner_;
    TrendRangeBar* rangeBar_;
    QLabel* note_;
    QTabWidget* tabs_;
    TrendGridModel* gridModel_;
    QTableView* grid_;
    QTableView* omissionTable_;
    TrendExports* exports_;
    QLabel* exportNote_;
    OmissionTableModel* omissionModel_;
    FrequencyChart* frequencyChart_;
    WindowCountChart* windowChart_;
    ShapeTab* shapeTab_;

    // Each value's count per draw over the whole history, for the expected line: read once
    // per kind and scope, and again only after the history changes.
    struct Rates {
        Kind kind;
        TallyScope scope;
        std::vector<double> perDraw;
    };
    std::optional<Rates> wholeHistoryRates_;
    bool stale_ = false;  // the history changed while the window was hidden
    bool placed_ = false;
};

}  // namespace drawfollow
