#include "app/trend/trend_ball_delegate.h"

#include "app/trend/trend_grid_model.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace drawfollow {

namespace {

const QColor kBall(0xd2, 0x2b, 0x2b);
// A value drawn more than once in a draw gets a darker ball, so that the count beside the
// single draws is seen at a glance.
const QColor kRepeatedBall(0x8e, 0x12, 0x12);

}  // namespace

BallColours ballColours(int drawnCount) {
    return {drawnCount > 1 ? kRepeatedBall : kBall, Qt::white};
}

void TrendBallDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int drawn = index.data(TrendGridModel::DrawnCountRole).toInt();
    if (drawn <= 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    // The cell's background and selection as usual, the ball on top.
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    cell.text.clear();
    const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const int diameter = std::max(4, std::min(option.rect.width(), option.rect.height()) - 2);
    QRect ball(0, 0, diameter, diameter);
    ball.moveCenter(option.rect.center());
    const BallColours colours = ballColours(drawn);
    painter->setPen(Qt::NoPen);
    painter->setBrush(colours.ball);
    painter->drawEllipse(ball);
    painter->setPen(colours.text);
    painter->setFont(option.font);
    painter->drawText(option.rect, Qt::AlignCenter, index.data(Qt::DisplayRole).toString());
    painter->restore();
}

}  // namespace drawfollow
