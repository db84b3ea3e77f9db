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

// The narrowest font a cell's text is shrunk to before it is cut short.
constexpr qreal kSmallestScale = 0.55;

}  // namespace

BallColours ballColours(int drawnCount) {
    return {drawnCount > 1 ? kRepeatedBall : kBall, Qt::white};
}

QFont fontToFit(const QFont& font, const QString& text, int room) {
    const int needed = QFontMetrics(font).horizontalAdvance(text);
    if (needed <= room || room <= 0)
        return font;
    const qreal scale = std::max(kSmallestScale, qreal(room) / needed);
    QFont smaller = font;
    if (font.pointSizeF() > 0)
        smaller.setPointSizeF(font.pointSizeF() * scale);
    else
        smaller.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * scale)));
    return smaller;
}

namespace {

// Shrinks the cell's font when its text is wider than the cell: the summary rows' counts and
// averages grow wider than a ball on a long history. The style keeps a margin of its own on
// either side of the text, and elides at a pixel's rounding: a little room is left over.
void fitText(QStyleOptionViewItem& cell, const QStyle* style) {
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &cell, cell.widget) + 2;
    const int room = cell.rect.width() - 2 * margin;
    if (cell.fontMetrics.horizontalAdvance(cell.text) <= room)
        return;
    cell.font = fontToFit(cell.font, cell.text, room);
    cell.fontMetrics = QFontMetrics(cell.font);
}

}  // namespace

void TrendBallDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    const QStyle* style = cell.widget ? cell.widget->style() : QApplication::style();
    const int drawn = index.data(TrendGridModel::DrawnCountRole).toInt();
    if (drawn <= 0) {
        fitText(cell, style);
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);
        return;
    }
    // The cell's background and selection as usual, the ball on top.
    cell.text.clear();
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
