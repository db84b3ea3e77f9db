#include "app/shell/help_links.h"

#include "app/shell/desktop_open.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace drawfollow {

namespace {

// Both set by the build from the install layout (app/CMakeLists.txt).
constexpr const char* kManualBesideProgram = DRAWFOLLOW_MANUAL_BESIDE_PROGRAM;
constexpr const char* kManualInDataFolder = DRAWFOLLOW_MANUAL_IN_DATA_FOLDER;

bool holdsManual(const QString& folder) {
    return QFileInfo(QDir(folder).filePath(QLatin1String(kManualFirstPage))).isFile();
}

}  // namespace

HelpLinks systemHelpLinks() {
    return {findManualFolder(QCoreApplication::applicationDirPath(),
                             QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)),
            &openOnDesktop};
}

QString findManualFolder(const QString& programFolder, const QStringList& dataFolders) {
    QStringList candidates{QDir(programFolder).filePath(QLatin1String(kManualBesideProgram))};
    for (const QString& data : dataFolders)
        candidates << QDir(data).filePath(QLatin1String(kManualInDataFolder));
    for (const QString& folder : candidates)
        if (holdsManual(folder))
            return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return {};
}

QUrl manualPage(const QString& manualFolder, const char* page) {
    if (manualFolder.isEmpty())
        return {};
    return QUrl::fromLocalFile(QDir(manualFolder).filePath(QLatin1String(page)));
}

QUrl homePage(const QString& setting, const QString& manualFolder) {
    const QUrl address = QUrl::fromUserInput(setting);
    if (!setting.isEmpty() && address.isValid())
        return address;
    return manualPage(manualFolder, kManualFirstPage);
}

}  // namespace drawfollow
