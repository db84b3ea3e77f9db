#include "app/shell/shown_cell.h"

namespace drawfollow {

GridCell shownCell(const QModelIndex& index) {
    const QVariant cell = index.data(kGridCellRole);
    if (cell.canConvert<GridCell>())
        return cell.value<GridCell>();
    return index.data(Qt::DisplayRole).toString().toStdString();
}

GridCell shownHeader(const QAbstractItemModel& model, int section, Qt::Orientation orientation) {
    const QVariant cell = model.headerData(section, orientation, kGridCellRole);
    if (cell.canConvert<GridCell>())
        return cell.value<GridCell>();
    return model.headerData(section, orientation, Qt::DisplayRole).toString().toStdString();
}

CellGrid shownGrid(const QAbstractItemModel& model, bool rowHeaders, const QString& corner) {
    const int columns = model.columnCount();
    CellGrid cells;
    cells.reserve(static_cast<size_t>(model.rowCount()) + 1);
    auto& header = cells.emplace_back();
    if (rowHeaders)
        header.emplace_back(corner.toStdString());
    for (int c = 0; c < columns; ++c)
        header.push_back(shownHeader(model, c, Qt::Horizontal));
    for (int r = 0; r < model.rowCount(); ++r) {
        auto& row = cells.emplace_back();
        if (rowHeaders)
            row.push_back(shownHeader(model, r, Qt::Vertical));
        for (int c = 0; c < columns; ++c)
            row.push_back(shownCell(model.index(r, c)));
    }
    return cells;
}

}  // namespace drawfollow
