#include "app/trend/trend_grid_model.h"

#include "analysis/trend_summary.h"
#include "app/shell/shown_cell.h"

#include <QBrush>
#include <QColor>

namespace drawfollow {

namespace {

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The omissions step back, so that the balls stand out; the figures read as text.
const QColor kOmissionGrey(0x9a, 0x9a, 0x9a);
const QColor kSummaryBackground(0xf2, 0xf2, 0xe6);

}  // namespace

void TrendGridModel::setTable(TrendTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int TrendGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.rowCount() + static_cast<int>(kTrendSummaryLines.size());
}

int TrendGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.columnCount();
}

GridCell TrendGridModel::cellOf(int row, int column) const {
    if (row >= summaryRow())
        return figureCell(table_.column(column), kTrendSummaryLines[row - summaryRow()]);
    const int drawn = table_.count(row, column);
    if (drawn == 0)
        return GridCell::whole(table_.omission(row, column));
    // Twice or more in one draw (an attribute kind) the ball says how often.
    return drawn > 1 ? GridCell::whole(drawn) : table_.column(column).name;
}

QString TrendGridModel::cellText(int row, int column) const {
    return QString::fromStdString(cellOf(row, column).text());
}

QVariant TrendGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int row = index.row();
    const bool summary = row >= summaryRow();
    switch (role) {
        case Qt::DisplayRole:
            return cellText(row, index.column());
        case kGridCellRole:
            return QVariant::fromValue(cellOf(row, index.column()));
        case DrawnCountRole:
            return summary ? 0 : table_.count(row, index.column());
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::ForegroundRole:
            if (!summary && table_.count(row, index.column()) == 0)
                return QBrush(kOmissionGrey);
            return {};
        case Qt::BackgroundRole:
            return summary ? QVariant(QBrush(kSummaryBackground)) : QVariant();
        case Qt::ToolTipRole:
            // The summary's figures outgrow the narrow cells on a long history: the delegate
            // prints them smaller, the tooltip says them in full.
            if (!summary)
                return {};
            return QStringLiteral("%1 的%2：%3")
                .arg(QString::fromStdString(table_.column(index.column()).name.text()),
                     fromUtf8(figureName(kTrendSummaryLines[row - summaryRow()])), cellText(row, index.column()));
        default:
            return {};
    }
}

QVariant TrendGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == kGridCellRole) {
        if (orientation == Qt::Horizontal)
            return section < columnCount() ? QVariant::fromValue(table_.column(section).name) : QVariant();
        return section < summaryRow() ? QVariant::fromValue(GridCell::whole(table_.issue(section))) : QVariant();
    }
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < columnCount() ? QString::fromStdString(table_.column(section).name.text()) : QVariant();
    if (section < summaryRow())
        return QString::number(table_.issue(section));
    if (section < rowCount())
        return fromUtf8(figureName(kTrendSummaryLines[section - summaryRow()]));
    return {};
}

}  // namespace drawfollow
