// The help items of the settings menu (the home page, the manual, the demonstration video). A page that
// cannot be shown, because there is no manual or no program opens it, is said in the status
// bar with the page's full path, never in a dialog.
#pragma once

#include "app/shell/help_links.h"

#include <QObject>

namespace drawfollow {

class AppSettings;

class HelpCommands final : public QObject {
    Q_OBJECT

public:
    HelpCommands(const AppSettings& settings, HelpLinks links, QObject* parent);

    void openHomePage();
    void openManual();
    void openWalkThrough();

signals:
    // A page could not be shown: why, one line for the status bar.
    void failed(const QString& reason);

private:
    void open(const QUrl& page);

    const AppSettings& settings_;
    HelpLinks links_;
};

}  // namespace drawfollow
