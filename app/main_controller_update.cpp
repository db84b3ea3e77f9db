// The online update's half of the controller: the update is built over the controller's
// own database, so that what it stores is what the window shows after reloadHistory().
#include "app/main_controller.h"
#include "io/update_plan.h"
#include "net/online_update.h"

namespace drawfollow {

std::unique_ptr<OnlineUpdate> MainController::onlineUpdate(const QString& host) {
    if (!db_)
        return nullptr;
    const UpdateRequest request{host.trimmed().toStdString(), settings_.yearsToKeep(), clock_.currentYear()};
    return std::make_unique<OnlineUpdate>(*db_, derivation(), request);
}

QString MainController::onlineUpdateDropNotice() {
    if (!db_)
        return {};
    try {
        return QString::fromStdString(dropNotice(planUpdate(*db_, clock_.currentYear(), settings_.yearsToKeep())));
    } catch (const std::exception&) {
        return {};  // the update meets the same fault when it starts, and reports it
    }
}

void MainController::setUpdateHost(const QString& host) {
    settings_.setUpdateHost(host);
}

}  // namespace drawfollow
