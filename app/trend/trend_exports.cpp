#include "app/trend/trend_exports.h"

#include "app/history/history_controller.h"
#include "app/shell/file_paths.h"
#include "app/shell/shown_cell.h"
#include "app/shell/user_dialogs.h"
#include "app/trend/trend_ball_delegate.h"
#include "app/trend/trend_grid_model.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QDir>
#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

#include <optional>

namespace drawfollow {

namespace {

QString tableTitle() {
    return QStringLiteral("导出电子表格");
}

}  // namespace

uint32_t rgbOf(const QColor& colour) {
    return static_cast<uint32_t>(colour.rgb() & 0xffffffu);
}

namespace {

// A role's brush, when the model gives one.
std::optional<uint32_t> brushRgb(const QVariant& brush) {
    if (!brush.isValid())
        return std::nullopt;
    return rgbOf(brush.value<QBrush>().color());
}

}  // namespace

CellColours paintedColours(const QModelIndex& index) {
    return {brushRgb(index.data(Qt::BackgroundRole)), brushRgb(index.data(Qt::ForegroundRole))};
}

CellColours trendGridColours(const QModelIndex& index) {
    const int drawn = index.data(TrendGridModel::DrawnCountRole).toInt();
    if (drawn <= 0)
        return paintedColours(index);
    const BallColours ball = ballColours(drawn);
    return {rgbOf(ball.ball), rgbOf(ball.text)};
}

ShownCells shownCells(const QAbstractItemModel& model, CellColouring colouring, bool rowHeaders,
                      const QString& corner) {
    const int columns = model.columnCount();
    const size_t rows = static_cast<size_t>(model.rowCount()) + 1;
    ShownCells cells;
    cells.grid.reserve(rows);
    cells.colours.reserve(rows);
    auto& header = cells.grid.emplace_back();
    cells.colours.emplace_back();
    if (rowHeaders)
        header.emplace_back(corner.toStdString());
    for (int c = 0; c < columns; ++c)
        header.push_back(shownHeader(model, c, Qt::Horizontal));
    for (int r = 0; r < model.rowCount(); ++r) {
        auto& row = cells.grid.emplace_back();
        auto& colours = cells.colours.emplace_back();
        if (rowHeaders) {
            row.push_back(shownHeader(model, r, Qt::Vertical));
            colours.emplace_back();
        }
        for (int c = 0; c < columns; ++c) {
            const QModelIndex index = model.index(r, c);
            row.push_back(shownCell(index));
            colours.push_back(colouring(index));
        }
    }
    return cells;
}

TrendExports::TrendExports(HistoryController& history, SpreadsheetWriter& spreadsheets, UserDialogs& dialogs,
                           QWidget* window)
    : QObject(window), history_(history), dialogs_(dialogs), window_(window), spreadsheets_(spreadsheets) {}

void TrendExports::finishTable(const QString& file, const QString& problem) {
    if (problem.isEmpty()) {
        finish(file, QStringLiteral("电子表格"));
        return;
    }
    emit done(QString());
    dialogs_.message(window_, MessageKind::Warning, tableTitle(), QStringLiteral("表格未能导出。\n%1").arg(problem));
}

QString TrendExports::target(const QString& fileName, const QString& title) {
    const std::filesystem::path folder = history_.dataFolder();
    if (folder.empty()) {
        dialogs_.message(window_, MessageKind::Warning, title, QStringLiteral("没有可用的数据文件夹，未能导出。"));
        return {};
    }
    return QDir(pathText(folder)).filePath(fileName);
}

void TrendExports::exportTable(ShownCells cells, const QString& fileName) {
    exportTable([cells = std::move(cells)]() mutable { return std::move(cells); }, fileName);
}

void TrendExports::exportTable(std::function<ShownCells()> read, const QString& fileName) {
    const QString file = target(fileName, tableTitle());
    if (file.isEmpty())
        return;
    if (!spreadsheets_.write(this, std::move(read), localPath(file),
                             [this, file](const QString& problem) { finishTable(file, problem); })) {
        emit done(SpreadsheetWriter::busyNote());
        return;
    }
    emit done(QStringLiteral("正在写入“%1”…").arg(file));
}

void TrendExports::exportPicture(QWidget* chart, const QString& fileName) {
    const QString title = QStringLiteral("导出图片");
    const QString file = target(fileName, title);
    if (file.isEmpty())
        return;
    // Written beside the target and renamed on success, so a failure leaves an older picture whole.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || !chart->grab().save(&out, "PNG") || !out.commit()) {
        dialogs_.message(window_, MessageKind::Warning, title,
                         QStringLiteral("图片未能保存到“%1”。\n%2").arg(file, out.errorString()));
        return;
    }
    finish(file, QStringLiteral("图片"));
}

void TrendExports::finish(const QString& file, const QString& kind) {
    emit done(QStringLiteral("已导出到“%1”。").arg(file));
    openSavedFile(dialogs_, file, kind, this, [this](const QString& unopened) { emit done(unopened); });
}

}  // namespace drawfollow
