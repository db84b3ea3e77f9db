#include "app/shell/startup_options.h"

#include "drawfollow/version.h"
#include "store/data_folder.h"
#include "store/history_db.h"

#include <QCommandLineParser>

#include <cstdio>

namespace drawfollow {

std::variant<StartupOptions, StartupAnswer> parseStartupOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("DrawFollow 开奖号码跟随统计"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("显示本帮助并退出"));
    // Qt's own version option would print the settings' application name.
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("显示版本并退出"));
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        QStringLiteral("数据文件夹（默认：环境变量 %1，否则程序所在文件夹，不可写时用用户数据文件夹）")
            .arg(QLatin1String(kDataDirEnv)),
        QStringLiteral("DIR"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("窗口显示后将其画面存为图片文件并退出"), QStringLiteral("FILE"));
    parser.addOptions({help, version, dataDir, screenshot});
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        const QString reason = unknown.isEmpty()
                                   ? QStringLiteral("选项 --data-dir 和 --screenshot 后面要跟一个值")
                                   : QStringLiteral("未知选项 %1").arg(unknown.join(QStringLiteral("、")));
        return StartupAnswer{QStringLiteral("drawfollow：%1（用 --help 查看可用选项）\n").arg(reason), 1};
    }
    if (parser.isSet(help)) {
        // Without an application object the parser cannot know the program's name.
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("drawfollow"));
        return StartupAnswer{text, 0};
    }
    if (parser.isSet(version))
        return StartupAnswer{QStringLiteral("drawfollow %1\n").arg(QLatin1String(kVersion)), 0};
    StartupOptions options;
    if (parser.isSet(dataDir))
        options.dataDir = parser.value(dataDir);
    if (parser.isSet(screenshot))
        options.screenshot = parser.value(screenshot);
    return options;
}

int printStartupAnswer(const StartupAnswer& answer) {
    const QByteArray bytes = answer.text.toLocal8Bit();
    std::FILE* stream = answer.status == 0 ? stdout : stderr;
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
    return answer.status;
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
