// The history side of the window, without any widget: the database, the ordered snapshot
// of the stored draws, the settings the rows are derived with, the hand entry and every
// command that changes the stored rows. The widgets and the search panel follow its signals.
#pragma once

#include "analysis/history_snapshot.h"
#include "app/history/history_change.h"
#include "app/history/history_work.h"
#include "app/shell/app_settings.h"
#include "app/shell/ui_text.h"
#include "store/clock.h"
#include "store/history_db.h"

#include <QObject>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace drawfollow {

class OnlineUpdate;

// The data folder start-up found, or why there is none.
struct DataFolderChoice {
    std::filesystem::path folder;
    QString problem;
};

struct EntryOutcome {
    bool stored = false;
    int box = -1;  // what to correct: 1..8 a number box, 0 the issue box, -1 nothing in particular
    QString problem;
};

// What a reset of the snapshot left as it was: after deleting the newest draw only that draw went,
// so whatever the user set up on the older draws stays; anything else may differ throughout.
enum class HistoryReset { NewestDeleted, Replaced };

class HistoryController : public QObject {
    Q_OBJECT

public:
    HistoryController(AppSettings& settings, const Clock& clock, QObject* parent = nullptr);
    ~HistoryController() override;

    // Start-up: the database, the next issue and the rows derived under the settings in
    // force; ends with historyReset(), so that whatever follows the history reads it.
    void start(const DataFolderChoice& folder);

    bool historyAvailable() const { return db_ != nullptr; }
    // A safety copy can be restored wherever there is a data folder, over a damaged file too.
    bool restoreAvailable() const { return !databaseFile_.empty(); }
    const QString& storeProblem() const { return storeProblem_; }
    // The database file start-up opened or tried to open; empty without a data folder.
    const std::filesystem::path& databaseFile() const { return databaseFile_; }
    std::filesystem::path dataFolder() const;  // empty without one
    // The window's own connection, none without a database: for the reads made on the window's
    // thread (the trend window and its shape tab, a tally's chance baseline, a backtest's one
    // read, the track record). Work off that thread, searches included, opens its own.
    HistoryDb* database() { return db_.get(); }
    const std::vector<StoredDraw>& history() const { return history_; }
    // The history as the searches and their workers answer from it, read-only and shared;
    // made once per change of the history from the draws held here. None without a
    // database; throws StoreError (in words for the user) when it cannot be read.
    std::shared_ptr<const HistorySnapshot> snapshot();
    int nextIssue() const { return nextIssue_; }

    // Hand entry: stores the draw under the issue text, or says what is wrong.
    EntryOutcome storeDraw(const QString& issueText, const std::array<QString, kPositions>& boxes);
    // Reads the history afresh after a change made past the controller (a worker, an online
    // update) and refreshes all that shows it; an error text, empty on success. A file that
    // could not be opened is tried again: a restore may have put a sound one in its place.
    QString reloadHistory(HistoryReset reset = HistoryReset::Replaced);
    // The same with the history a worker has read already, so that the window's thread does
    // not read it again; without one it is read here.
    QString installHistory(std::optional<std::vector<StoredDraw>> history, HistoryReset reset);
    // Who derives the rows again when a stored draw moves the next issue into another
    // zodiac year: a worker (history_jobs.h) that calls rowsFollowed() at its end. Without
    // one the rows are derived here, on the caller's thread.
    void setDerivationRunner(std::function<void(const DerivationSettings& wanted)> runner);
    // The runner has derived the rows again and read the history it left, if it could.
    void rowsFollowed(std::optional<std::vector<StoredDraw>> history, const HistoryChange& change);
    // The runner failed or was cancelled: the rows stay as they were, and the next change
    // of the history tries again.
    void rowsNotFollowed(const HistoryChange& change);
    // Whether the file holds another history than the one read here (its size, its newest
    // draw or the settings its rows were derived with differ): another program changed it.
    // A file that cannot be read counts as changed, so that reading it again says why.
    bool changedElsewhere();
    // An online update of this history from the chart service at `host`, keeping the
    // IniSerchDay years before the clock's year; none without a database. The caller starts
    // it and calls reloadHistory() once it has finished.
    std::unique_ptr<OnlineUpdate> onlineUpdate(const QString& host);
    // What that update drops once it has read every page, in words for the confirmation;
    // empty when it drops nothing.
    QString onlineUpdateDropNotice();
    void setUpdateHost(const QString& host);

