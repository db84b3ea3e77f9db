#include "app/trend/omission_table_model.h"

#include "analysis/trend_summary.h"
#include "app/shell/shown_cell.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

namespace drawfollow {

namespace {

// The value, the figures, then 冷热.
constexpr int kFirstFigureColumn = 1;
constexpr int kColumns = kFirstFigureColumn + static_cast<int>(kOmissionTableFigures.size()) + 1;

Figure figureAt(int column) {
    return kOmissionTableFigures[column - kFirstFigureColumn];
}

const QColor kHot(0xc6, 0x28, 0x28);
const QColor kCold(0x15, 0x65, 0xc0);

}  // namespace

Heat heatOf(const ValueFigures& figures) {
    if (figures.current * 2 < figures.average)
        return Heat::Hot;
    if (figures.current > figures.average * 2)
        return Heat::Cold;
    return Heat::Neither;
}

QString heatRule() {
    return QStringLiteral("热：当前遗漏小于平均遗漏的一半；冷：当前遗漏大于平均遗漏的两倍；其余不标。");
}

void OmissionTableModel::setFigures(std::vector<ValueFigures> figures) {
    beginResetModel();
    values_ = std::move(figures);
    longestCurrent_ = 0;
    for (const ValueFigures& v : values_)
        longestCurrent_ = std::max(longestCurrent_, v.current);
    endResetModel();
}

int OmissionTableModel::currentColumn() const {
    const auto at = std::find(kOmissionTableFigures.begin(), kOmissionTableFigures.end(), Figure::Current);
    return kFirstFigureColumn + static_cast<int>(at - kOmissionTableFigures.begin());
}

int OmissionTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(values_.size());
}

int OmissionTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

GridCell OmissionTableModel::cell(const ValueFigures& figures, int column) const {
    if (column < kFirstFigureColumn)
        return figures.name;
    if (isHeatColumn(column)) {
        switch (heatOf(figures)) {
            case Heat::Hot:
                return "热";
            case Heat::Cold:
                return "冷";
            case Heat::Neither:
                break;
        }
        return {};
    }
    return figureCell(figures, figureAt(column));
}

QVariant OmissionTableModel::sortKey(const ValueFigures& figures, int column) const {
    if (column < kFirstFigureColumn)
        return figures.value;
    if (isHeatColumn(column))
        return static_cast<int>(heatOf(figures));
    switch (figureAt(column)) {
        case Figure::Count:
            return figures.count;
        case Figure::Draws:
            return figures.draws;
        case Figure::Average:
            return figures.average;
        case Figure::Max:
            return figures.max;
        case Figure::MaxStreak:
            return figures.maxStreak;
        case Figure::Current:
            return figures.current;
        case Figure::LastIssue:
            return figures.lastIssue.value_or(0);
    }
    return {};
}

QVariant OmissionTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ValueFigures& figures = values_[static_cast<size_t>(index.row())];
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(cell(figures, column).text());
        case kGridCellRole:
            return QVariant::fromValue(cell(figures, column));
        case SortRole:
            return sortKey(figures, column);
        case BarFractionRole:
            if (column != currentColumn())
                return {};
            return longestCurrent_ > 0 ? double(figures.current) / longestCurrent_ : 0.0;
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        case Qt::ForegroundRole:
            if (!isHeatColumn(column) || heatOf(figures) == Heat::Neither)
                return {};
            return QBrush(heatOf(figures) == Heat::Hot ? kHot : kCold);
        case Qt::ToolTipRole:
            return isHeatColumn(column) ? heatRule() : QVariant();
        default:
            return {};
    }
}

QVariant OmissionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns)
        return {};
    if (role == Qt::ToolTipRole)
        return isHeatColumn(section) ? heatRule() : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    if (section < kFirstFigureColumn)
        return QStringLiteral("值");
    if (isHeatColumn(section))
        return QStringLiteral("冷热");
    const std::string_view name = figureName(figureAt(section));
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace drawfollow
