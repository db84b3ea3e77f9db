#include "app/history/entry_row.h"

#include "app/shell/ui_text.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <functional>

namespace drawfollow {

namespace {

// A masked box places the caret where it is clicked, even past the blank places of an
// empty box; the first digit typed would then land in the second place and the second be
// dropped. An empty box always starts at its first place.
// A masked box also swallows Return unless it holds both digits: an empty or half-filled box
// would store nothing and say nothing. Here every Return asks for the draw to be stored, so
// that the check names what is missing; a held key's repeats ask nothing more.
class EntryBox final : public QLineEdit {
public:
    EntryBox(std::function<void()> enterPressed, QWidget* parent)
        : QLineEdit(parent), enterPressed_(std::move(enterPressed)) {}

protected:
    void mousePressEvent(QMouseEvent* event) override {
        QLineEdit::mousePressEvent(event);
        if (text().isEmpty())
            setCursorPosition(0);
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
            QLineEdit::keyPressEvent(event);
            return;
        }
        event->accept();
        if (!event->isAutoRepeat())
            enterPressed_();
    }

private:
    std::function<void()> enterPressed_;
};

}  // namespace

EntryRow::EntryRow(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    const QString tip = QStringLiteral("在此补充输入最新历史号码");
    for (int p = 1; p <= kPositions; ++p) {
        auto* box = new EntryBox([this] { emit drawComplete(); }, this);
        box->setObjectName(arrayName("MaskEdBox1", p));
        box->setInputMask(QStringLiteral("99;_"));  // two digit places, prompt "_"
        box->setToolTip(tip);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 14);
        box->setAccessibleName(positionName(p));
        // textEdited: only the user's typing counts, never the clearing after a store, so
        // no just-saved flag is needed to keep the clearing from storing or moving focus.
        connect(box, &QLineEdit::textEdited, this, [this, p] { boxEdited(p); });
        boxes_[static_cast<size_t>(p - 1)] = box;
        layout->addWidget(box);
        if (p == kRegularPositions)
            layout->addSpacing(10);  // the special number stands apart
    }
    layout->addStretch(1);
}

std::array<QString, kPositions> EntryRow::texts() const {
    std::array<QString, kPositions> t;
    for (size_t i = 0; i < boxes_.size(); ++i)
        t[i] = boxes_[i]->text();
    return t;
}

void EntryRow::clearAll() {
    for (QLineEdit* box : boxes_)
        box->clear();
    focusBox(1);
}

void EntryRow::focusBox(int position) {
    QLineEdit* b = box(position);
    b->setFocus(Qt::OtherFocusReason);
    b->setCursorPosition(0);
    b->selectAll();
}

void EntryRow::boxEdited(int position) {
    if (!box(position)->hasAcceptableInput())
        return;  // fewer than two digits
    if (position < kPositions)
        focusBox(position + 1);
    else
        emit drawComplete();
}

}  // namespace drawfollow
