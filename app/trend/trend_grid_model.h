// The trend chart 走势图 as a table model: one row per draw in issue order, one column per
// value, and under the draws the summary lines (出现次数, 平均遗漏 …). Cells are read from
// the table on demand, so that a long history costs no widget or text per cell.
#pragma once

#include "analysis/trend_table.h"

#include <QAbstractTableModel>

namespace drawfollow {

class TrendGridModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role {
        // How many of the draw's positions hold the value: above 0 a ball is drawn, 0 on a
        // summary line and where the value was not drawn.
        DrawnCountRole = Qt::UserRole + 1,
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setTable(TrendTable table);
    const TrendTable& table() const { return table_; }
    // The first summary line; rows from here on hold the figures, not draws.
    int summaryRow() const { return table_.rowCount(); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    GridCell cellOf(int row, int column) const;
    QString cellText(int row, int column) const;

    TrendTable table_;
};

}  // namespace drawfollow
