// Every message box, input box and file dialog of the window goes through this interface,
// so that a test can answer them (tests/app/scripted_dialogs.h).
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace drawfollow {

enum class MessageKind { Information, Warning, Critical };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A message with only an OK button.
    virtual void message(QWidget* parent, MessageKind kind, const QString& title, const QString& text) = 0;
    // OK / Cancel; true for OK.
    virtual bool confirm(QWidget* parent, const QString& title, const QString& text) = 0;
    // A line of text; none when cancelled.
    virtual std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& prompt,
                                             const QString& initial) = 0;
    // A file to open; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                                 const QString& filter) = 0;
};

// The real dialogs.
class WidgetDialogs final : public UserDialogs {
public:
    void message(QWidget* parent, MessageKind kind, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& prompt,
                                     const QString& initial) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override;
};

}  // namespace drawfollow
