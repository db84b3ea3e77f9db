#include "io/history_import.h"

#include "io/safety_copy.h"
#include "store/derivation_record.h"

namespace drawfollow {

namespace {

ImportSummary replaceWithFile(HistoryDb& db, const std::filesystem::path& file, const ImportDerivation& settingsFor,
                              const BatchProgress& progress, CopyCause cause) {
    const HistoryText text = readHistoryFile(file);
    if (!text.ok())
        throw StoreError("文件 “" + file.string() + "” 不能读入，历史号码未作改动。\n" + text.problemSummary());
    const auto nextIssue = text.draws.empty() ? std::nullopt : std::optional<int>(text.draws.back().issue + 1);
    // Start-up derives the history for its next issue's zodiac year and records that year.
    if (const int year = nextIssue ? startupCodeTableYear(*nextIssue) : kEarliestTableYear;
        year < kEarliestTableYear || year > kLatestTableYear)
        throw StoreError("文件 “" + file.string() + "” 不能读入，历史号码未作改动：最新一期 " +
                         issueText(text.draws.back().issue) + " 之后的下一期属于生肖年 " + std::to_string(year) +
                         "，生肖码表只能按 " + std::to_string(kEarliestTableYear) + "～" +
                         std::to_string(kLatestTableYear) + " 年建立。请检查文件中的期号。");
    const DerivationSettings settings = settingsFor(nextIssue);
    WriteTransaction tx(db);
    const auto safetyCopy = writeSafetyCopy(db, cause);
    db.replaceAll(text.draws, settings, false, progress);
    tx.commit();
    return {text.draws.size(), text.skippedLines, safetyCopy};
}

}  // namespace

ImportSummary importHistoryFile(HistoryDb& db, const std::filesystem::path& file, const DerivationSettings& settings,
                                const BatchProgress& progress) {
    return importHistoryFile(
        db, file, [&settings](std::optional<int>) { return settings; }, progress);
}

ImportSummary importHistoryFile(HistoryDb& db, const std::filesystem::path& file, const ImportDerivation& settingsFor,
                                const BatchProgress& progress) {
    return replaceWithFile(db, file, settingsFor, progress, CopyCause::Import);
}

ImportSummary restoreSafetyCopy(HistoryDb& db, const std::filesystem::path& copy, const ImportDerivation& settingsFor,
                                const BatchProgress& progress) {
    return replaceWithFile(db, copy, settingsFor, progress, CopyCause::Restore);
}

void exportHistoryFile(HistoryDb& db, const std::filesystem::path& file) {
    writeHistoryFile(file, db.draws(), dataFolderOf(db));
}

std::filesystem::path defaultExportPath(HistoryDb& db, const std::filesystem::path& dataFolder) {
    const auto newest = db.newest();
    return dataFolder /
           std::filesystem::u8path(exportFileName(newest ? std::optional<int>(newest->issue) : std::nullopt));
}

}  // namespace drawfollow
