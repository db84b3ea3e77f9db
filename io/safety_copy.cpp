#include "io/safety_copy.h"

#include "io/history_import.h"

#include <algorithm>
#include <ctime>
#include <system_error>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

// The name sorts by time, so the oldest copies are found by name alone.
constexpr std::string_view kPrefix = "历史号码备份-";
constexpr std::string_view kSuffix = ".txt";

std::string copyName(std::chrono::system_clock::time_point when) {
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(when);
    const auto millis = duration_cast<milliseconds>(when.time_since_epoch()).count() % 1000;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    char withMillis[40];
    std::snprintf(withMillis, sizeof withMillis, "%s-%03d", stamp, static_cast<int>(millis));
    return std::string(kPrefix) + withMillis + std::string(kSuffix);
}

bool isSafetyCopyName(const std::string& name) {
    return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

void removeOldCopies(const fs::path& dataFolder, const fs::path& justWritten) {
    auto copies = safetyCopies(dataFolder);
    // A clock set back would sort the new copy first; it is never the one to go.
    std::erase(copies, justWritten);
    const size_t othersKept = kSafetyCopiesKept - 1;
    if (copies.size() <= othersKept)
        return;
    for (size_t i = 0; i + othersKept < copies.size(); ++i) {
        std::error_code ignored;  // an old copy that stays behind costs only disk space
        fs::remove(copies[i], ignored);
    }
}

}  // namespace

fs::path dataFolderOf(const HistoryDb& db) {
    return db.path().parent_path();
}

std::vector<fs::path> safetyCopies(const fs::path& dataFolder) {
    std::vector<fs::path> copies;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dataFolder / kSafetyCopyFolder, ec)) {
        if (entry.is_regular_file(ec) && isSafetyCopyName(entry.path().filename().string()))
            copies.push_back(entry.path());
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

std::optional<fs::path> writeSafetyCopy(HistoryDb& db, std::chrono::system_clock::time_point when) {
    const auto draws = storedDraws(db);
    if (draws.empty())
        return std::nullopt;
    const fs::path folder = dataFolderOf(db) / kSafetyCopyFolder;
    try {
        fs::create_directories(folder);
        fs::path file = folder / fs::u8path(copyName(when));
        // Two copies within one millisecond: the later one takes the next free name.
        while (fs::exists(file)) {
            when += std::chrono::milliseconds(1);
            file = folder / fs::u8path(copyName(when));
        }
        writeHistoryFile(file, draws);
        removeOldCopies(dataFolderOf(db), file);
        return file;
    } catch (const std::system_error& e) {
        throw StoreError("无法在 “" + folder.string() + "” 中写入历史号码的安全备份，为免丢失历史号码，操作已取消，" +
                         "历史号码未作改动。（" + e.what() + "）");
    }
}

}  // namespace drawfollow
