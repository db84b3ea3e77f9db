#include "app/shell/screen_fit.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace drawfollow {

namespace {

// Larger than the title bars of the usual window managers at a scale of 1.
constexpr QMargins kGuessedFrame(8, 40, 8, 8);

}  // namespace

QMargins expectedFrameMargins(const QWidget* shownWindow) {
    if (shownWindow && shownWindow->isVisible()) {
        const QRect client = shownWindow->geometry();
        const QRect frame = shownWindow->frameGeometry();
        const QMargins known(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                             frame.bottom() - client.bottom());
        if (known != QMargins())
            return known;
    }
    return kGuessedFrame;
}

QRect fittedClientGeometry(const QRect& available, const QMargins& frame, QSize wanted, QSize minimum) {
    const QRect room = available.marginsRemoved(frame);
    if (room.width() < minimum.width() || room.height() < minimum.height())
        return {};
    const QSize size = wanted.expandedTo(minimum).boundedTo(room.size());
    QRect client(QPoint(0, 0), size);
    client.moveCenter(room.center());
    return client;
}

void placeFirstTime(QWidget& window, QSize wanted, WhenTooSmall whenTooSmall, const QWidget* shownWindow) {
    const QScreen* screen = shownWindow ? shownWindow->screen() : window.screen();
    const QRect client = fittedClientGeometry(screen->availableGeometry(), expectedFrameMargins(shownWindow), wanted,
                                              window.minimumSizeHint());
    const bool cut = client.width() < wanted.width() || client.height() < wanted.height();
    if (client.isEmpty() || (cut && whenTooSmall == WhenTooSmall::Maximize)) {
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
        return;
    }
    window.setGeometry(client);
}

}  // namespace drawfollow
