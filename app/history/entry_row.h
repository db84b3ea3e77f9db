// The eight entry boxes of a draw: two digits each, the focus moving on
// to the next box after two digits, and a complete draw reported when box 8 gets its
// second digit (or Return is pressed in any box).
#pragma once

#include "store/draw.h"

#include <QWidget>

#include <array>

class QLineEdit;

namespace drawfollow {

class EntryRow final : public QWidget {
    Q_OBJECT

public:
    explicit EntryRow(QWidget* parent = nullptr);

    std::array<QString, kPositions> texts() const;
    QLineEdit* box(int position) const { return boxes_[static_cast<size_t>(position - 1)]; }
    // Empties every box and puts the focus in box 1.
    void clearAll();
    // Puts the focus in a box with its text selected, so that typing replaces it.
    void focusBox(int position);

signals:
    void drawComplete();

private:
    void boxEdited(int position);
    std::array<QLineEdit*, kPositions> boxes_{};
};

}  // namespace drawfollow
