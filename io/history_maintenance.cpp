#include "io/history_maintenance.h"

#include "io/history_text.h"
#include "io/safety_copy.h"
#include "store/cancel_guard.h"

#include <algorithm>
#include <functional>
#include <system_error>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

void writeBackup(const fs::path& file, std::span<const DrawInput> kept, const fs::path& dataFolder) {
    try {
        writeHistoryFile(file, kept, dataFolder);
    } catch (const std::system_error& e) {
        throw StoreError("无法写入备份文件 “" + file.string() + "”，历史号码未作改动。" + failureText(e));
    }
}

// How many of the oldest draws a trim keeps, decided on the history read under the lock.
using KeptCount = std::function<size_t(const std::vector<DrawInput>& history)>;

// Every trim ends here. Under the write lock: the history is read and saved, the kept draws
// go through the backup file and the table is rebuilt from it; the compaction follows the
// commit.
MaintenanceResult keepOldest(HistoryDb& db, const KeptCount& keptCount, const DerivationSettings& settings,
                             CopyCause cause, Emptying emptying) {
    MaintenanceResult result;
    {
        WriteTransaction tx(db);
        auto history = db.draws();
        result.kept = keptCount(history);
        result.removed = history.size() - result.kept;
        if (result.kept == 0 && result.removed > 0 && emptying == Emptying::Refused)
            throw EmptyingRefused("这将删除全部 " + std::to_string(result.removed) + " 期历史号码，历史号码未作改动。");
        if (result.removed > 0)
            result.safetyCopy = writeSafetyCopy(dataFolderOf(db), history, cause);
        history.resize(result.kept);
        const fs::path backup = dataFolderOf(db) / kRebuildBackupName;
        writeBackup(backup, history, dataFolderOf(db));
        rebuildFromBackup(db, backup, settings);
        tx.commit();
    }
    result.compactionProblem = compactHistory(db);
    return result;
}

MaintenanceResult nothingDeleted(HistoryDb& db) {
    MaintenanceResult result;
    result.kept = static_cast<size_t>(db.drawCount());
    return result;
}

}  // namespace

MaintenanceResult trimToIssue(HistoryDb& db, int lastKept, const DerivationSettings& settings, Emptying emptying) {
    if (lastKept <= 0)
        return nothingDeleted(db);
    const KeptCount keptUpToIssue = [lastKept](const std::vector<DrawInput>& history) {
        const auto firstDeleted = std::partition_point(history.begin(), history.end(),
                                                       [lastKept](const DrawInput& d) { return d.issue <= lastKept; });
        return static_cast<size_t>(firstDeleted - history.begin());
    };
    return keepOldest(db, keptUpToIssue, settings, CopyCause::TrimTo, emptying);
}

MaintenanceResult deleteNewestDraws(HistoryDb& db, int count, const DerivationSettings& settings, Emptying emptying) {
    if (count <= 0)
        return nothingDeleted(db);
    const KeptCount allButTheNewest = [count](const std::vector<DrawInput>& history) {
        return history.size() - std::min(history.size(), static_cast<size_t>(count));
    };
    return keepOldest(db, allButTheNewest, settings, CopyCause::DeleteNewest, emptying);
}

MaintenanceResult deleteNewestDraw(HistoryDb& db) {
    MaintenanceResult result;
    {
        WriteTransaction tx(db);
        const auto history = db.draws();
        if (!history.empty()) {
            result.safetyCopy = writeSafetyCopy(dataFolderOf(db), history, CopyCause::DeleteLast);
            db.deleteNewest();
            result.removed = 1;
            result.newestDeleted = history.back().issue;
        }
        result.kept = history.size() - result.removed;
        tx.commit();
    }
    result.compactionProblem = compactHistory(db);
    return result;
}

MaintenanceResult clearHistory(HistoryDb& db) {
    MaintenanceResult result;
    WriteTransaction tx(db);
    const auto history = db.draws();
    result.removed = history.size();
    result.safetyCopy = writeSafetyCopy(dataFolderOf(db), history, CopyCause::Clear);
    db.deleteAll();
    tx.commit();
    return result;
}

void rebuildFromBackup(HistoryDb& db, const fs::path& backupFile, const DerivationSettings& settings) {
    const HistoryText text = readHistoryFile(backupFile);
    if (!text.problems.empty())
        throw StoreError("备份文件 “" + backupFile.string() + "” 不能读入，历史号码未作改动。\n" +
                         text.problemSummary());
    db.replaceAll(text.draws, settings, true);
}

std::string compactHistory(HistoryDb& db) {
    try {
        db.compact();
        return {};
    } catch (const SQLite::Exception& e) {
        if (isCancelled(e))
            return "压缩历史数据库文件已取消，文件保持原样，历史号码完整无损。";
        return "压缩历史数据库文件失败，文件保持原样，历史号码完整无损。（" + failureText(e) + "）";
    }
}

}  // namespace drawfollow
