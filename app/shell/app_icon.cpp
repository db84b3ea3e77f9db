#include "app/shell/app_icon.h"

#include <QApplication>
#include <QDir>

namespace drawfollow {

QIcon applicationIcon() {
    QIcon icon;
    const QDir pictures(QStringLiteral(":/icons"));
    for (const QString& file : pictures.entryList(QDir::Files))
        icon.addFile(pictures.filePath(file));
    return icon;
}

void presentToDesktop() {
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QLatin1String(DRAWFOLLOW_APP_ID));
}

}  // namespace drawfollow
