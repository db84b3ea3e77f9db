// Writes a workbook off the window's thread. The cells are read from the models on the
// window's thread, where the models live; the file is written on a worker, since a grid of
// a long history takes seconds to write (about 4 s for 100,000 draws of the trend chart).
#pragma once

#include "io/xlsx_export.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <vector>

template <typename T>
class QFutureWatcher;

namespace drawfollow {

// The cells as shown: their figures and texts, the colours the window paints them in, and the columns
// drawn with a bar behind their numbers.
struct ShownCells {
    CellGrid grid;
    ColourGrid colours;
    std::vector<DataBarColumn> bars;
};

class SpreadsheetJob final : public QObject {
    Q_OBJECT

public:
    explicit SpreadsheetJob(QObject* parent = nullptr);
    // A write still running is waited for: the target is replaced whole or not at all.
    ~SpreadsheetJob() override;

    bool running() const;
    // What the status line says of an export refused while another is written.
    static QString busyNote();
    // Writes `cells` to `target`; refused (false, nothing written) while another write runs.
    bool start(ShownCells cells, const std::filesystem::path& target);
    // The same with cells that `read` makes on the worker, from values it holds (never from
    // the window's models): reading a grid of 100,000 rows takes a second of its own.
    bool start(std::function<ShownCells()> read, const std::filesystem::path& target);

signals:
    // The write has ended; `problem` says why it failed, empty when the file was written.
    void finished(const QString& target, const QString& problem);

private:
    QFutureWatcher<QString>* watcher_;
    QString target_;
    bool running_ = false;
};

}  // namespace drawfollow
