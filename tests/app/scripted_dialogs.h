// The dialogs of the window answered by the test: every message is recorded, and the next
// answers of the confirmations, input boxes and file dialogs are set beforehand. Files the
// window hands to other programs are recorded instead of opened.
#pragma once

#include "app/shell/user_dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

namespace drawfollow::test {

class ScriptedDialogs final : public UserDialogs {
public:
    struct Message {
        MessageKind kind;
        QString title;
        QString text;
        QString initial = {};  // an input box's default answer, a file dialog's folder
        QString filter = {};   // a file dialog's filter
    };

    void setNextConfirm(bool answer) { confirms_.enqueue(answer); }
    void setNextInput(std::optional<QString> answer) { inputs_.enqueue(answer); }
    void setNextFile(const QString& answer) { files_.enqueue(answer); }
    void setNextRow(std::optional<int> answer) { rows_.enqueue(answer); }
    // Whether the system "has a program" for the files opened from now on.
    void setOpenSucceeds(bool on) { openSucceeds_ = on; }

    const QList<Message>& messages() const { return messages_; }
    QString lastText() const { return messages_.isEmpty() ? QString() : messages_.last().text; }
    void clear() { messages_.clear(); }
    const QStringList& openedFiles() const { return openedFiles_; }
    // The rows of the last table to choose from.
    const QList<QStringList>& offeredRows() const { return offeredRows_; }

    void message(QWidget* parent, MessageKind kind, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& prompt,
                                     const QString& initial) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override;
    std::optional<int> chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                                 const QStringList& columns, const QList<QStringList>& rows) override;
    void openFile(const QString& file, const QObject* context, std::function<void()> notOpened) override;

private:
    QList<Message> messages_;
    QQueue<bool> confirms_;
    QQueue<std::optional<QString>> inputs_;
    QQueue<QString> files_;
    QQueue<std::optional<int>> rows_;
    QList<QStringList> offeredRows_;
    QStringList openedFiles_;
    bool openSucceeds_ = true;
};

}  // namespace drawfollow::test
