#include "app/shell/help_commands.h"

#include "app/shell/app_settings.h"

#include <QDir>

namespace drawfollow {

HelpCommands::HelpCommands(const AppSettings& settings, HelpLinks links, QObject* parent)
    : QObject(parent), settings_(settings), links_(std::move(links)) {}

void HelpCommands::openHomePage() {
    open(homePage(settings_.homePage(), links_.manualFolder));
}

void HelpCommands::openManual() {
    open(manualPage(links_.manualFolder, kManualFirstPage));
}

void HelpCommands::openWalkThrough() {
    open(manualPage(links_.manualFolder, kManualWalkThrough));
}

void HelpCommands::open(const QUrl& page) {
    if (page.isEmpty()) {
        emit failed(
            QStringLiteral("没有找到随程序安装的使用说明（应在程序旁的 share/doc/drawfollow/manual 中），"
                           "请重新安装本程序。"));
        return;
    }
    const QString where = page.isLocalFile() ? QDir::toNativeSeparators(page.toLocalFile()) : page.toString();
    links_.open(page, this, [this, where] {
        emit failed(QStringLiteral("系统中没有可以打开网页的程序，请用浏览器打开“%1”。").arg(where));
    });
}

}  // namespace drawfollow
