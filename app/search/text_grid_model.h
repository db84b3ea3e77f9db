// A grid of cells (store/grid_cell.h, store/row_grid.h) as a table model: its first row is
// the header. A line made on demand is made when a view asks for one of its cells, and the
// last one made is kept for the rest of its cells; a figure becomes text only then.
// The hits and tally grids show the searches' grids through it.
#pragma once

#include "app/shell/centred_text_model.h"
#include "store/grid_cell.h"
#include "store/row_grid.h"

#include <QPoint>
#include <QStringList>

#include <vector>

namespace drawfollow {

class TextGridModel final : public CentredTextModel {
    Q_OBJECT

public:
    using CentredTextModel::CentredTextModel;

    // Header row first; rows shorter than the header show empty cells. `shaded` lists the
    // cells (x column, y row below the header) to set apart.
    void setGrid(RowGrid grid, std::vector<QPoint> shaded = {});
    void setGrid(CellGrid grid, std::vector<QPoint> shaded = {});
    const RowGrid& grid() const { return grid_; }
    // A tooltip for a column's header that outlives every grid set afterwards.
    void setHeaderToolTip(int column, const QString& tip);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString textAt(int row, int column) const override;
    GridCell cellAt(int row, int column) const override;
    QVariant backgroundAt(int row, int column) const override;

    const std::vector<GridCell>& lineAt(size_t row) const;

    RowGrid grid_;
    mutable std::vector<GridCell> line_;  // the last line asked for, row lineRow_ of the grid
    mutable size_t lineRow_ = 0;
    std::vector<QPoint> shaded_;
    QStringList headerTips_;
};

}  // namespace drawfollow
