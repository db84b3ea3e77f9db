// Writes a workbook off the window's thread, for every export of the window: one workbook is
// written at a time, whichever window asked for it. The cells are read on the worker from
// copies of what the grids show, never from the window's models, since a grid of a long
// history takes seconds to read and write (about 4 s for 100,000 draws of the trend chart).
#pragma once

#include "io/xlsx_export.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <vector>

class QObject;

namespace drawfollow {

class WorkRunner;

// The cells as shown: their figures and texts, the colours the window paints them in, and the columns
// drawn with a bar behind their numbers.
struct ShownCells {
    CellGrid grid;
    ColourGrid colours;
    std::vector<DataBarColumn> bars;
};

class SpreadsheetWriter {
public:
    explicit SpreadsheetWriter(WorkRunner& runner) : runner_(runner) {}

    // What the status line says of an export refused while another is written.
    static QString busyNote();
    // Writes the cells `read` makes on the worker to `target`, replaced whole or not at all;
    // `ended` gets why it failed, empty when the file was written, unless `owner` is gone.
    // Refused (false, nothing written) while another workbook is written.
    bool write(const QObject* owner, std::function<ShownCells()> read, const std::filesystem::path& target,
               std::function<void(const QString& problem)> ended);

private:
    WorkRunner& runner_;
};

}  // namespace drawfollow
