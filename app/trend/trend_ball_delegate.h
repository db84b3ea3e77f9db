// Paints a drawn value's cell of the trend chart as a coloured ball with its text, as the
// printed charts players know do; every other cell is painted as usual.
#pragma once

#include <QStyledItemDelegate>

namespace drawfollow {

class TrendBallDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace drawfollow
