#include "app/shell/spreadsheet_job.h"

#include "app/shell/file_paths.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <exception>
#include <utility>

namespace drawfollow {

SpreadsheetJob::SpreadsheetJob(QObject* parent) : QObject(parent), watcher_(new QFutureWatcher<QString>(this)) {
    connect(watcher_, &QFutureWatcher<QString>::finished, this, [this] {
        running_ = false;
        emit finished(target_, watcher_->future().result());
    });
}

SpreadsheetJob::~SpreadsheetJob() {
    watcher_->waitForFinished();
}

QString SpreadsheetJob::busyNote() {
    return QStringLiteral("上一个表格还在写入，请稍候再导出。");
}

bool SpreadsheetJob::running() const {
    // Until its end is reported, not merely until the worker is done: a new future would
    // drop the old one's report.
    return running_;
}

bool SpreadsheetJob::start(ShownCells cells, const std::filesystem::path& target) {
    return start([cells = std::move(cells)]() mutable { return std::move(cells); }, target);
}

bool SpreadsheetJob::start(std::function<ShownCells()> read, const std::filesystem::path& target) {
    if (running())
        return false;
    running_ = true;
    target_ = pathText(target);
    watcher_->setFuture(QtConcurrent::run([read = std::move(read), target]() -> QString {
        try {
            const ShownCells cells = read();
            // The window writes its workbooks into the data folder only.
            writeSpreadsheet(cells.grid, target, cells.colours, cells.bars, target.parent_path());
            return {};
        } catch (const std::exception& e) {
            return QString::fromUtf8(e.what());
        }
    }));
    return true;
}

}  // namespace drawfollow
