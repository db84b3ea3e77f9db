// The changes of the history run off the window's thread: what each needs from the window
// (the settings, the clock's year, the derivation) is read before it starts, the worker
// opens a connection of its own on the same file, and 取消 stops its statements, so that a
// cancelled change rolls back whole. Once the work has ended, the controller reads the
// history afresh on the window's thread and `done` gets what to tell the user.
#pragma once

#include "app/history/history_change.h"
#include "app/shell/app_settings.h"
#include "store/history_db.h"

#include <QObject>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace drawfollow {

class JobControl;
class WorkRunner;
class HistoryController;
struct DerivationChoice;
struct SafetyCopyListing;
enum class HistoryReset;

class HistoryJobs final : public QObject {
    Q_OBJECT

public:
    using Done = std::function<void(const HistoryChange&)>;
    using Listed = std::function<void(std::vector<SafetyCopyListing>)>;

    // Also derives the rows again, on the worker, when a stored draw moves the next issue into
    // another zodiac year (HistoryController::setDerivationRunner).
    HistoryJobs(HistoryController& controller, WorkRunner& runner, QObject* parent = nullptr);
    ~HistoryJobs() override;

    // Each is named by `title` in the busy bar and in the note of a cancelled change.
    void deleteNewest(const QString& title, const Done& done);
    void trimTo(int lastKept, const QString& title, const Done& done);
    void deleteNewestCount(int count, const QString& title, const Done& done);
    void clear(const QString& title, const Done& done);
    void importText(const std::filesystem::path& file, const QString& title, const Done& done);
    void restore(const SafetyCopyListing& copy, const QString& title, const Done& done);
    // The safety copies, newest first, with the counts read from each copy's file: `listed`
    // gets them once read; `done` is told instead when the listing failed, was cancelled or
    // could not start.
    void listSafetyCopies(const QString& title, Listed listed, const Done& done);
    // A zodiac or segment setting: it takes `value` once every row has been
    // derived again under it, and keeps its old value when that fails or is cancelled.
    void changeSetting(AppSettings::Key key, int value, Done done);
    // The history written to its text file in the data folder; nothing changes.
    void exportText(const QString& title, const Done& done);

private:
    void followRows(const DerivationSettings& wanted);

    using Work = std::function<HistoryChange(HistoryDb& db, const BatchProgress& progress)>;
    struct Outcome;

    // On the worker, over a connection of its own: nothing here may touch the window's objects.
    // When `restoring` names a safety copy, a damaged file is first set aside for it.
    static Outcome workInFile(const std::filesystem::path& file, const Work& work,
                              const std::optional<DerivationChoice>& follow, bool readHistory, JobControl& control,
                              const std::optional<std::filesystem::path>& restoring);

    // A change of the history, after which the rows follow the settings in force for the
    // next issue it leaves, and the window reads the history afresh.
    void changeHistory(const QString& title, Work work, HistoryReset reset, const Done& done,
                       const std::optional<std::filesystem::path>& restoring = std::nullopt);
    // The one path of every job: `work` on the worker, `finish` on the window's thread.
    // `readHistory`: the work changes the history, which is read afresh on the worker.
    void run(const QString& title, Work work, std::optional<DerivationChoice> follow,
             std::function<HistoryChange(Outcome)> finish, const Done& done, bool readHistory = true,
             const std::optional<std::filesystem::path>& restoring = std::nullopt);

    HistoryController& controller_;
    WorkRunner& runner_;
};

}  // namespace drawfollow
