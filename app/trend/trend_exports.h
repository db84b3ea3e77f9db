// The 走势图 window's tab written to the data folder, where the other exports go: a grid or
// table as a workbook, a chart as a PNG picture; then opened, as the other exports are.
#pragma once

#include "app/shell/spreadsheet_writer.h"
#include "io/xlsx_export.h"

#include <QObject>
#include <QString>

#include <functional>

class QAbstractItemModel;
class QColor;
class QModelIndex;
class QWidget;

namespace drawfollow {

class HistoryController;
class UserDialogs;

// How a cell of a model is coloured on screen.
using CellColouring = CellColours (*)(const QModelIndex& index);
// Its background and text colours, as a table view paints them.
CellColours paintedColours(const QModelIndex& index);
// A drawn value's ball as TrendBallDelegate paints it (a TrendGridModel's cells), else as painted.
CellColours trendGridColours(const QModelIndex& index);
// The colour as the spreadsheet export takes it, 0xRRGGBB.
uint32_t rgbOf(const QColor& colour);

// The cells of `model` as shown (a drawn value's ball, a grey omission, a summary line's
// background, a hot or cold mark). The horizontal header first; with `rowHeaders` each row starts with its vertical
// header (the issue, or the summary line's name) under `corner`.
ShownCells shownCells(const QAbstractItemModel& model, CellColouring colouring, bool rowHeaders,
                      const QString& corner = {});

class TrendExports final : public QObject {
    Q_OBJECT

public:
    TrendExports(HistoryController& history, SpreadsheetWriter& spreadsheets, UserDialogs& dialogs, QWidget* window);

    // `fileName` in the data folder, written off the window's thread; a failure is said in a
    // message and no file is left half written. Refused while an earlier table is still written.
    void exportTable(ShownCells cells, const QString& fileName);
    // The same with the cells read on the worker.
    void exportTable(std::function<ShownCells()> read, const QString& fileName);
    void exportPicture(QWidget* chart, const QString& fileName);

signals:
    void done(const QString& summary);

private:
    // The target in the data folder, or empty after telling the user there is none.
    QString target(const QString& fileName, const QString& title);
    void finish(const QString& file, const QString& kind);
    void finishTable(const QString& file, const QString& problem);

    HistoryController& history_;
    UserDialogs& dialogs_;
    QWidget* window_;
    SpreadsheetWriter& spreadsheets_;
};

}  // namespace drawfollow
