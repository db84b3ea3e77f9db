#include "app/search/text_grid_model.h"

#include <QBrush>
#include <QColor>
#include <QThreadPool>

#include <algorithm>
#include <memory>

namespace drawfollow {

namespace {

constexpr size_t kRowsFreedAtOnce = 4096;

QString shownText(const GridCell& cell) {
    const std::string s = cell.text();
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

void TextGridModel::setGrid(CellGrid grid, std::vector<QPoint> shaded) {
    setGrid(RowGrid(std::move(grid)), std::move(shaded));
}

void TextGridModel::setGrid(RowGrid grid, std::vector<QPoint> shaded) {
    beginResetModel();
    auto previous = std::make_shared<RowGrid>(std::move(grid_));
    grid_ = std::move(grid);
    line_.clear();
    lineRow_ = 0;
    shaded_ = std::move(shaded);
    endResetModel();
    // A long grid held whole takes tens of milliseconds to free, which the window's thread
    // would spend between the click and the new grid: nothing else holds it, so a worker
    // frees it.
    if (previous->size() > kRowsFreedAtOnce)
        QThreadPool::globalInstance()->start([previous = std::move(previous)]() mutable { previous.reset(); });
}

const std::vector<GridCell>& TextGridModel::lineAt(size_t row) const {
    static const std::vector<GridCell> none;
    if (row == 0)
        return grid_.header();
    if (row >= grid_.size())
        return none;
    if (line_.empty() || lineRow_ != row) {
        line_ = grid_.row(row);
        lineRow_ = row;
    }
    return line_;
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
    return static_cast<int>(grid_.header().size());
}

QString TextGridModel::textAt(int row, int column) const {
    return shownText(cellAt(row, column));
}

GridCell TextGridModel::cellAt(int row, int column) const {
    const std::vector<GridCell>& line = lineAt(static_cast<size_t>(row) + 1);
    const auto c = static_cast<size_t>(column);
    return c < line.size() ? line[c] : GridCell();
}

QVariant TextGridModel::backgroundAt(int row, int column) const {
    if (std::find(shaded_.begin(), shaded_.end(), QPoint(column, row)) == shaded_.end())
        return {};
    // A pale amber that black text stays readable on.
    return QBrush(QColor(0xff, 0xd8, 0x8a));
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < columnCount())
        return shownText(grid_.header()[static_cast<size_t>(section)]);
    if (orientation == Qt::Horizontal && role == Qt::ToolTipRole && section >= 0 && section < headerTips_.size() &&
        !headerTips_[section].isEmpty())
        return headerTips_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace drawfollow
