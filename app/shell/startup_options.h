// The command line of the window program and the data folder it leads to.
#pragma once

#include "app/history/history_controller.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace drawfollow {

struct StartupOptions {
    std::optional<QString> dataDir;     // --data-dir
    std::optional<QString> screenshot;  // --screenshot FILE: save a picture of the window and quit
};

// Parses the arguments (program name first); --help and --version exit the process.
StartupOptions parseStartupOptions(const QStringList& arguments);

// --data-dir, else $DRAWFOLLOW_DATA_DIR, else the program's folder when writable, else the
// per-user folder (store/data_folder.h); the folder is created when missing.
DataFolderChoice chooseDataFolder(const std::optional<QString>& dataDir);

}  // namespace drawfollow
