// One run of the window for a test: its own temporary data folder and settings file, a
// fixed clock, scripted dialogs and a recording URL opener. restart() closes the window
// and starts a new one over the same folder and settings, as a user restarting would.
#pragma once

#include "app/shell/app_settings.h"
#include "app/shell/main_window.h"
#include "app/shell/window_controllers.h"
#include "scripted_dialogs.h"
#include "store/clock.h"
#include "store/draw_row.h"
#include "support/temp_dir.h"

#include <QSettings>
#include <QUrl>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace drawfollow {
enum class WorkLane;
}

namespace drawfollow::test {

class WindowSession {
public:
    explicit WindowSession(int currentYear = 2026);
    ~WindowSession();

    const std::filesystem::path& dataDir() const { return dir_.path(); }
    std::filesystem::path databaseFile() const { return dir_ / HistoryDb::kFileName; }
    QString settingsFile() const;

    // Stores draws through the store, before start(), as an import would.
    void seed(const std::vector<DrawInput>& draws);
    // Writes a settings value as text, as a hand-edited file would hold it.
    void presetSetting(const QString& key, const QString& text);

    // Creates the controllers and the window, shows it and waits until it is active.
    bool start();
    bool restart();
    void stop();

    MainWindow& window() { return *window_; }
    HistoryController& history() { return controllers_->history; }
    SearchPanelController& search() { return controllers_->search; }
    ScriptedDialogs& dialogs() { return dialogs_; }
    const std::vector<QUrl>& openedUrls() const { return opened_; }
    // Where the window looks for its manual (not created); empty: no manual installed.
    QString manualFolder() const { return manualFolder_; }
    void setManualFolder(const QString& folder) { manualFolder_ = folder; }
    // Whether the system has a program that opens addresses (it has by default).
    void setUrlsOpen(bool open) { urlsOpen_ = open; }
    // Waits until the work running off the window's thread (a search, a change of the
    // history) has ended and its outcome is shown, with any job that outcome starts; true at
    // once when none runs, false when it never ends.
    bool finishWork();
    // Waits until every spreadsheet being written off the window's thread is written and
    // its outcome shown; false when one never ends.
    bool finishWrites();
    // Waits until no work of the window runs off its thread (the 走势图 window's reads too).
    bool finishAllWork();
    // Clicks the button of that objectName, then finishWork().
    bool clickAndWait(const QString& button);
    // A fresh reading of the settings file, as the next start would see it.
    QString storedText(const QString& key) const;

    // The widget, menu or action of that objectName; a missing one ends the test with an
    // exception naming it (QtTest reports it and stops), never a null pointer.
    template <class T>
    T* find(const QString& name) const {
        T* found = window_ ? window_->findChild<T*>(name) : nullptr;
        if (!found)
            throw std::runtime_error(std::string("no ") + T::staticMetaObject.className() + " named \"" +
                                     name.toStdString() + "\" in the window");
        return found;
    }

private:
    // Waits while the window's runner has a job of `lane`, or any job without one.
    bool finishLane(std::optional<WorkLane> lane);
    TempDir dir_;
    FixedClock clock_;
    ScriptedDialogs dialogs_;
    std::vector<QUrl> opened_;
    QString manualFolder_;
    bool urlsOpen_ = true;
    std::unique_ptr<QSettings> store_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<WindowControllers> controllers_;
    std::unique_ptr<MainWindow> window_;
};

// Typing as a user does: each key goes to whichever widget has the focus at that moment.
void typeIntoFocus(const QString& keys);

// What the search button would hand its worker for the panel as it stands, with the
// switches `ticked` and the range boxes' texts: the inputs, or why it refuses.
PanelSearch panelSearchAsShown(WindowSession& s, SearchButton button, const std::array<bool, kPositions>& ticked);

}  // namespace drawfollow::test

// A control that must be there (FIND) and also enabled (FIND_ENABLED).
#define FIND(Type, var, session, name) auto* var = (session).find<Type>(QStringLiteral(name))

#define FIND_ENABLED(Type, var, session, name) \
    FIND(Type, var, session, name);            \
    QVERIFY2(var->isEnabled(), "\"" name "\" is disabled")
