#include "app/shell/startup_options.h"

#include "drawfollow/version.h"
#include "store/data_folder.h"
#include "store/history_db.h"

#include <QCommandLineParser>

#include <cstdio>
#include <cstdlib>

namespace drawfollow {

StartupOptions parseStartupOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("DrawFollow 开奖号码跟随统计"));
    parser.addHelpOption();
    // Qt's own version option would print the settings' application name.
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("显示版本并退出"));
    parser.addOption(version);
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("数据文件夹（默认：环境变量 %1，否则程序所在文件夹，不可写时用用户数据文件夹）")
            .arg(QLatin1String(kDataDirEnv)),
        QStringLiteral("DIR"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("窗口显示后将其画面存为图片文件并退出"), QStringLiteral("FILE"));
    parser.addOption(dataDir);
    parser.addOption(screenshot);
    parser.process(arguments);
    if (parser.isSet(version)) {
        std::printf("drawfollow %s\n", kVersion);
        std::exit(0);
    }
    StartupOptions options;
    if (parser.isSet(dataDir))
        options.dataDir = parser.value(dataDir);
    if (parser.isSet(screenshot))
        options.screenshot = parser.value(screenshot);
    return options;
}

DataFolderChoice chooseDataFolder(const std::optional<QString>& dataDir) {
    std::optional<std::filesystem::path> choice;
    if (dataDir)
        choice = std::filesystem::path(dataDir->toStdString());
    try {
        return {resolveDataFolder(choice), {}};
    } catch (const std::exception& e) {
        const QString folder = dataDir ? *dataDir : QStringLiteral("（默认数据文件夹）");
        return {{}, QStringLiteral("数据文件夹“%1”不能使用：%2").arg(folder, QString::fromStdString(failureText(e)))};
    }
}

}  // namespace drawfollow
