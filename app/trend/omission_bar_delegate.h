// Draws a cell's fraction (OmissionTableModel::BarFractionRole) as a bar behind its text,
// so that the longest current omissions stand out in a column of numbers.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace drawfollow {

// The bar's colour; the workbook export draws its data bars in it too.
QColor omissionBarColour();

class OmissionBarDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace drawfollow