    // The menus' choices and the clock's year the rows are derived with. The history menu,
    // the text import and the settings menus change the history on a worker
    // (history_jobs.h) over values read here first; reloadHistory() and settingFollowed()
    // bring the controller up to date once the work has ended.
    DerivationChoice derivationChoice() const;
    // What a command says when there is no database: the history was not changed.
    HistoryChange unavailableChange() const;
    void setYearsToKeep(int years);  // how many years the online update reads

    // Settings as read at start-up and kept up to date.
    const AppSettings& settings() const { return settings_; }
    // The settings the stored rows were derived with: new rows are derived with them and
    // stored codes are named by their code table. They follow the settings in force
    // (the menus, and the zodiac year of the next issue) as soon as the rows have been
    // derived again.
    const DerivationSettings& derivation() const { return derivation_; }
    // The zodiac year of the next issue, which the code table in force is built for.
    int zodiacYear() const { return zodiacYear_; }
    // What start-up did to bring the stored rows to the settings in force, or why it could
    // not; empty when nothing needed doing.
    const HistoryChange& startupDerivation() const { return startupDerivation_; }

    // A settings menu's choice, once a worker has derived every stored row under it: the
    // setting takes `value`, the stored values are read afresh. An error text, empty on success.
    QString settingFollowed(AppSettings::Key key, int value, std::optional<std::vector<StoredDraw>> history = {});
    // The window's size and splitter, for the next start.
    void saveWindowLayout(AppSettings::LayoutKey key, const QByteArray& state) { settings_.setLayoutState(key, state); }

signals:
    // Both come once the snapshot, the next issue and the derivation are all current.
    void historyReset(HistoryReset reset);
    void drawAppended();
    void nextIssueChanged(int issue);
    // The stored rows were derived again after a change of the history, or could not be:
    // what to tell the user.
    void derivationChanged(const HistoryChange& change);
    // The rows follow a settings menu's change: the stored values and the names of the
    // codes are to be read again.
    void derivationSettingsApplied();

private:
    void openDatabase(const DataFolderChoice& folder);
    void openDatabaseFile();
    // Brings the next issue and the derivation up to date, then tells the followers: of a
    // reset, or without one of a draw appended.
    void afterHistoryChange(std::optional<HistoryReset> reset);
    void updateNextIssue();
    // The settings in force for the history as it stands: the menus' settings, the code
    // table for the zodiac year of the next issue.
    DerivationSettings settingsInForce(int nextIssue) const;
    // Derives the stored rows again when the settings in force differ from theirs (on the
    // runner, when there is one and `here` is false).
    HistoryChange followSettingsInForce(bool here = true);
    // Whether the stored rows were derived with other settings than `wanted`.
    bool rowsDifferFrom(const DerivationSettings& wanted);
    std::function<void(const DerivationSettings&)> derivationRunner_;
    bool followingRows_ = false;  // taking the history a runner has derived

    AppSettings& settings_;
    const Clock& clock_;
    std::unique_ptr<HistoryDb> db_;
    QString storeProblem_;
    std::filesystem::path databaseFile_;
    std::vector<StoredDraw> history_;
    std::shared_ptr<const HistorySnapshot> snapshot_;  // of history_; dropped with every change
    int nextIssue_ = 0;
    int zodiacYear_ = 0;
    DerivationSettings derivation_;
    HistoryChange startupDerivation_;
};

}  // namespace drawfollow
