// Where the three help items of the settings menu lead: the user manual that ships with the
// program, its walk-through page, and the home page, a setting that defaults to the manual.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QObject;

namespace drawfollow {

// Opens an address without waiting for the program that shows it; `notOpened` runs, now or
// later, when the system has no program for it or could not start one, unless `context` is
// gone by then.
using UrlOpener = std::function<void(const QUrl&, const QObject* context, std::function<void()> notOpened)>;

struct HelpLinks {
    QString manualFolder;  // holds the manual's first page; empty when none was found
    UrlOpener open;
};

// The manual installed with this program, opened by the desktop's browser.
HelpLinks systemHelpLinks();

inline constexpr const char* kManualFirstPage = "index.html";
inline constexpr const char* kManualWalkThrough = "demo.html";

// The manual's folder: at the same place relative to the program in the build tree and in
// an installation (share/doc/drawfollow/manual beside bin/), else in the first of the system's
// data folders that holds it (doc/drawfollow/manual); empty when none holds the first page.
QString findManualFolder(const QString& programFolder, const QStringList& dataFolders);

// A page of the manual; an empty address when there is no manual.
QUrl manualPage(const QString& manualFolder, const char* page);

// The home page setting when it holds an address, else the manual's first page.
QUrl homePage(const QString& setting, const QString& manualFolder);

}  // namespace drawfollow
