#include "app/shell/status_texts.h"

#include <QPainter>

#include <algorithm>

namespace drawfollow {

namespace {

// QStatusBar's own margins around its message.
constexpr int kTextLeft = 6;
constexpr int kTextRightMargin = 12;
const QColor kProblemColour(0xb0, 0x00, 0x20);

}  // namespace

ElidingStatusBar::ElidingStatusBar(QWidget* parent) : QStatusBar(parent) {
    connect(this, &QStatusBar::messageChanged, this, &ElidingStatusBar::updateToolTip);
}

void ElidingStatusBar::setLastingText(const QString& text, bool problem) {
    lasting_ = text;
    problem_ = problem;
    updateToolTip();
    update();
}

QString ElidingStatusBar::fullText() const {
    const QString message = currentMessage();
    return message.isEmpty() ? lasting_ : message;
}

void ElidingStatusBar::updateToolTip() {
    setToolTip(fullText());
}

QRect ElidingStatusBar::textRect() const {
    // The widgets in sight are the permanent ones at the right (the busy bar and 取消).
    int right = width() - kTextRightMargin;
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child->isVisible())
            right = std::min(right, child->x() - 2);
    return {kTextLeft, 0, std::max(0, right - kTextLeft), height()};
}

QString ElidingStatusBar::shownText() const {
    return fontMetrics().elidedText(fullText(), Qt::ElideRight, textRect().width());
}

void ElidingStatusBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const bool lasting = currentMessage().isEmpty();
    painter.setPen(lasting && problem_ ? kProblemColour : palette().windowText().color());
    painter.drawText(textRect(), Qt::AlignLeading | Qt::AlignVCenter | Qt::TextSingleLine, shownText());
}

}  // namespace drawfollow
