// The history menu's half of the controller: trimming, clearing, the text import and
// export. Every change is all or nothing in the store; the controller turns its outcome
// into the texts the window shows and refreshes the window after a change.
#include "app/file_paths.h"
#include "app/main_controller.h"

#include "io/history_import.h"
#include "io/history_maintenance.h"
#include "io/safety_copy.h"
#include "store/maintenance_input.h"

#include <functional>

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

}  // namespace

fs::path MainController::dataFolder() const {
    return databaseFile_.parent_path();
}

HistoryChange MainController::refreshAfter(HistoryChange change) {
    if (change.failed())
        return change;
    const QString problem = reloadHistory();
    if (!problem.isEmpty())
        change.warning += (change.warning.isEmpty() ? QString() : QStringLiteral("\n")) + problem;
    return change;
}

HistoryChange MainController::unavailableChange() const {
    return {QStringLiteral("历史数据库不可用，历史号码未作改动。\n%1").arg(storeProblem_), {}, {}, {}};
}

HistoryChange MainController::deleteNewest() {
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
    // Only the newest draw went: the start of the range stays where the user left it.
    emit historyReset();
    afterHistoryChange(history_.empty());
    return change;
}

// The window's trims may empty the history: the user typed the issue or the count, and
// the safety copy can be restored.
HistoryChange MainController::trimHistoryTo(int lastKept) {
    if (!db_)
        return unavailableChange();
    const DerivationSettings settings = derivation();
    return refreshAfter(runMaintenance(
        *db_, [&](HistoryDb& db) { return drawfollow::trimToIssue(db, lastKept, settings, Emptying::Allowed); }));
}

HistoryChange MainController::deleteNewestCount(int count) {
    if (!db_)
        return unavailableChange();
    const DerivationSettings settings = derivation();
    return refreshAfter(runMaintenance(
        *db_, [&](HistoryDb& db) { return drawfollow::deleteNewestDraws(db, count, settings, Emptying::Allowed); }));
}

HistoryChange MainController::clearAllDraws() {
    if (!db_)
        return unavailableChange();
    return refreshAfter(runMaintenance(*db_, [](HistoryDb& db) { return drawfollow::clearHistory(db); }));
}

HistoryChange MainController::importHistoryText(const fs::path& file, const BatchProgress& progress) {
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

ImportDerivation MainController::replacementDerivation() const {
    // Derived as start-up will derive them for the history the file leaves.
    return [this](std::optional<int> next) { return settingsInForce(next ? *next : clock_.currentYear() * 1000 + 1); };
}

HistoryChange MainController::restoreSafetyCopy(const SafetyCopyListing& copy, const BatchProgress& progress) {
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

HistoryChange MainController::exportHistoryText() {
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

void MainController::setYearsToKeep(int years) {
    if (years >= kMinYearsToKeep && years <= kMaxYearsToKeep)
        settings_.setYearsToKeep(years);
}

}  // namespace drawfollow
