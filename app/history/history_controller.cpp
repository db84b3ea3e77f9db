#include "app/history/history_controller.h"

#include "app/history/entry_check.h"
#include "app/shell/file_paths.h"
#include "app/shell/timing_log.h"
#include "io/history_maintenance.h"
#include "io/history_rederive.h"
#include "io/safety_copy.h"
#include "io/update_plan.h"
#include "net/online_update.h"
#include "store/derivation_record.h"
#include "store/maintenance_input.h"

#include <QElapsedTimer>

#include <functional>

Q_LOGGING_CATEGORY(lcTiming, "drawfollow.timing", QtWarningMsg)

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

// The store's own errors say in full what happened; anything else is a fault below it,
// after which the transaction has rolled back.
QString problemOf(const std::exception& e) {
    const QString reason = QString::fromStdString(failureText(e));
    if (dynamic_cast<const StoreError*>(&e))
        return reason;
    return QStringLiteral("操作未能完成，历史号码未作改动：%1").arg(reason);
}

HistoryChange runMaintenance(HistoryDb& db, const std::function<MaintenanceResult(HistoryDb&)>& command) {
    HistoryChange change;
    try {
        const MaintenanceResult r = command(db);
        change.summary =
            QStringLiteral("已删除 %1 期，保留 %2 期。").arg(r.removed).arg(r.kept) + safetyCopyNote(r.safetyCopy);
        if (!r.compactionProblem.empty())
            change.warning = QStringLiteral("历史号码已删除，但数据库文件未能压缩：%1")
                                 .arg(QString::fromStdString(r.compactionProblem));
    } catch (const std::exception& e) {
        change.problem = problemOf(e);
    }
    return change;
}

QString described(const DerivationSettings& settings) {
    return QString::fromStdString(describeDerivation(settings));
}

}  // namespace

