#include "scripted_dialogs.h"

namespace drawfollow::test {

void ScriptedDialogs::message(QWidget*, MessageKind kind, const QString& title, const QString& text) {
    messages_.append({kind, title, text});
}

bool ScriptedDialogs::confirm(QWidget*, const QString& title, const QString& text) {
    messages_.append({MessageKind::Information, title, text});
    // An unscripted confirmation is answered with Cancel: nothing destructive by accident.
    return confirms_.isEmpty() ? false : confirms_.dequeue();
}

std::optional<QString> ScriptedDialogs::inputText(QWidget*, const QString& title, const QString& prompt,
                                                  const QString& initial) {
    messages_.append({MessageKind::Information, title, prompt, initial});
    return inputs_.isEmpty() ? std::nullopt : inputs_.dequeue();
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& title, const QString& folder, const QString& filter) {
    messages_.append({MessageKind::Information, title, QString(), folder, filter});
    return files_.isEmpty() ? QString() : files_.dequeue();
}

std::optional<int> ScriptedDialogs::chooseRow(QWidget*, const QString& title, const QString& prompt, const QStringList&,
                                              const QList<QStringList>& rows) {
    messages_.append({MessageKind::Information, title, prompt});
    offeredRows_ = rows;
    return rows_.isEmpty() ? std::nullopt : rows_.dequeue();
}

void ScriptedDialogs::openFile(const QString& file, const QObject*, std::function<void()> notOpened) {
    openedFiles_.append(file);
    if (!openSucceeds_)
        notOpened();
}

}  // namespace drawfollow::test
