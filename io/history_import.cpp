#include "io/history_import.h"

#include "io/safety_copy.h"

namespace drawfollow {

namespace {

ImportSummary replaceWithFile(HistoryDb& db, const std::filesystem::path& file, const DerivationSettings& settings,
                              const BatchProgress& progress, CopyCause cause) {
    const HistoryText text = readHistoryFile(file);
    if (!text.ok())
        throw StoreError("文件 “" + file.string() + "” 不能读入，历史号码未作改动。\n" + text.problemSummary());
    WriteTransaction tx(db);
    const auto safetyCopy = writeSafetyCopy(db, cause);
    db.replaceAll(text.draws, settings, false, progress);
    tx.commit();
    return {text.draws.size(), text.skippedLines, safetyCopy};
}

}  // namespace

ImportSummary importHistoryFile(HistoryDb& db, const std::filesystem::path& file, const DerivationSettings& settings,
                                const BatchProgress& progress) {
    return replaceWithFile(db, file, settings, progress, CopyCause::Import);
}

ImportSummary restoreSafetyCopy(HistoryDb& db, const std::filesystem::path& copy, const DerivationSettings& settings,
                                const BatchProgress& progress) {
    return replaceWithFile(db, copy, settings, progress, CopyCause::Restore);
}

std::vector<DrawInput> storedDraws(HistoryDb& db) {
    SQLite::Statement q(db.connection(),
                        "SELECT SQQH, L1A, L2A, L3A, L4A, L5A, L6A, L7A, L8A FROM lishi ORDER BY SQQH");
    std::vector<DrawInput> draws;
    while (q.executeStep()) {
        DrawInput d;
        d.issue = q.getColumn(0).getInt();
        for (int p = 0; p < kPositions; ++p)
            d.numbers[p] = static_cast<int16_t>(q.getColumn(p + 1).getInt());
        draws.push_back(d);
    }
    return draws;
}

void exportHistoryFile(HistoryDb& db, const std::filesystem::path& file) {
    writeHistoryFile(file, storedDraws(db));
}

std::filesystem::path defaultExportPath(HistoryDb& db, const std::filesystem::path& dataFolder) {
    const auto newest = db.newest();
    return dataFolder / std::filesystem::u8path(exportFileName(newest ? std::optional<int>(newest->issue) : std::nullopt));
}

}  // namespace drawfollow
