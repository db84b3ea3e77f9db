// The exports: the history as a text file and any of the three grids as a spreadsheet
// (导出历史号码 and a double click on a grid). The file is written in the data
// folder and handed to the program the system opens such files with, without waiting for
// it; a file that cannot be written is explained in a message, one that no program opens
// in the status bar, with its full path.
#pragma once

#include "io/xlsx_export.h"

#include <QObject>

#include <functional>

#include <filesystem>

class QWidget;

namespace drawfollow {

class HistoryController;
class HistoryJobs;
class SpreadsheetWriter;
class UserDialogs;

class FileExports final : public QObject {
    Q_OBJECT

public:
    // `window` is the parent of the dialogs.
    FileExports(HistoryController& controller, HistoryJobs& jobs, SpreadsheetWriter& spreadsheets, UserDialogs& dialogs,
                QWidget* window);

    // The history as a text file, written off the window's thread.
    void exportText();
    // Writes the grid `read` gives (from a copy of what the grid shows, never from the
    // window's model) under the file name of `which`; both off the window's thread, since the
    // cells of a long history take a while to read. Refused while an earlier grid is still written.
    void exportGrid(std::function<CellGrid()> read, ExportedGrid which);

signals:
    // What an export did, one line for the status bar.
    void done(const QString& summary);

private:
    void finishGrid(const QString& file, const QString& problem);
    void open(const QString& file, const QString& kind);

    HistoryController& controller_;
    HistoryJobs& jobs_;
    UserDialogs& dialogs_;
    QWidget* window_;
    SpreadsheetWriter& spreadsheets_;
};

}  // namespace drawfollow
