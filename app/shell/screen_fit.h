// Where a top-level window goes so that its whole frame, title bar included, stays on the
// screen's available area: a title bar above the screen's top can be neither dragged nor
// used to close the window, and a status bar below its bottom hides every message.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace drawfollow {

// The window manager's frame around a client area: that of a window already on the screen,
// else a generous guess (the frame is only known once a window has been shown).
QMargins expectedFrameMargins(const QWidget* shownWindow);

// The client geometry of `wanted` (at least `minimum`) whose frame lies inside `available`,
// centred there; smaller than wanted when the area is small. Empty when even the minimum
// does not fit, so that the caller can maximize instead.
QRect fittedClientGeometry(const QRect& available, const QMargins& frame, QSize wanted, QSize minimum);

// What a window whose wanted size does not fit does: take the whole area (a main window)
// or shrink to it (a secondary window), maximized all the same when its minimum does not fit.
enum class WhenTooSmall { Maximize, Shrink };

// Places a top-level window that has not been shown yet on the screen of `shownWindow`
// (whose frame it expects too), else on its own.
void placeFirstTime(QWidget& window, QSize wanted, WhenTooSmall whenTooSmall, const QWidget* shownWindow = nullptr);

}  // namespace drawfollow
