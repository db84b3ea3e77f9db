// Takes the pictures of the window the manual and the README show: opens it over a data folder
// (with settings of its own, never the user's), plays the steps the manual's walk-through
// describes and saves each view as a PNG; or, given a screen size, fits the window to that
// screen, runs a search and saves the one picture. Run by scripts/screenshots.sh on the
// offscreen platform.
#include "app/shell/app_icon.h"
#include "app/shell/app_settings.h"
#include "app/shell/main_window.h"
#include "app/shell/user_dialogs.h"
#include "app/shell/window_controllers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <stdexcept>

namespace {

using namespace drawfollow;

template <class T>
T* control(QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found)
        throw std::runtime_error(std::string("the window has no control named ") + name);
    return found;
}

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

// Waits, with the event loop running, until `ready` holds.
template <class Ready>
void waitUntil(Ready ready, const char* what) {
    QElapsedTimer waited;
    waited.start();
    while (!ready()) {
        if (waited.hasExpired(120000))
            throw std::runtime_error(std::string(what) + " did not finish within two minutes");
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    settle();
}

// Searches run off the window's thread: the picture waits for the busy bar to go.
void clickAndWait(QWidget& window, const char* button) {
    control<QAbstractButton>(window, button)->click();
    const auto* busy = control<QWidget>(window, "busyIndicator");
    waitUntil([busy] { return busy->isHidden(); }, button);
}

void save(const QPixmap& picture, const QDir& folder, const char* name) {
    const QString file = folder.filePath(QLatin1String(name));
    if (!picture.save(file))
        throw std::runtime_error("cannot write " + file.toStdString());
    std::printf("%s\n", qPrintable(file));
}

// A window the main window opened, by its object name; closed once it is saved.
void saveWindow(QWidget& window, const char* name, const QDir& out, const char* file) {
    settle();
    QWidget* opened = control<QWidget>(window, name);
    save(opened->grab(), out, file);
    opened->close();
}

void takePictures(MainWindow& window, const QDir& out) {
    save(window.grab(), out, "window.png");

    // Walk-through step 2: zodiac of positions 1 and 8 followed, tails tallied.
    control<QCheckBox>(window, "Check1_1")->setChecked(true);
    control<QCheckBox>(window, "Check1_8")->setChecked(true);
    control<QAbstractButton>(window, "Option3_1")->click();
    control<QAbstractButton>(window, "Option4_3")->click();
    clickAndWait(window, "Command1");
    save(window.grab(), out, "search.png");
    control<QAbstractButton>(window, "chanceChartButton")->click();
    saveWindow(window, "chanceChartDialog", out, "chance-chart.png");
    control<QAbstractButton>(window, "cmdBacktest")->click();
    waitUntil([&window] { return window.findChild<QWidget*>(QStringLiteral("backtestDialog")) != nullptr; },
              "cmdBacktest");
    saveWindow(window, "backtestDialog", out, "backtest.png");

    // Step 3: verify the draw before the newest one, searching only before it.
    control<QTabWidget>(window, "TabStrip1")->setCurrentIndex(2);
    auto* lastIssue = control<QLineEdit>(window, "Text3_1");
    auto* issue = control<QLineEdit>(window, "Text4");
    issue->setText(lastIssue->text());
    issue->editingFinished();
    control<QCheckBox>(window, "Check4")->click();
    control<QCheckBox>(window, "Check1_11")->setChecked(true);
    control<QCheckBox>(window, "Check1_18")->setChecked(true);
    clickAndWait(window, "Command1");
    save(window.grab(), out, "verify.png");

    control<QAbstractButton>(window, "cmdTrend")->click();
    saveWindow(window, "frmTrend", out, "trend.png");
    control<QTabWidget>(window, "trendTabs")->setCurrentIndex(1);
    saveWindow(window, "frmTrend", out, "omission.png");
    control<QAbstractButton>(window, "cmdTrend")->click();
    control<QTabWidget>(window, "trendTabs")->setCurrentIndex(4);
    saveWindow(window, "frmTrend", out, "shape.png");

    // The history menu over the window, where a right click on the history opens it.
    auto* menu = control<QMenu>(window, "mnuLsgl");
    QPixmap withMenu = window.grab();
    const QPoint at = window.menuBar()->geometry().bottomLeft() + QPoint(8, 0);
    menu->popup(window.mapToGlobal(at));
    settle();
    QPainter(&withMenu).drawPixmap(at, menu->grab());
    menu->close();
    save(withMenu.copy(0, 0, withMenu.width() / 2, withMenu.height() / 2), out, "history-menu.png");
}

// The window filling a screen of `screen` device pixels after a follow search on the first
// two numbers of the newest draw.
void takeScreenPicture(MainWindow& window, QSize screen, const QString& file) {
    window.resize(screen / window.devicePixelRatio());
    control<QCheckBox>(window, "Check1_1")->setChecked(true);
    control<QCheckBox>(window, "Check1_2")->setChecked(true);
    settle();
    clickAndWait(window, "Command1");
    if (!window.grab().save(file))
        throw std::runtime_error("cannot write " + file.toStdString());
    std::printf("%s\n", qPrintable(file));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    presentToDesktop();
    const QStringList args = QApplication::arguments();
    const bool onePicture = args.size() == 5 && args[2] == QLatin1String("--screen");
    const QSize screen =
        onePicture ? QSize(args[3].section(u'x', 0, 0).toInt(), args[3].section(u'x', 1, 1).toInt()) : QSize();
    if (!(args.size() == 3 || (onePicture && !screen.isEmpty()))) {
        std::fprintf(stderr,
                     "usage: manual_screenshots DATA_DIR OUTPUT_DIR\n"
                     "       manual_screenshots DATA_DIR --screen WIDTHxHEIGHT FILE\n");
        return 2;
    }
    QTemporaryDir settingsFolder;
    QSettings store(settingsFolder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat);
    AppSettings settings(store);
    SystemClock clock;
    WidgetDialogs dialogs;
    WindowControllers controllers(settings, clock);
    controllers.history.start(DataFolderChoice{args[1].toStdString(), {}});
    MainWindow window(controllers, dialogs, HelpLinks{});
    window.resize(1340, 740);
    window.show();
    settle();
    try {
        if (onePicture)
            takeScreenPicture(window, screen, args[4]);
        else
            takePictures(window, QDir(args[2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "manual_screenshots: %s\n", e.what());
        return 1;
    }
    return 0;
}
