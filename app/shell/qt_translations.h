// Qt's own texts — the file dialog, the standard OK and Cancel buttons, the input box —
// in the user's language, so that they match the window's Chinese.
#pragma once

#include <QLocale>

class QCoreApplication;

namespace drawfollow {

// The language Qt's texts are shown in: the system's, or Chinese when the system names
// none (the C or POSIX locale of a bare session).
QLocale qtTextsLocale(const QLocale& system);

// Loads and installs Qt's translation for that language from the system's Qt
// translations; false when there is none (Qt's texts then stay English).
bool installQtTranslations(QCoreApplication& app, const QLocale& system = QLocale::system());

}  // namespace drawfollow
