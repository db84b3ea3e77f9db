#include "app/history/history_model.h"

#include "app/shell/ui_text.h"

namespace drawfollow {

HistoryModel::Row HistoryModel::rowOf(const StoredDraw& draw) {
    return Row{draw.issue, draw.own[drawfollow::index(Kind::Number)]};
}

void HistoryModel::reset(const std::vector<StoredDraw>& draws) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(draws.size());
    for (const StoredDraw& d : draws)
        rows_.push_back(rowOf(d));
    endResetModel();
}

void HistoryModel::append(const StoredDraw& draw) {
    const int r = static_cast<int>(rows_.size());
    beginInsertRows({}, r, r);
    rows_.push_back(rowOf(draw));
    endInsertRows();
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

int HistoryModel::valueAt(int row, int column) const {
    const Row& r = rows_[static_cast<size_t>(row)];
    if (column == IssueColumn)
        return r.issue;
    return r.numbers[static_cast<size_t>(column - FirstNumberColumn)];
}

QString HistoryModel::textAt(int row, int column) const {
    return QString::number(valueAt(row, column));
}

GridCell HistoryModel::cellAt(int row, int column) const {
    return GridCell::whole(valueAt(row, column));
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return header(section);
    return {};
}

QString HistoryModel::header(int column) {
    if (column == IssueColumn)
        return QStringLiteral("期号");
    return positionName(column);
}

}  // namespace drawfollow
