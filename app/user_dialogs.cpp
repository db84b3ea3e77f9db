#include "app/user_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace drawfollow {

void WidgetDialogs::message(QWidget* parent, MessageKind kind, const QString& title, const QString& text) {
    switch (kind) {
        case MessageKind::Information:
            QMessageBox::information(parent, title, text);
            break;
        case MessageKind::Warning:
            QMessageBox::warning(parent, title, text);
            break;
        case MessageKind::Critical:
            QMessageBox::critical(parent, title, text);
            break;
    }
}

bool WidgetDialogs::confirm(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

std::optional<QString> WidgetDialogs::inputText(QWidget* parent, const QString& title, const QString& prompt,
                                                const QString& initial) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString WidgetDialogs::openFileName(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

}  // namespace drawfollow
