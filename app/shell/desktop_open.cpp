#include "app/shell/desktop_open.h"

#include <QCoreApplication>
#include <QProcess>

namespace drawfollow {

void openOnDesktop(const QUrl& url, const QObject* context, std::function<void()> notOpened) {
    // Owned by the application, not by `context`: the program opened may outlive the window.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setProgram(QStringLiteral("xdg-open"));
    opener->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString()});
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    const auto failed = std::make_shared<std::function<void()>>(std::move(notOpened));
    QObject::connect(opener, &QProcess::errorOccurred, context, [opener, failed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        (*failed)();
        opener->deleteLater();
    });
    QObject::connect(opener, &QProcess::finished, context, [failed](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            (*failed)();
    });
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    opener->start();
}

}  // namespace drawfollow
