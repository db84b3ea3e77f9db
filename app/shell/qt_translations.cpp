#include "app/shell/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace drawfollow {

QLocale qtTextsLocale(const QLocale& system) {
    if (system.language() == QLocale::C)
        return QLocale(QLocale::Chinese, QLocale::China);
    return system;
}

bool installQtTranslations(QCoreApplication& app, const QLocale& system) {
    auto* translator = new QTranslator(&app);
    // "qtbase" holds the widgets' and dialogs' texts; Debian ships it in qt6-translations-l10n.
    if (!translator->load(qtTextsLocale(system), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace drawfollow
