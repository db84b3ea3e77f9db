// The changes of the history the window runs off its thread, as functions of a connection
// and of values read on the window's thread before the work starts: nothing here reads the
// controller, the settings or the clock, so that a worker may run them over a connection
// of its own. Each returns what to tell the user; a failure leaves the history as it was.
#pragma once

#include "app/history/history_change.h"
#include "io/history_import.h"
#include "store/history_db.h"

#include <exception>
#include <filesystem>
#include <optional>

namespace drawfollow {

struct SafetyCopyListing;

// The choices the rows are derived with, as values: the settings menus and the clock's year.
struct DerivationChoice {
    int zodiacOffset = 0;
    int segmentOffset = 0;
    bool sequentialZodiac = false;
    int currentYear = 0;

    // The settings in force for a history whose next issue is `nextIssue`.
    DerivationSettings forNextIssue(int nextIssue) const;
    // The settings in force for the history `db` holds now.
    DerivationSettings forHistory(HistoryDb& db) const;
    // What a history read from a file is derived with: as start-up will derive it.
    ImportDerivation forReplacement() const;
};

// A failure at a command's boundary, in words for the user.
QString problemOf(const std::exception& e);

HistoryChange deleteNewestChange(HistoryDb& db);                                            // 删除最后历史
HistoryChange trimChange(HistoryDb& db, int lastKept, const DerivationSettings& settings);  // 删除到选定期
HistoryChange deleteNewestCountChange(HistoryDb& db, int count,
                                      const DerivationSettings& settings);  // 删除最后指定数量期历史
HistoryChange clearChange(HistoryDb& db);                                   // 清空历史号码
HistoryChange importChange(HistoryDb& db, const std::filesystem::path& file, const DerivationChoice& choice,
                           const BatchProgress& progress);  // 读取历史号文本
HistoryChange restoreChange(HistoryDb& db, const SafetyCopyListing& copy, const DerivationChoice& choice,
                            const BatchProgress& progress);  // 恢复备份
// Writes the history to its default text file in `dataFolder`; `file` names it.
HistoryChange exportTextChange(HistoryDb& db, const std::filesystem::path& dataFolder);

struct FollowedDerivation {
    // What to tell the user; empty when nothing needed doing.
    HistoryChange change;
    // What the stored rows are derived with now; none when even the record could not be read.
    std::optional<DerivationSettings> rows;
    // The stored values changed.
    bool rederived = false;
};

// Derives every stored row again (after a safety copy) when `wanted` gives other values
// than the settings the rows were derived with.
FollowedDerivation followDerivation(HistoryDb& db, const DerivationSettings& wanted,
                                    const BatchProgress& progress = {});

}  // namespace drawfollow
