#include "app/history/history_jobs.h"

#include "app/history/history_controller.h"
#include "app/history/history_work.h"
#include "app/shell/file_paths.h"
#include "app/shell/work_runner.h"
#include "io/history_opening.h"
#include "io/safety_copy.h"
#include "store/cancel_guard.h"

namespace drawfollow {

namespace fs = std::filesystem;

struct HistoryJobs::Outcome {
    HistoryChange change;
    // The rows derived again for the next issue the change left.
    HistoryChange followed;
    // Stopped by 取消: nothing was changed.
    bool cancelled = false;
    // The history the change left, read on the worker so that the window's thread need not
    // read it; none when it could not be read there.
    std::optional<std::vector<StoredDraw>> history;
};

namespace {

HistoryChange cancelledChange(const QString& title) {
    return {{}, {}, QStringLiteral("%1已取消，历史号码未作改动。").arg(title), {}};
}

HistoryChange refusedChange() {
    return {QStringLiteral("另一项操作正在进行，历史号码未作改动。请等它结束后再试。"), {}, {}, {}};
}

struct CopyList {
    std::vector<SafetyCopyListing> copies;
    QString problem;
};

void setChoice(DerivationChoice& choice, AppSettings::Key key, int value) {
    switch (key) {
        case AppSettings::Key::ZodiacOffset:
            choice.zodiacOffset = value;
            break;
        case AppSettings::Key::SegmentOffset:
            choice.segmentOffset = value;
            break;
        case AppSettings::Key::SequentialZodiac:
            choice.sequentialZodiac = value != 0;
            break;
        default:
            break;
    }
}

}  // namespace

HistoryJobs::Outcome HistoryJobs::workInFile(const fs::path& file, const Work& work,
                                             const std::optional<DerivationChoice>& follow, bool readHistory,
                                             JobControl& control, const std::optional<fs::path>& restoring) {
    Outcome outcome;
    const BatchProgress progress = [&control](size_t done, size_t total) { return control.advance(done, total); };
    try {
        RestoreTarget opened = restoring ? openForRestore(file, *restoring)
                                         : RestoreTarget{std::make_unique<HistoryDb>(file), std::nullopt};
        HistoryDb& db = *opened.db;
        const CancelGuard guard(db, control.cancelFlag());
        outcome.change = work(db, progress);
        if (opened.setAside)
            outcome.change.summary +=
                QStringLiteral("损坏的历史数据库文件已改名为“%1”。").arg(pathText(*opened.setAside));
        if (follow && !outcome.change.failed()) {
            try {
                outcome.followed = followDerivation(db, follow->forHistory(db), progress).change;
            } catch (const std::exception&) {
                // The window follows again after its reload, and says why it cannot.
            }
        }
        if (readHistory && !outcome.change.failed()) {
            try {
                outcome.history = db.drawValues();
            } catch (const std::exception&) {
                // The window's thread reads it and says why it cannot.
            }
        }
    } catch (const std::exception& e) {
        outcome.change.problem = problemOf(e);
    }
    // A change that was done before the cancel reached it stands, and is reported.
    outcome.cancelled = outcome.change.failed() && control.cancelled();
    return outcome;
}

HistoryJobs::HistoryJobs(HistoryController& controller, WorkRunner& runner, QObject* parent)
    : QObject(parent), controller_(controller), runner_(runner) {
    controller_.setDerivationRunner([this](const DerivationSettings& wanted) { followRows(wanted); });
}

HistoryJobs::~HistoryJobs() {
    controller_.setDerivationRunner({});
}

void HistoryJobs::followRows(const DerivationSettings& wanted) {
    run(
        QStringLiteral("重算生肖和段数"),
        [wanted](HistoryDb& db, const BatchProgress& progress) {
            FollowedDerivation followed = followDerivation(db, wanted, progress);
            return std::move(followed.change);
        },
        std::nullopt,
        [this](Outcome outcome) {
            controller_.rowsFollowed(std::move(outcome.history), outcome.change);
            return HistoryChange{};  // rowsFollowed() has reported it
        },
        [this](const HistoryChange& change) {
            // Derived: reported above; failed or cancelled: said here.
            if (change.failed() || !change.summary.isEmpty())
                controller_.rowsNotFollowed(change);
        });
}

void HistoryJobs::deleteNewest(const QString& title, const Done& done) {
    changeHistory(
        title, [](HistoryDb& db, const BatchProgress&) { return deleteNewestChange(db); }, HistoryReset::NewestDeleted,
        done);
}

void HistoryJobs::trimTo(int lastKept, const QString& title, const Done& done) {
    const DerivationSettings settings = controller_.derivation();
    changeHistory(
        title, [lastKept, settings](HistoryDb& db, const BatchProgress&) { return trimChange(db, lastKept, settings); },
        HistoryReset::Replaced, done);
}

void HistoryJobs::deleteNewestCount(int count, const QString& title, const Done& done) {
    const DerivationSettings settings = controller_.derivation();
    changeHistory(
        title,
        [count, settings](HistoryDb& db, const BatchProgress&) { return deleteNewestCountChange(db, count, settings); },
        HistoryReset::Replaced, done);
}

void HistoryJobs::clear(const QString& title, const Done& done) {
    changeHistory(
        title, [](HistoryDb& db, const BatchProgress&) { return clearChange(db); }, HistoryReset::Replaced, done);
}

void HistoryJobs::importText(const fs::path& file, const QString& title, const Done& done) {
    const DerivationChoice choice = controller_.derivationChoice();
    changeHistory(
        title,
        [file, choice](HistoryDb& db, const BatchProgress& progress) {
            return importChange(db, file, choice, progress);
        },
        HistoryReset::Replaced, done);
}

void HistoryJobs::restore(const SafetyCopyListing& copy, const QString& title, const Done& done) {
    const DerivationChoice choice = controller_.derivationChoice();
    changeHistory(
        title,
        [copy, choice](HistoryDb& db, const BatchProgress& progress) {
            return restoreChange(db, copy, choice, progress);
        },
        HistoryReset::Replaced, done, copy.copy.file);
}

void HistoryJobs::listSafetyCopies(const QString& title, Listed listed, const Done& done) {
    const fs::path folder = controller_.dataFolder();
    const bool started = runner_.start<CopyList>(
        this, {WorkLane::History, title + QStringLiteral("…")},
        [folder](JobControl&) {
            CopyList list;
            try {
                list.copies = drawfollow::listSafetyCopies(folder);
            } catch (const std::exception& e) {
                list.problem = problemOf(e);
            }
            return list;
        },
        // 取消 pressed while the list was on its way back still means no choice is offered.
        [title, listed = std::move(listed), done](CopyList list, bool cancelled) {
            if (cancelled)
                done(cancelledChange(title));
            else if (!list.problem.isEmpty())
                done({list.problem, {}, {}, {}});
            else
                listed(std::move(list.copies));
        });
    if (!started)
        done(refusedChange());
}

void HistoryJobs::changeHistory(const QString& title, Work work, HistoryReset reset, const Done& done,
                                const std::optional<fs::path>& restoring) {
    run(
        title, std::move(work), controller_.derivationChoice(),
        [this, reset](Outcome outcome) {
            HistoryChange change = std::move(outcome.change);
            const QString problem = controller_.installHistory(std::move(outcome.history), reset);
            if (!problem.isEmpty())
                change.warning += (change.warning.isEmpty() ? QString() : QStringLiteral("\n")) + problem;
            change.summary += outcome.followed.summary;
            return change;
        },
        done, true, restoring);
}

void HistoryJobs::exportText(const QString& title, const Done& done) {
    const fs::path folder = controller_.dataFolder();
    run(
        title, [folder](HistoryDb& db, const BatchProgress&) { return exportTextChange(db, folder); }, std::nullopt,
        [](Outcome outcome) { return std::move(outcome.change); }, done, false);
}

void HistoryJobs::changeSetting(AppSettings::Key key, int value, Done done) {
    DerivationChoice choice = controller_.derivationChoice();
    setChoice(choice, key, value);
    const DerivationSettings wanted = choice.forNextIssue(controller_.nextIssue());
    run(
        QStringLiteral("重算生肖和段数"),
        [wanted](HistoryDb& db, const BatchProgress& progress) {
            return followDerivation(db, wanted, progress).change;
        },
        std::nullopt,
        [this, key, value](Outcome outcome) {
            const QString problem = controller_.settingFollowed(key, value, std::move(outcome.history));
            HistoryChange change = std::move(outcome.change);
            if (!problem.isEmpty())
                change.warning = problem;
            return change;
        },
        [done = std::move(done)](const HistoryChange& change) {
            if (!change.failed()) {
                done(change);
                return;
            }
            HistoryChange keptBack = change;
            keptBack.problem += QStringLiteral("\n设置已恢复为原来的选择。");
            done(keptBack);
        });
}

void HistoryJobs::run(const QString& title, Work work, std::optional<DerivationChoice> follow,
                      std::function<HistoryChange(Outcome)> finish, const Done& done, bool readHistory,
                      const std::optional<fs::path>& restoring) {
    if (!(restoring ? controller_.restoreAvailable() : controller_.historyAvailable())) {
        done(controller_.unavailableChange());
        return;
    }
    const fs::path file = controller_.databaseFile();
    const bool started = runner_.start<Outcome>(
        this, {WorkLane::History, title + QStringLiteral("…")},
        [file, work = std::move(work), follow, readHistory, restoring](JobControl& control) {
            return workInFile(file, work, follow, readHistory, control, restoring);
        },
        [title, finish = std::move(finish), done](Outcome outcome) {
            if (outcome.cancelled)
                done(cancelledChange(title));
            else if (outcome.change.failed())
                done(outcome.change);
            else
                done(finish(std::move(outcome)));
        });
    if (!started)
        done(refusedChange());
}

}  // namespace drawfollow
