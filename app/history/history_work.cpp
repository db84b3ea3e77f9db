#include "app/history/history_work.h"

#include "app/shell/file_paths.h"
#include "io/history_import.h"
#include "io/history_maintenance.h"
#include "io/history_rederive.h"
#include "io/safety_copy.h"
#include "store/clock.h"
#include "store/derivation_record.h"

#include <functional>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

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

DerivationSettings DerivationChoice::forNextIssue(int nextIssue) const {
    return settingsForNextIssue(zodiacOffset, segmentOffset, sequentialZodiac, nextIssue);
}

DerivationSettings DerivationChoice::forHistory(HistoryDb& db) const {
    return forNextIssue(nextIssue(db, FixedClock(currentYear)));
}

ImportDerivation DerivationChoice::forReplacement() const {
    return [choice = *this](std::optional<int> next) {
        return choice.forNextIssue(next ? *next : choice.currentYear * 1000 + 1);
    };
}

// The store's own errors say in full what happened; anything else is a fault below it,
// after which the transaction has rolled back.
QString problemOf(const std::exception& e) {
    const QString reason = QString::fromStdString(failureText(e));
    if (dynamic_cast<const StoreError*>(&e))
        return reason;
    return QStringLiteral("操作未能完成，历史号码未作改动：%1").arg(reason);
}

HistoryChange deleteNewestChange(HistoryDb& db) {
    return runMaintenance(db, [](HistoryDb& d) { return deleteNewestDraw(d); });
}

// The window's trims may empty the history: the user typed the issue or the count, and
// the safety copy can be restored.
HistoryChange trimChange(HistoryDb& db, int lastKept, const DerivationSettings& settings) {
    return runMaintenance(
        db, [&](HistoryDb& d) { return drawfollow::trimToIssue(d, lastKept, settings, Emptying::Allowed); });
}

HistoryChange deleteNewestCountChange(HistoryDb& db, int count, const DerivationSettings& settings) {
    return runMaintenance(
        db, [&](HistoryDb& d) { return drawfollow::deleteNewestDraws(d, count, settings, Emptying::Allowed); });
}

HistoryChange clearChange(HistoryDb& db) {
    return runMaintenance(db, [](HistoryDb& d) { return drawfollow::clearHistory(d); });
}

HistoryChange importChange(HistoryDb& db, const fs::path& file, const DerivationChoice& choice,
                           const BatchProgress& progress) {
    HistoryChange change;
    try {
        const ImportSummary s = importHistoryFile(db, file, choice.forReplacement(), progress);
        change.summary = QStringLiteral("已从“%1”读入 %2 期历史号码").arg(pathText(file), QString::number(s.draws));
        if (s.skippedLines > 0)
            change.summary += QStringLiteral("（略过 %1 行没有期号的文字）").arg(s.skippedLines);
        change.summary += QStringLiteral("。") + safetyCopyNote(s.safetyCopy);
    } catch (const std::exception& e) {
        change.problem = problemOf(e);
    }
    return change;
}

HistoryChange restoreChange(HistoryDb& db, const SafetyCopyListing& copy, const DerivationChoice& choice,
                            const BatchProgress& progress) {
    HistoryChange change;
    try {
        const ImportSummary s = drawfollow::restoreSafetyCopy(db, copy.copy.file, choice.forReplacement(), progress);
        change.summary = QStringLiteral("已恢复 %1 的备份（%2，%3 期历史号码）。")
                             .arg(QString::fromStdString(madeText(copy.copy)),
                                  QString::fromStdString(causeText(copy.copy.cause)), QString::number(s.draws)) +
                         safetyCopyNote(s.safetyCopy);
    } catch (const std::exception& e) {
        change.problem = problemOf(e);
    }
    return change;
}

// A code compared or named under another table than the one it was stored with is wrong,
// so the rows follow every change of the settings in force at once, all in one transaction.
HistoryChange exportTextChange(HistoryDb& db, const fs::path& dataFolder) {
    HistoryChange change;
    try {
        const fs::path file = defaultExportPath(db, dataFolder);
        exportHistoryFile(db, file);
        const int draws = db.drawCount();
        change.file = pathText(file);
        change.summary = QStringLiteral("已将 %1 期历史号码导出到“%2”。").arg(QString::number(draws), change.file);
    } catch (const std::exception& e) {
        change.problem = QStringLiteral("历史号码未能导出：%1").arg(QString::fromStdString(failureText(e)));
    }
    return change;
}

FollowedDerivation followDerivation(HistoryDb& db, const DerivationSettings& wanted, const BatchProgress& progress) {
    FollowedDerivation followed;
    std::optional<DerivationSettings> recorded;
    try {
        recorded = db.recordedDerivation();
        if (recorded && derivesSameRows(*recorded, wanted)) {
            followed.rows = recorded;
            return followed;
        }
        // Until the rows follow, they are named by what they were derived with.
        followed.rows = recorded.value_or(wanted);
        const RederiveSummary done = rederiveHistory(db, wanted, progress);
        followed.rows = wanted;
        if (done.draws == 0)
            return followed;
        followed.rederived = true;
        const QString why =
            recorded ? QStringLiteral("号码属性的参数由“%1”变为“%2”").arg(described(*recorded), described(wanted))
                     : QStringLiteral("历史数据库没有记录号码属性所用的参数，现按“%1”").arg(described(wanted));
        followed.change.summary =
            QStringLiteral("%1：已重算全部 %2 期历史号码的生肖和段数。").arg(why).arg(done.draws) +
            safetyCopyNote(done.safetyCopy);
    } catch (const std::exception& e) {
        followed.change.problem =
            QStringLiteral("未能按“%1”重算历史号码的生肖和段数，历史号码未作改动%2。\n%3")
                .arg(described(wanted),
                     recorded ? QStringLiteral("，仍按“%1”计算和显示").arg(described(*recorded)) : QString(),
                     QString::fromStdString(failureText(e)));
    }
    return followed;
}

}  // namespace drawfollow
