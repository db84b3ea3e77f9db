// A grid of cell texts (store/text_grid.h) as a table model: its first row is the header.
// The result grids MSFlexGrid2 and MSFlexGrid3 show the searches' grids through it.
#pragma once

#include "store/text_grid.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace drawfollow {

class TextGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // Header row first; rows shorter than the header show empty cells.
    void setGrid(TextGrid grid);
    const TextGrid& grid() const { return grid_; }
    // A tooltip for a column's header that outlives every grid set afterwards.
    void setHeaderToolTip(int column, const QString& tip);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    TextGrid grid_;
    QStringList headerTips_;
};

}  // namespace drawfollow
