#include "app/trend/shape_grid_model.h"

#include "app/shell/shown_cell.h"

namespace drawfollow {

namespace {

QString nameOf(ShapeMeasure measure) {
    const std::string_view name = measureName(measure);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

void ShapeGridModel::setTable(ShapeTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int ShapeGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount();
}

int ShapeGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kShapeMeasureCount;
}

GridCell ShapeGridModel::cellAt(int row, int column) const {
    const ShapeMeasure measure = kShapeMeasures[static_cast<size_t>(column)];
    const std::optional<int> value = table_.value(row, measure);
    return value ? shapeValueCell(measure, *value) : GridCell();
}

QString ShapeGridModel::textAt(int row, int column) const {
    return QString::fromStdString(cellAt(row, column).text());
}

QVariant ShapeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        if (section < 0 || section >= table_.rowCount())
            return {};
        if (role == kGridCellRole)
            return QVariant::fromValue(GridCell::whole(table_.issue(section)));
        return role == Qt::DisplayRole ? QVariant(table_.issue(section)) : QVariant();
    }
    if (section < 0 || section >= kShapeMeasureCount)
        return {};
    const ShapeMeasure measure = kShapeMeasures[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole)
        return nameOf(measure);
    if (role == Qt::ToolTipRole && measure == ShapeMeasure::Repeat)
        return QStringLiteral("与上一期（按已存的开奖记录）相同的号码个数；历史的第一期没有上一期，留空。");
    return {};
}

}  // namespace drawfollow
