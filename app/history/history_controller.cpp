#include "app/history/history_controller.h"

#include "app/history/entry_check.h"
#include "app/shell/file_paths.h"
#include "app/shell/timing_log.h"
#include "io/history_import.h"
#include "io/history_opening.h"
#include "io/leftover_parts.h"
#include "io/update_plan.h"
#include "net/online_update.h"
#include "store/derivation_record.h"
#include "store/maintenance_input.h"

#include <QElapsedTimer>

Q_LOGGING_CATEGORY(lcTiming, "drawfollow.timing", QtWarningMsg)

namespace drawfollow {

namespace fs = std::filesystem;

HistoryController::HistoryController(AppSettings& settings, const Clock& clock, QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock) {
    // Connected before anything that follows the history, so that what it does reads the new one.
    const auto dropSnapshot = [this] { snapshot_.reset(); };
    connect(this, &HistoryController::historyReset, this, dropSnapshot);
    connect(this, &HistoryController::drawAppended, this, dropSnapshot);
    connect(this, &HistoryController::derivationChanged, this, dropSnapshot);
    connect(this, &HistoryController::derivationSettingsApplied, this, dropSnapshot);
}

std::shared_ptr<const HistorySnapshot> HistoryController::snapshot() {
    if (!db_)
        return nullptr;
    if (!snapshot_) {
        try {
            snapshot_ = std::make_shared<const HistorySnapshot>(HistorySnapshot::withDraws(*db_, history_));
        } catch (const StoreError&) {
            throw;
        } catch (const std::exception& e) {
            throw StoreError("历史数据库读取失败：" + failureText(e));
        }
    }
    return snapshot_;
}

HistoryController::~HistoryController() = default;

void HistoryController::start(const DataFolderChoice& folder) {
    openDatabase(folder);
    updateNextIssue();
    startupDerivation_ = followSettingsInForce();
    emit historyReset(HistoryReset::Replaced);
}

void HistoryController::openDatabase(const DataFolderChoice& folder) {
    if (!folder.problem.isEmpty()) {
        storeProblem_ = folder.problem;
        return;
    }
    databaseFile_ = folder.folder / HistoryDb::kFileName;
    openDatabaseFile();
}

void HistoryController::openDatabaseFile() {
    try {
        auto db = openHistory(databaseFile_);
        history_ = db->drawValues();
        db_ = std::move(db);
        removeLeftoverParts(databaseFile_.parent_path());
        storeProblem_.clear();
    } catch (const StoreError& e) {
        storeProblem_ = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
        storeProblem_ =
            QStringLiteral("无法读取历史数据库文件“%1”：%2")
                .arg(QString::fromStdString(databaseFile_.string()), QString::fromStdString(failureText(e)));
    }
    if (!db_)
        history_.clear();
}

fs::path HistoryController::dataFolder() const {
    return databaseFile_.parent_path();
}

EntryOutcome HistoryController::storeDraw(const QString& issueText, const std::array<QString, kPositions>& boxes) {
    QElapsedTimer timer;
    timer.start();
    if (!db_)
        return {false, -1, QStringLiteral("历史数据库不可用，不能保存号码。\n%1").arg(storeProblem_)};
    const EntryCheck entry =
        checkEntry(issueText, boxes, history_.empty() ? std::nullopt : std::optional<int>(history_.back().issue));
    if (!entry.draw)
        return {false, entry.box, entry.problem};
    try {
        const DrawRow row = db_->append(*entry.draw, derivation());
        history_.push_back(StoredDraw::of(row));
    } catch (const std::exception& e) {
        return {false, -1, QStringLiteral("号码未能保存：%1").arg(QString::fromStdString(failureText(e)))};
    }
    const qint64 stored = timer.nsecsElapsed();
    afterHistoryChange(std::nullopt);
    qCInfo(lcTiming, "hand entry of %d: stored in %.2f ms, with every refresh %.2f ms (%zu draws)", entry.draw->issue,
           stored / 1e6, timer.nsecsElapsed() / 1e6, history_.size());
    return {true, -1, {}};
}

QString HistoryController::installHistory(std::optional<std::vector<StoredDraw>> history, HistoryReset reset) {
    // Without a connection (a damaged file a restore has just replaced) the file is opened again.
    if (!history || !db_)
        return reloadHistory(reset);
    history_ = std::move(*history);
    afterHistoryChange(reset);
    return {};
}

void HistoryController::setDerivationRunner(std::function<void(const DerivationSettings& wanted)> runner) {
    derivationRunner_ = std::move(runner);
}

void HistoryController::rowsNotFollowed(const HistoryChange& change) {
    // The rows stay named by what they were derived with.
    try {
        if (const std::optional<DerivationSettings> recorded = db_ ? db_->recordedDerivation() : std::nullopt)
            derivation_ = *recorded;
    } catch (const std::exception&) {
        // The derivation stays as read before; the change's own text says what failed.
    }
    emit derivationChanged(change);
}

void HistoryController::rowsFollowed(std::optional<std::vector<StoredDraw>> history, const HistoryChange& change) {
    HistoryChange followed = change;
    // The rows follow the settings now: should they still differ, they are not handed to
    // the runner again, so that a runner's work can never start itself over and over.
    followingRows_ = true;
    const QString problem = installHistory(std::move(history), HistoryReset::Replaced);
    followingRows_ = false;
    if (!problem.isEmpty())
        followed.warning = problem;
    emit derivationChanged(followed);
}

QString HistoryController::reloadHistory(HistoryReset reset) {
    if (!db_ && restoreAvailable()) {
        openDatabaseFile();
        if (db_) {
            afterHistoryChange(reset);
            return {};
        }
    }
    if (!db_)
        return QStringLiteral("历史数据库不可用。\n%1").arg(storeProblem_);
    QString problem;
    try {
        history_ = db_->drawValues();
    } catch (const std::exception& e) {
        problem = QStringLiteral("未能重新读取历史号码：%1").arg(QString::fromStdString(failureText(e)));
    }
    afterHistoryChange(reset);
    return problem;
}

bool HistoryController::changedElsewhere() {
    if (!db_)
        return false;
    try {
        const std::optional<DrawRow> newest = db_->newest();
        if (static_cast<size_t>(db_->drawCount()) != history_.size())
            return true;
        if (newest && StoredDraw::of(*newest) != history_.back())
            return true;
        const std::optional<DerivationSettings> recorded = db_->recordedDerivation();
        return recorded && !derivesSameRows(*recorded, derivation_);
    } catch (const std::exception&) {
        return true;
    }
}

void HistoryController::afterHistoryChange(std::optional<HistoryReset> reset) {
    updateNextIssue();
    // A next issue in another zodiac year brings another code table: a runner derives the
    // rows again off this thread.
    const HistoryChange followed = followSettingsInForce(false);
    emit nextIssueChanged(nextIssue_);
    if (reset)
        emit historyReset(*reset);
    else
        emit drawAppended();
    if (followed.failed() || !followed.summary.isEmpty())
        emit derivationChanged(followed);
}

void HistoryController::updateNextIssue() {
    // QihaoXianshi
    nextIssue_ = db_ ? drawfollow::nextIssue(*db_, clock_) : clock_.currentYear() * 1000 + 1;
}

// The update plans over this controller's own database and derives its draws as the rows
// are derived; it is the command that writes them, once the pages are read.
std::unique_ptr<OnlineUpdate> HistoryController::onlineUpdate(const QString& host) {
    if (!db_)
        return nullptr;
    const UpdateRequest request{host.trimmed().toStdString(), settings_.yearsToKeep(), clock_.currentYear()};
    return std::make_unique<OnlineUpdate>(*db_, derivation(), request);
}

QString HistoryController::onlineUpdateDropNotice() {
    if (!db_)
        return {};
    try {
        return QString::fromStdString(dropNotice(planUpdate(*db_, clock_.currentYear(), settings_.yearsToKeep())));
    } catch (const std::exception&) {
        return {};  // the update meets the same fault when it starts, and reports it
    }
}

void HistoryController::setUpdateHost(const QString& host) {
    settings_.setUpdateHost(host);
}

HistoryChange HistoryController::unavailableChange() const {
    return {QStringLiteral("历史数据库不可用，历史号码未作改动。\n%1").arg(storeProblem_), {}, {}, {}};
}

DerivationChoice HistoryController::derivationChoice() const {
    return {settings_.zodiacOffset(), settings_.segmentOffset(), settings_.sequentialZodiac(), clock_.currentYear()};
}

void HistoryController::setYearsToKeep(int years) {
    if (years >= kMinYearsToKeep && years <= kMaxYearsToKeep)
        settings_.setYearsToKeep(years);
}

// The stored rows are kept derived under the settings in force: the zodiac and segment
// menus, and the code table of the next issue's zodiac year.
DerivationSettings HistoryController::settingsInForce(int nextIssue) const {
    return derivationChoice().forNextIssue(nextIssue);
}

bool HistoryController::rowsDifferFrom(const DerivationSettings& wanted) {
    try {
        const std::optional<DerivationSettings> recorded = db_->recordedDerivation();
        return !recorded || !derivesSameRows(*recorded, wanted);
    } catch (const std::exception&) {
        return true;  // deriving here says why the record cannot be read
    }
}

HistoryChange HistoryController::followSettingsInForce(bool here) {
    zodiacYear_ = startupCodeTableYear(nextIssue_);
    const DerivationSettings wanted = settingsInForce(nextIssue_);
    if (!db_) {
        derivation_ = wanted;
        return {};
    }
    if (!here && derivationRunner_ && !followingRows_ && rowsDifferFrom(wanted)) {
        derivationRunner_(wanted);
        return {};
    }
    FollowedDerivation followed = followDerivation(*db_, wanted);
    if (followed.rows)
        derivation_ = *followed.rows;
    if (followed.rederived) {
        try {
            history_ = db_->drawValues();
        } catch (const std::exception& e) {
            followed.change.warning =
                QStringLiteral("未能重新读取历史号码：%1").arg(QString::fromStdString(failureText(e)));
        }
    }
    return followed.change;
}

QString HistoryController::settingFollowed(AppSettings::Key key, int value,
                                           std::optional<std::vector<StoredDraw>> history) {
    settings_.setValue(key, value);
    QString problem;
    try {
        history_ = history ? std::move(*history) : db_->drawValues();
    } catch (const std::exception& e) {
        problem = QStringLiteral("未能重新读取历史号码：%1").arg(QString::fromStdString(failureText(e)));
    }
    // The rows hold what the setting asks for: this only takes their record.
    const HistoryChange followed = followSettingsInForce();
    if (followed.failed())
        problem += (problem.isEmpty() ? QString() : QStringLiteral("\n")) + followed.problem;
    emit derivationSettingsApplied();
    return problem;
}

}  // namespace drawfollow
