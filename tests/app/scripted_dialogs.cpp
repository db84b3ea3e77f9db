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
                                                  const QString&) {
    messages_.append({MessageKind::Information, title, prompt});
    return inputs_.isEmpty() ? std::nullopt : inputs_.dequeue();
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& title, const QString&, const QString&) {
    messages_.append({MessageKind::Information, title, QString()});
    return files_.isEmpty() ? QString() : files_.dequeue();
}

}  // namespace drawfollow::test
