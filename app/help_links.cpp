#include "app/help_links.h"

#include <QDesktopServices>

namespace drawfollow {

UrlOpener systemUrlOpener() {
    return [](const QUrl& url) { QDesktopServices::openUrl(url); };
}

}  // namespace drawfollow
