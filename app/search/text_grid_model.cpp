#include "app/search/text_grid_model.h"

#include <QBrush>
#include <QColor>
#include <QThreadPool>

#include <algorithm>
#include <memory>

namespace drawfollow {

namespace {

constexpr size_t kRowsFreedAtOnce = 4096;

const GridCell& cellOf(const CellGrid& grid, size_t row, size_t column) {
    static const GridCell empty;
    return row < grid.size() && column < grid[row].size() ? grid[row][column] : empty;
}

QString cellText(const CellGrid& grid, size_t row, size_t column) {
    const std::string s = cellOf(grid, row, column).text();
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void TextGridModel::setGrid(CellGrid grid, std::vector<QPoint> shaded) {
    beginResetModel();
    auto previous = std::make_shared<CellGrid>(std::move(grid_));
    grid_ = std::move(grid);
    shaded_ = std::move(shaded);
    endResetModel();
    // The hits of a long history take tens of milliseconds to free, which the window's
    // thread would spend between the click and the new grid: nothing else holds them, so a
    // worker frees them.
    if (previous->size() > kRowsFreedAtOnce)
        QThreadPool::globalInstance()->start([previous = std::move(previous)]() mutable { previous.reset(); });
}

void TextGridModel::setHeaderToolTip(int column, const QString& tip) {
    while (headerTips_.size() <= column)
        headerTips_.append(QString());
    headerTips_[column] = tip;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int TextGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || grid_.empty())
        return 0;
    return static_cast<int>(grid_.size() - 1);
}

int TextGridModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid() || grid_.empty())
        return 0;
    return static_cast<int>(grid_.front().size());
}

QString TextGridModel::textAt(int row, int column) const {
    return cellText(grid_, static_cast<size_t>(row) + 1, static_cast<size_t>(column));
}

GridCell TextGridModel::cellAt(int row, int column) const {
    return cellOf(grid_, static_cast<size_t>(row) + 1, static_cast<size_t>(column));
}

QVariant TextGridModel::backgroundAt(int row, int column) const {
    if (std::find(shaded_.begin(), shaded_.end(), QPoint(column, row)) == shaded_.end())
        return {};
    // A pale amber that black text stays readable on.
    return QBrush(QColor(0xff, 0xd8, 0x8a));
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return cellText(grid_, 0, static_cast<size_t>(section));
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && section >= 0 && section < headerTips_.size() &&
        !headerTips_[section].isEmpty())
        return headerTips_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace drawfollow
