#include "app/shell/user_dialogs.h"

#include "app/shell/desktop_open.h"
#include "app/shell/key_repeat_guard.h"
#include "app/shell/row_choice_dialog.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace drawfollow {

void WidgetDialogs::message(QWidget* parent, MessageKind kind, const QString& title, const QString& text) {
    const KeyRepeatGuard heldKeyIgnored;
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
    const KeyRepeatGuard heldKeyIgnored;
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

std::optional<int> WidgetDialogs::chooseRow(QWidget* parent, const QString& title, const QString& prompt,
                                            const QStringList& columns, const QList<QStringList>& rows) {
    RowChoiceDialog dialog(title, prompt, columns, rows, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenRow();
}

void openSavedFile(UserDialogs& dialogs, const QString& file, const QString& kind, const QObject* context,
                   std::function<void(const QString&)> report) {
    dialogs.openFile(file, context, [file, kind, report = std::move(report)] {
        report(QStringLiteral("文件已保存为“%1”，但系统中没有可以打开%2文件的程序。").arg(file, kind));
    });
}

void WidgetDialogs::openFile(const QString& file, const QObject* context, std::function<void()> notOpened) {
    openOnDesktop(QUrl::fromLocalFile(file), context, std::move(notOpened));
}

}  // namespace drawfollow
