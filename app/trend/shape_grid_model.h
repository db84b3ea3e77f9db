// The shapes 形态 of the draws as a table model: one row per draw in issue order (newest at
// the bottom), one column per measure.
#pragma once

#include "analysis/shape_table.h"
#include "app/shell/centred_text_model.h"

namespace drawfollow {

class ShapeGridModel final : public CentredTextModel {
    Q_OBJECT

public:
    using CentredTextModel::CentredTextModel;

    void setTable(ShapeTable table);
    const ShapeTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString textAt(int row, int column) const override;
    GridCell cellAt(int row, int column) const override;

    ShapeTable table_;
};

}  // namespace drawfollow
