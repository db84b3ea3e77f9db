#include "app/history/file_exports.h"

#include "analysis/search.h"
#include "app/history/history_commands.h"
#include "app/history/history_controller.h"
#include "app/history/history_jobs.h"
#include "app/shell/file_paths.h"
#include "app/shell/spreadsheet_writer.h"
#include "app/shell/user_dialogs.h"

#include <QWidget>

#include <algorithm>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

QString spreadsheetTitle() {
    return QStringLiteral("导出到EXCEL");
}

}  // namespace

FileExports::FileExports(HistoryController& controller, HistoryJobs& jobs, SpreadsheetWriter& spreadsheets,
                         UserDialogs& dialogs, QWidget* window)
    : QObject(window),
      controller_(controller),
      jobs_(jobs),
      dialogs_(dialogs),
      window_(window),
      spreadsheets_(spreadsheets) {}

void FileExports::exportText() {
    const QString title = QStringLiteral("历史号码导出文本文件");
    jobs_.exportText(title, [this, title](const HistoryChange& change) {
        if (!reportChange(dialogs_, window_, title, change))
            return;
        emit done(change.summary);
        if (!change.file.isEmpty())
            open(change.file, QStringLiteral("文本"));
    });
}

void FileExports::exportGrid(std::function<CellGrid()> read, ExportedGrid which) {
    const fs::path folder = controller_.dataFolder();
    if (folder.empty()) {
        dialogs_.message(window_, MessageKind::Warning, spreadsheetTitle(),
                         QStringLiteral("没有可用的数据文件夹，表格未能导出。"));
        return;
    }
    const fs::path target = folder / std::string(spreadsheetFileName(which));
    const bool started = spreadsheets_.write(
        this,
        [read = std::move(read), which]() -> ShownCells {
            CellGrid cells = read();
            // The tally's workbook keeps its four columns; chance is the window's view of it.
            if (which == ExportedGrid::Tally)
                for (std::vector<GridCell>& row : cells)
                    row.resize(std::min<size_t>(row.size(), kTallyColumns));
            return {std::move(cells), {}, {}};
        },
        target, [this, file = pathText(target)](const QString& problem) { finishGrid(file, problem); });
    if (!started) {
        emit done(SpreadsheetWriter::busyNote());
        return;
    }
    emit done(QStringLiteral("正在写入“%1”…").arg(pathText(target)));
}

void FileExports::finishGrid(const QString& file, const QString& problem) {
    if (!problem.isEmpty()) {
        emit done(QString());
        dialogs_.message(window_, MessageKind::Warning, spreadsheetTitle(),
                         QStringLiteral("表格未能导出。\n%1").arg(problem));
        return;
    }
    emit done(QStringLiteral("已将表格导出到“%1”。").arg(file));
    open(file, QStringLiteral("电子表格"));
}

void FileExports::open(const QString& file, const QString& kind) {
    openSavedFile(dialogs_, file, kind, this, [this](const QString& unopened) { emit done(unopened); });
}

}  // namespace drawfollow
