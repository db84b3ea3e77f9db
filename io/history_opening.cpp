#include "io/history_opening.h"

#include "io/history_text.h"
#include "io/safety_copy.h"

#include <ctime>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

constexpr const char* kJournalSuffix = "-journal";

bool emptyBesideCopies(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec) && fs::file_size(file, ec) == 0 && !ec &&
           !safetyCopies(file.parent_path()).empty();
}

std::unique_ptr<HistoryDb> openChecked(const fs::path& file) {
    if (emptyBesideCopies(file))
        throw DamagedHistoryFile(file, "文件是空的（0 字节），而数据文件夹里有安全备份：原有的历史号码已丢失");
    return std::make_unique<HistoryDb>(file);
}

std::string wayBack(const fs::path& dataFolder) {
    const auto copies = safetyCopies(dataFolder);
    if (copies.empty())
        return "数据文件夹里没有安全备份。若有历史号码的文本文件，请把这个文件移走，再读入文本文件。";
    const SafetyCopy newest = *safetyCopyOf(copies.back());
    return "请用“历史管理”菜单的“恢复备份”，或运行 drawfollow-cli restore " + newest.id + "，恢复最新的安全备份（" +
           madeText(newest) + "，" + causeText(newest.cause) + "）；损坏的文件会先改名留下。";
}

std::string stampNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// Beside the file, under a name no other file has.
fs::path asideName(const fs::path& file) {
    const std::string base = file.stem().string() + "-已损坏-" + stampNow();
    fs::path aside = file.parent_path() / fs::u8path(base + ".db");
    for (int n = 2; fs::exists(fs::symlink_status(aside)); ++n)
        aside = file.parent_path() / fs::u8path(base + "-" + std::to_string(n) + ".db");
    return aside;
}

// The journal goes with it: left beside a new file, SQLite would play it back into that one.
fs::path setAside(const fs::path& file) {
    const fs::path aside = asideName(file);
    try {
        fs::rename(file, aside);
        fs::path journal = file;
        journal += kJournalSuffix;
        if (fs::exists(fs::symlink_status(journal))) {
            fs::path asideJournal = aside;
            asideJournal += kJournalSuffix;
            fs::rename(journal, asideJournal);
        }
    } catch (const fs::filesystem_error& e) {
        throw StoreError("无法把损坏的历史数据库文件 “" + file.string() + "” 改名为 “" + aside.string() +
                         "”，备份未恢复。请确认数据文件夹可以写入。（" + e.code().message() + "）");
    }
    return aside;
}

}  // namespace

std::unique_ptr<HistoryDb> openHistory(const fs::path& file) {
    try {
        return openChecked(file);
    } catch (const DamagedHistoryFile& e) {
        throw DamagedHistoryFile(e.file(), e.fault(), wayBack(file.parent_path()));
    }
}

RestoreTarget openForRestore(const fs::path& file, const fs::path& copy) {
    const HistoryText text = readHistoryFile(copy);
    if (!text.ok())
        throw StoreError("安全备份 “" + copy.string() + "” 不能读入，历史号码未作改动。\n" + text.problemSummary());
    RestoreTarget target;
    try {
        target.db = openChecked(file);
        return target;
    } catch (const DamagedHistoryFile&) {
        target.setAside = setAside(file);
    }
    target.db = std::make_unique<HistoryDb>(file);
    return target;
}

}  // namespace drawfollow
