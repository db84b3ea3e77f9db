// 预测记录: every pick made before its draw, the pending ones first, the running verdict of
// each mode against the draw's own odds, and the cumulative chart of each mode's hits
// against chance (the backtest's chart). It reads the records afresh whenever the history
// changes, so that a pick is scored as soon as its draw is stored.
#pragma once

#include "analysis/pick_book.h"

#include <QDialog>

class QLabel;
class QTabWidget;
class QTableView;

namespace drawfollow {

class HistoryController;
class TextGridModel;
class SpreadsheetWriter;
class TrendExports;
class UserDialogs;

class PickBookDialog final : public QDialog {
    Q_OBJECT

public:
    // Deleted when closed.
    PickBookDialog(HistoryController& history, SpreadsheetWriter& spreadsheets, UserDialogs& dialogs, QWidget* parent);

    // Reads and scores the records again.
    void reload();
    const PickBook& book() const { return book_; }

signals:
    // A line for the status bar: what became of an export.
    void exportDone(const QString& summary);

private:
    void deleteSelected();
    void exportTable();
    void showCharts();

    HistoryController& history_;
    UserDialogs& dialogs_;
    TrendExports* exports_;
    QLabel* verdict_;
    TextGridModel* model_;
    QTableView* table_;
    QTabWidget* charts_;
    PickBook book_;
};

}  // namespace drawfollow
