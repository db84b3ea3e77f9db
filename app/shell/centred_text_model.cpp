#include "app/shell/centred_text_model.h"

#include "app/shell/shown_cell.h"

namespace drawfollow {

QVariant CentredTextModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    if (role == Qt::BackgroundRole)
        return backgroundAt(index.row(), index.column());
    if (role == kGridCellRole)
        return QVariant::fromValue(cellAt(index.row(), index.column()));
    if (role != Qt::DisplayRole)
        return {};
    return textAt(index.row(), index.column());
}

}  // namespace drawfollow