HistoryController::HistoryController(AppSettings& settings, const Clock& clock, QObject* parent)
    : QObject(parent), settings_(settings), clock_(clock) {}

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
    const fs::path file = folder.folder / HistoryDb::kFileName;
    databaseFile_ = file;
    try {
        auto db = std::make_unique<HistoryDb>(file);
        history_ = db->drawValues();
        db_ = std::move(db);
    } catch (const StoreError& e) {
        storeProblem_ = QString::fromStdString(e.what());
    } catch (const std::exception& e) {
        storeProblem_ = QStringLiteral("无法读取历史数据库文件“%1”：%2")
                            .arg(QString::fromStdString(file.string()), QString::fromStdString(failureText(e)));
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

QString HistoryController::reloadHistory() {
    if (!db_)
        return QStringLiteral("历史数据库不可用。\n%1").arg(storeProblem_);
    QString problem;
    try {
        history_ = db_->drawValues();
    } catch (const std::exception& e) {
        problem = QStringLiteral("未能重新读取历史号码：%1").arg(QString::fromStdString(failureText(e)));
    }
    afterHistoryChange(HistoryReset::Replaced);
    return problem;
}

void HistoryController::afterHistoryChange(std::optional<HistoryReset> reset) {
    updateNextIssue();
    // A next issue in another zodiac year brings another code table.
    const HistoryChange followed = followSettingsInForce();
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

// The update is built over this controller's own database, so that what it stores is what
// the window shows after reloadHistory().
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

HistoryChange HistoryController::refreshAfter(HistoryChange change) {
    if (change.failed())
        return change;
    const QString problem = reloadHistory();
    if (!problem.isEmpty())
        change.warning += (change.warning.isEmpty() ? QString() : QStringLiteral("\n")) + problem;
    return change;
}

HistoryChange HistoryController::unavailableChange() const {
    return {QStringLiteral("历史数据库不可用，历史号码未作改动。\n%1").arg(storeProblem_), {}, {}, {}};
}

HistoryChange HistoryController::deleteNewest() {
    if (!db_)
        return unavailableChange();
    HistoryChange change = runMaintenance(*db_, [](HistoryDb& db) { return deleteNewestDraw(db); });
    if (change.failed())
        return change;
    try {
        history_ = db_->drawValues();
    } catch (const std::exception& e) {
        change.warning = QStringLiteral("未能重新读取历史号码：%1").arg(QString::fromStdString(failureText(e)));
    }
    afterHistoryChange(HistoryReset::NewestDeleted);
    return change;
}

// The window's trims may empty the history: the user typed the issue or the count, and
// the safety copy can be restored.
HistoryChange HistoryController::trimHistoryTo(int lastKept) {
    if (!db_)
        return unavailableChange();
    const DerivationSettings settings = derivation();
    return refreshAfter(runMaintenance(
        *db_, [&](HistoryDb& db) { return drawfollow::trimToIssue(db, lastKept, settings, Emptying::Allowed); }));
}

HistoryChange HistoryController::deleteNewestCount(int count) {
    if (!db_)
        return unavailableChange();
    const DerivationSettings settings = derivation();
    return refreshAfter(runMaintenance(
        *db_, [&](HistoryDb& db) { return drawfollow::deleteNewestDraws(db, count, settings, Emptying::Allowed); }));
}

HistoryChange HistoryController::clearAllDraws() {
    if (!db_)
        return unavailableChange();
    return refreshAfter(runMaintenance(*db_, [](HistoryDb& db) { return drawfollow::clearHistory(db); }));
}

HistoryChange HistoryController::importHistoryText(const fs::path& file, const BatchProgress& progress) {
    if (!db_)
        return unavailableChange();
    HistoryChange change;
    try {
        const ImportSummary s = importHistoryFile(*db_, file, replacementDerivation(), progress);
        change.summary = QStringLiteral("已从“%1”读入 %2 期历史号码").arg(pathText(file), QString::number(s.draws));
        if (s.skippedLines > 0)
            change.summary += QStringLiteral("（略过 %1 行没有期号的文字）").arg(s.skippedLines);
        change.summary += QStringLiteral("。") + safetyCopyNote(s.safetyCopy);
    } catch (const std::exception& e) {
        change.problem = problemOf(e);
    }
    return refreshAfter(change);
}

ImportDerivation HistoryController::replacementDerivation() const {
    // Derived as start-up will derive them for the history the file leaves.
    return [this](std::optional<int> next) { return settingsInForce(next ? *next : clock_.currentYear() * 1000 + 1); };
}

HistoryChange HistoryController::restoreSafetyCopy(const SafetyCopyListing& copy, const BatchProgress& progress) {
    if (!db_)
        return unavailableChange();
    HistoryChange change;
    try {
        const ImportSummary s = drawfollow::restoreSafetyCopy(*db_, copy.copy.file, replacementDerivation(), progress);
        change.summary = QStringLiteral("已恢复 %1 的备份（%2，%3 期历史号码）。")
                             .arg(QString::fromStdString(madeText(copy.copy)),
                                  QString::fromStdString(causeText(copy.copy.cause)), QString::number(s.draws)) +
                         safetyCopyNote(s.safetyCopy);
    } catch (const std::exception& e) {
        change.problem = problemOf(e);
    }
    return refreshAfter(change);
}

HistoryChange HistoryController::exportHistoryText() {
    if (!db_)
        return unavailableChange();
    HistoryChange change;
    try {
        const fs::path file = defaultExportPath(*db_, dataFolder());
        exportHistoryFile(*db_, file);
        change.file = pathText(file);
        change.summary =
            QStringLiteral("已将 %1 期历史号码导出到“%2”。").arg(QString::number(history_.size()), change.file);
    } catch (const std::exception& e) {
        change.problem = QStringLiteral("历史号码未能导出：%1").arg(QString::fromUtf8(e.what()));
    }
    return change;
}

void HistoryController::setYearsToKeep(int years) {
    if (years >= kMinYearsToKeep && years <= kMaxYearsToKeep)
        settings_.setYearsToKeep(years);
}

// The stored rows are kept derived under the settings in force: the zodiac and segment
// menus, and the code table of the next issue's zodiac year. A code compared or named under
// another table than the one it was stored with is wrong, so the rows follow every change
// at once, all of them in one transaction.
DerivationSettings HistoryController::settingsInForce(int nextIssue) const {
    return settingsForNextIssue(settings_.zodiacOffset(), settings_.segmentOffset(), settings_.sequentialZodiac(),
                                nextIssue);
}

HistoryChange HistoryController::followSettingsInForce() {
    zodiacYear_ = startupCodeTableYear(nextIssue_);
    const DerivationSettings wanted = settingsInForce(nextIssue_);
    if (!db_) {
        derivation_ = wanted;
        return {};
    }
    HistoryChange change;
    std::optional<DerivationSettings> recorded;
    try {
        recorded = db_->recordedDerivation();
        if (recorded && derivesSameRows(*recorded, wanted)) {
            derivation_ = *recorded;
            return {};
        }
        // Until the rows follow, they are named by what they were derived with.
        derivation_ = recorded.value_or(wanted);
        const RederiveSummary done = rederiveHistory(*db_, wanted);
        derivation_ = wanted;
        if (done.draws == 0)
            return {};
        history_ = db_->drawValues();
        const QString why =
            recorded ? QStringLiteral("号码属性的参数由“%1”变为“%2”").arg(described(*recorded), described(wanted))
                     : QStringLiteral("历史数据库没有记录号码属性所用的参数，现按“%1”").arg(described(wanted));
        change.summary = QStringLiteral("%1：已重算全部 %2 期历史号码的生肖和段数。").arg(why).arg(done.draws) +
                         safetyCopyNote(done.safetyCopy);
    } catch (const std::exception& e) {
        change.problem =
            QStringLiteral("未能按“%1”重算历史号码的生肖和段数，历史号码未作改动%2。\n%3")
                .arg(described(wanted),
                     recorded ? QStringLiteral("，仍按“%1”计算和显示").arg(described(*recorded)) : QString(),
                     QString::fromUtf8(e.what()));
    }
    return change;
}

HistoryChange HistoryController::applySettingChange(AppSettings::Key key, int previous) {
    HistoryChange change = followSettingsInForce();
    if (change.failed()) {
        settings_.setValue(key, previous);
        change.problem += QStringLiteral("\n设置已恢复为原来的选择。");
    }
    emit derivationSettingsApplied();
    return change;
}

HistoryChange HistoryController::setZodiacOffset(int offset) {
    if (offset != 0 && offset != 1)
        return {};
    const int previous = settings_.zodiacOffset();
    settings_.setZodiacOffset(offset);
    return applySettingChange(AppSettings::Key::ZodiacOffset, previous);
}

HistoryChange HistoryController::setSegmentOffset(int offset) {
    if (offset != 0 && offset != 1)
        return {};
    const int previous = settings_.segmentOffset();
    settings_.setSegmentOffset(offset);
    return applySettingChange(AppSettings::Key::SegmentOffset, previous);
}

HistoryChange HistoryController::setSequentialZodiac(bool on) {
    const int previous = settings_.sequentialZodiac();
    settings_.setSequentialZodiac(on);
    return applySettingChange(AppSettings::Key::SequentialZodiac, previous);
}

}  // namespace drawfollow
