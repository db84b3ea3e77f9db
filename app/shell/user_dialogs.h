// Every message box, input box and file dialog of the window, and every
// file it hands to another program, goes through this interface, so that a test can answer
// them and no test ever starts a program (tests/app/scripted_dialogs.h).
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QObject;
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
    // One row of a table, the first selected at the start; the row's index, none when cancelled.
    virtual std::optional<int> chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                                         const QStringList& columns, const QList<QStringList>& rows) = 0;
    // Hands a file to the program the system opens such files with, without waiting for
    // it; `notOpened` runs, now or later, when the system has none or could not start it,
    // unless `context` is gone by then.
    virtual void openFile(const QString& file, const QObject* context, std::function<void()> notOpened) = 0;
};

// openFile() for a file just saved: when it does not open, `report` gets the status line
// that says there is no program for `kind` files and where the file is.
void openSavedFile(UserDialogs& dialogs, const QString& file, const QString& kind, const QObject* context,
                   std::function<void(const QString&)> report);

// The real dialogs.
class WidgetDialogs final : public UserDialogs {
public:
    void message(QWidget* parent, MessageKind kind, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& prompt,
                                     const QString& initial) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override;
    std::optional<int> chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                                 const QStringList& columns, const QList<QStringList>& rows) override;
    void openFile(const QString& file, const QObject* context, std::function<void()> notOpened) override;
};

}  // namespace drawfollow
