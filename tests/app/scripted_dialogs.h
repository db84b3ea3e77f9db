// The dialogs of the window answered by the test: every message is recorded, and the next
// answers of the confirmations, input boxes and file dialogs are set beforehand.
#pragma once

#include "app/user_dialogs.h"

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
    };

    void setNextConfirm(bool answer) { confirms_.enqueue(answer); }
    void setNextInput(std::optional<QString> answer) { inputs_.enqueue(answer); }
    void setNextFile(const QString& answer) { files_.enqueue(answer); }

    const QList<Message>& messages() const { return messages_; }
    QString lastText() const { return messages_.isEmpty() ? QString() : messages_.last().text; }
    void clear() { messages_.clear(); }

    void message(QWidget* parent, MessageKind kind, const QString& title, const QString& text) override;
    bool confirm(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& prompt,
                                     const QString& initial) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter) override;

private:
    QList<Message> messages_;
    QQueue<bool> confirms_;
    QQueue<std::optional<QString>> inputs_;
    QQueue<QString> files_;
};

}  // namespace drawfollow::test
