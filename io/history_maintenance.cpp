#include "io/history_maintenance.h"

#include "io/history_import.h"
#include "io/safety_copy.h"

#include <algorithm>
#include <system_error>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

void writeBackup(const fs::path& file, std::span<const DrawInput> kept) {
    try {
        writeHistoryFile(file, kept);
    } catch (const std::system_error& e) {
        throw StoreError("无法写入备份文件 “" + file.string() + "”，历史号码未作改动。（" + e.what() + "）");
    }
}

// Every trim ends here: the history is saved, the kept draws go through the backup file
// and the table is rebuilt from it.
MaintenanceResult keepOldest(HistoryDb& db, std::vector<DrawInput> history, size_t keep,
                             const DerivationSettings& settings) {
    MaintenanceResult result;
    result.kept = keep;
    result.removed = history.size() - keep;
    if (result.removed > 0)
        result.safetyCopy = writeSafetyCopy(db);
    history.resize(keep);
    const fs::path backup = dataFolderOf(db) / kRebuildBackupName;
    writeBackup(backup, history);
    rebuildFromBackup(db, backup, settings);
    result.compactionProblem = compactHistory(db);
    return result;
}

MaintenanceResult nothingDeleted(HistoryDb& db) {
    MaintenanceResult result;
    result.kept = static_cast<size_t>(db.drawCount());
    return result;
}

}  // namespace

MaintenanceResult trimToIssue(HistoryDb& db, int lastKept, const DerivationSettings& settings) {
    if (lastKept <= 0)
        return nothingDeleted(db);
    auto history = storedDraws(db);
    const auto firstDeleted = std::partition_point(history.begin(), history.end(),
                                                   [lastKept](const DrawInput& d) { return d.issue <= lastKept; });
    const auto keep = static_cast<size_t>(firstDeleted - history.begin());
    return keepOldest(db, std::move(history), keep, settings);
}

MaintenanceResult deleteNewestDraws(HistoryDb& db, int count, const DerivationSettings& settings) {
    if (count <= 0)
        return nothingDeleted(db);
    auto history = storedDraws(db);
    const size_t keep = history.size() - std::min(history.size(), static_cast<size_t>(count));
    return keepOldest(db, std::move(history), keep, settings);
}

MaintenanceResult deleteNewestDraw(HistoryDb& db) {
    MaintenanceResult result;
    result.removed = db.deleteNewest() ? 1 : 0;
    result.kept = static_cast<size_t>(db.drawCount());
    result.compactionProblem = compactHistory(db);
    return result;
}

MaintenanceResult clearHistory(HistoryDb& db) {
    MaintenanceResult result;
    result.removed = static_cast<size_t>(db.drawCount());
    result.safetyCopy = writeSafetyCopy(db);
    db.deleteAll();
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
        return std::string("压缩历史数据库文件失败，文件保持原样，历史号码完整无损。（") + e.what() + "）";
    }
}

}  // namespace drawfollow
