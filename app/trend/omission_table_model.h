// The omission table 遗漏统计: one row per value with its figures, and whether the value is
// hot or cold now. Every cell also gives a number to sort by, so that a sort proxy orders
// 10 after 9 and a never-drawn value's empty 最后出现 before every issue.
#pragma once

#include "analysis/trend_table.h"

#include <QAbstractTableModel>

namespace drawfollow {

// Hot when the value's current omission is under half its average omission, cold when it
// is over twice that average, else neither.
enum class Heat { Cold = -1, Neither = 0, Hot = 1 };
Heat heatOf(const ValueFigures& figures);
// The rule above in words, for the column's tooltip.
QString heatRule();

class OmissionTableModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Role {
        SortRole = Qt::UserRole + 1,
        // The current omission against the longest current omission of all values, 0..1;
        // only the 当前遗漏 column has it.
        BarFractionRole,
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setTable(const TrendTable& table) { setFigures(table.columns()); }
    // Any values' figures, in the order to show them when unsorted.
    void setFigures(std::vector<ValueFigures> figures);
    int currentColumn() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    GridCell cell(const ValueFigures& figures, int column) const;
    QVariant sortKey(const ValueFigures& figures, int column) const;
    bool isHeatColumn(int column) const { return column == columnCount() - 1; }

    std::vector<ValueFigures> values_;
    int longestCurrent_ = 0;
};

}  // namespace drawfollow
