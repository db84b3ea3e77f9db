// A table of plain texts with every cell centred, as the window's grids show them: a model
// built on it says only what a cell reads.
#pragma once

#include "store/grid_cell.h"

#include <QAbstractTableModel>
#include <QString>

namespace drawfollow {

class CentredTextModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const final;

protected:
    // The text of a cell inside the table.
    virtual QString textAt(int row, int column) const = 0;
    // The cell a file written from the grid stores (app/shell/shown_cell.h); a model that
    // shows figures hands them over as numbers, any other cell is its text.
    virtual GridCell cellAt(int row, int column) const { return textAt(row, column).toStdString(); }
    // The background of a cell that stands out; none for the view's own.
    virtual QVariant backgroundAt(int /*row*/, int /*column*/) const { return {}; }
};

}  // namespace drawfollow
