// The online update's half of the controller: the update is built over the controller's
// own database, so that what it stores is what the window shows after reloadHistory().
#include "app/main_controller.h"
#include "net/online_update.h"

namespace drawfollow {

std::unique_ptr<OnlineUpdate> MainController::onlineUpdate(const QString& host) {
    if (!db_)
        return nullptr;
    const UpdateRequest request{host.trimmed().toStdString(), settings_.yearsToKeep(), clock_.currentYear()};
    return std::make_unique<OnlineUpdate>(*db_, derivation(), request);
}

void MainController::setUpdateHost(const QString& host) {
    settings_.setUpdateHost(host);
}

}  // namespace drawfollow
