#include "app/shell/key_repeat_guard.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace drawfollow {

KeyRepeatGuard::KeyRepeatGuard() {
    QCoreApplication::instance()->installEventFilter(this);
}

KeyRepeatGuard::~KeyRepeatGuard() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool KeyRepeatGuard::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::ShortcutOverride) &&
        static_cast<QKeyEvent*>(event)->isAutoRepeat())
        return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace drawfollow
