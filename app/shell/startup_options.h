// The command line of the window program and the data folder it leads to.
#pragma once

#include "app/history/history_controller.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace drawfollow {

struct StartupOptions {
    std::optional<QString> dataDir;     // --data-dir
    std::optional<QString> screenshot;  // --screenshot FILE: save a picture of the window and quit
};

// --help, --version or a command line that cannot be read: the text to print and the exit
// status, answered before any window system is needed (so also on a console without one).
struct StartupAnswer {
    QString text;
    int status = 0;
};

// Parses the arguments (program name first). Needs no QCoreApplication.
std::variant<StartupOptions, StartupAnswer> parseStartupOptions(const QStringList& arguments);

// Prints the answer (status 0 to standard output, otherwise to standard error) and returns its status.
int printStartupAnswer(const StartupAnswer& answer);

// --data-dir, else $DRAWFOLLOW_DATA_DIR, else the program's folder when writable, else the
// per-user folder (store/data_folder.h); the folder is created when missing.
DataFolderChoice chooseDataFolder(const std::optional<QString>& dataDir);

}  // namespace drawfollow
