// While a message box is open, the repeats of a key held down since before it opened are
// dropped: the Enter that stored (or failed to store) a draw must not also close the box
// that explains the refusal before the player has read it.
#pragma once

#include <QObject>

namespace drawfollow {

class KeyRepeatGuard final : public QObject {
    Q_OBJECT

public:
    KeyRepeatGuard();  // drops repeated key events in the whole application
    ~KeyRepeatGuard() override;
    KeyRepeatGuard(const KeyRepeatGuard&) = delete;
    KeyRepeatGuard& operator=(const KeyRepeatGuard&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace drawfollow
