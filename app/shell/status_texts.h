// The status bar's texts never run out of sight unmarked, and never overlap: one line shows
// either the lasting state (the database and its draws) or, for a while, what a command just
// did. A text wider than its room ends in "…", and the whole of it is the tooltip: a path and
// a count, or a command's summary, easily outgrow a 1024-pixel window.
#pragma once

#include <QStatusBar>

namespace drawfollow {

class ElidingStatusBar final : public QStatusBar {
    Q_OBJECT

public:
    explicit ElidingStatusBar(QWidget* parent = nullptr);

    // Shown whenever no message is; `problem` draws it in red.
    void setLastingText(const QString& text, bool problem);
    QString lastingText() const { return lasting_; }
    // The line as drawn now: the message, else the lasting text; whole, or its start and "…".
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString fullText() const;
    QRect textRect() const;
    void updateToolTip();

    QString lasting_;
    bool problem_ = false;
};

}  // namespace drawfollow
