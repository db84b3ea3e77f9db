// Paints a drawn value's cell of the trend chart as a coloured ball with its text, as the
// printed charts players know do; every other cell is painted as usual.
#pragma once

#include <QColor>
#include <QFont>
#include <QStyledItemDelegate>

namespace drawfollow {

// The ball of a value drawn `drawnCount` times in one draw and the colour of its text; the
// workbook export colours the cell the same.
struct BallColours {
    QColor ball;
    QColor text;
};
BallColours ballColours(int drawnCount);

// `font`, made smaller when `text` is wider than `room` pixels so that it fits, though never
// below about half its size.
QFont fontToFit(const QFont& font, const QString& text, int room);

class TrendBallDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace drawfollow
