// drawfollow-cli-update: runs `drawfollow-cli update`, the one command that loads Qt Network
// and libxml2.
#include "cli/command_line.h"
#include "cli/update_command.h"

#include "io/update_plan.h"
#include "net/online_update.h"

#include <QCoreApplication>
#include <QSettings>

#include <iostream>

namespace drawfollow::cli {

namespace {

// What the window saved: its settings store, group "IniSetting".
QString windowSetting(const char* key) {
    QSettings store(QStringLiteral("FlwZMBRQLC"), QStringLiteral("FlwZMBRQLC"));
    return store.value(QStringLiteral("IniSetting/") + QLatin1String(key)).toString().trimmed();
}

UpdateRequest requestFrom(const UpdateOptions& options, const Clock& clock) {
    UpdateRequest request;
    request.host = options.host ? *options.host : windowSetting("UpdateHost").toStdString();
    if (options.keepYears) {
        request.keepYears = *options.keepYears;
    } else {
        bool ok = false;
        const int saved = windowSetting("IniSerchDay").toInt(&ok);
        request.keepYears = ok && saved >= kFewestYearsKept && saved <= kMostYearsKept ? saved : 6;
    }
    request.currentYear = options.currentYear ? *options.currentYear : clock.currentYear();
    return request;
}

void runUpdate(CliContext& context, const UpdateOptions& options) {
    int argc = 1;
    char name[] = "drawfollow-cli";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    const UpdateRequest request = requestFrom(options, context.clock());
    // No confirmation here, to stay scriptable: the drop is announced before the first page.
    if (const std::string drop = dropNotice(planUpdate(context.db(), request.currentYear, request.keepYears));
        !drop.empty())
        std::cout << drop << "。\n";
    const FetchLimits limits{std::chrono::milliseconds(static_cast<long long>(options.timeoutSeconds * 1000))};
    OnlineUpdate update(context.db(), context.derivation(options.attributes), request, limits);
    bool lineOpen = false;
    QObject::connect(&update, &OnlineUpdate::yearStarted, [&](int year, int ordinal, int yearsInAll) {
        std::cout << "读取 " << year << " 年的开奖网页（" << ordinal << "/" << yearsInAll << "）…… " << std::flush;
        lineOpen = true;
    });
    QObject::connect(&update, &OnlineUpdate::yearRead, [&](int, int read, int) {
        std::cout << "已读取 " << read << " 期\n";
        lineOpen = false;
    });
    QObject::connect(&update, &OnlineUpdate::finished, &app, [&] {
        if (lineOpen)
            std::cout << "失败\n";
        QCoreApplication::quit();
    });
    update.start();
    QCoreApplication::exec();

    if (!update.summary().succeeded())
        throw StoreError(update.summary().message());
    std::cout << update.summary().message() << '\n';
}

}  // namespace

}  // namespace drawfollow::cli

int main(int argc, char** argv) {
    using namespace drawfollow::cli;
    return runCommandLine(argc, argv,
                          [](CLI::App& app, CliContext& context) { addUpdateCommand(app, context, runUpdate); });
}
