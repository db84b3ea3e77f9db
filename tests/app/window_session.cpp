#include "window_session.h"

#include "app/shell/work_runner.h"
#include "support/history_builder.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace drawfollow::test {

WindowSession::WindowSession(int currentYear)
    : clock_(currentYear), manualFolder_(QString::fromStdString((dir_ / "manual").string())) {}

WindowSession::~WindowSession() {
    stop();
}

QString WindowSession::settingsFile() const {
    return QString::fromStdString((dir_ / "settings.ini").string());
}

void WindowSession::seed(const std::vector<DrawInput>& draws) {
    HistoryDb db(databaseFile());
    // Under the code table start-up builds for the draws' next issue, as an import derives them.
    const int next = draws.empty() ? 0 : draws.back().issue + 1;
    db.appendBatch(draws, settingsFor(startupCodeTableYear(next)));
}

void WindowSession::presetSetting(const QString& key, const QString& text) {
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.setValue(QLatin1String(AppSettings::kGroup) + QLatin1Char('/') + key, text);
}

QString WindowSession::storedText(const QString& key) const {
    QSettings s(settingsFile(), QSettings::IniFormat);
    return s.value(QLatin1String(AppSettings::kGroup) + QLatin1Char('/') + key).toString();
}

bool WindowSession::finishWork() {
    return finishLane(WorkLane::History);
}

bool WindowSession::finishWrites() {
    return finishLane(WorkLane::Spreadsheet);
}

bool WindowSession::finishAllWork() {
    return finishLane(std::nullopt);
}

bool WindowSession::finishLane(std::optional<WorkLane> lane) {
    auto* runner = window_->findChild<WorkRunner*>();
    if (!runner)
        return true;
    // busy() and its end are both on this thread: the spy cannot miss the end. The outcome
    // is shown in the same call, before wait() returns; that outcome may start the next step
    // of the same command (the restore after the list of copies), waited for too.
    constexpr int kHungMs = 60000;  // an upper bound for a hung test, not a timing expectation
    while (lane ? runner->busy(*lane) : !runner->idle()) {
        QSignalSpy changed(runner, &WorkRunner::busyChanged);
        if (!changed.wait(kHungMs))
            return false;
    }
    return true;
}

bool WindowSession::clickAndWait(const QString& button) {
    find<QPushButton>(button)->click();
    return finishWork();
}

bool WindowSession::start() {
    store_ = std::make_unique<QSettings>(settingsFile(), QSettings::IniFormat);
    settings_ = std::make_unique<AppSettings>(*store_);
    controllers_ = std::make_unique<WindowControllers>(*settings_, clock_);
    controllers_->history.start(DataFolderChoice{dir_.path(), {}});
    const UrlOpener recordUrl = [this](const QUrl& url, const QObject*, const std::function<void()>& notOpened) {
        opened_.push_back(url);
        if (!urlsOpen_)
            notOpened();
    };
    window_ = std::make_unique<MainWindow>(*controllers_, dialogs_, HelpLinks{manualFolder_, recordUrl});
    window_->show();
    window_->activateWindow();
    return QTest::qWaitForWindowActive(window_.get());
}

bool WindowSession::restart() {
    stop();
    return start();
}

void WindowSession::stop() {
    window_.reset();
    controllers_.reset();
    settings_.reset();
    store_.reset();
}

void typeIntoFocus(const QString& keys) {
    for (const QChar c : keys) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        QTest::keyClick(target, c.toLatin1());
    }
}

PanelSearch panelSearchAsShown(WindowSession& s, SearchButton button, const std::array<bool, kPositions>& ticked) {
    return s.search().panelSearch(button, ticked, s.find<QLineEdit>(QStringLiteral("Text3_0"))->text(),
                                  s.find<QLineEdit>(QStringLiteral("Text3_1"))->text());
}

}  // namespace drawfollow::test
