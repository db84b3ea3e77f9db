// The DrawFollow window program: settings, data folder, controllers, window.
#include "app/shell/app_icon.h"
#include "app/shell/app_settings.h"
#include "app/shell/main_window.h"
#include "app/shell/qt_translations.h"
#include "app/shell/startup_options.h"
#include "app/shell/timing_log.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/window_controllers.h"
#include "drawfollow/version.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSettings>
#include <QTimer>

int main(int argc, char** argv) {
    using namespace drawfollow;
    QElapsedTimer sinceStart;
    sinceStart.start();

    // Answered before QApplication, which aborts without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const auto parsed = parseStartupOptions(arguments);
    if (const auto* answer = std::get_if<StartupAnswer>(&parsed))
        return printStartupAnswer(*answer);
    const StartupOptions& options = std::get<StartupOptions>(parsed);

    QApplication app(argc, argv);
    QApplication::setOrganizationName(QLatin1String(AppSettings::kOrganisation));
    QApplication::setApplicationName(QLatin1String(AppSettings::kApplication));
    QApplication::setApplicationVersion(QLatin1String(kVersion));
    presentToDesktop();
    installQtTranslations(app);

    QSettings store;  // per user, under FlwZMBRQLC / FlwZMBRQLC
    AppSettings settings(store);
    SystemClock clock;
    WidgetDialogs dialogs;
    WindowControllers controllers(settings, clock);
    controllers.history.start(chooseDataFolder(options.dataDir));

    MainWindow window(controllers, dialogs);
    window.show();
    QTimer::singleShot(0, &window, [&] {
        qCInfo(lcTiming, "start-up to a shown window: %.1f ms (%zu draws)", sinceStart.nsecsElapsed() / 1e6,
               controllers.history.history().size());
        if (options.screenshot) {
            window.grab().save(*options.screenshot);
            QApplication::quit();
        }
    });
    return QApplication::exec();
}
