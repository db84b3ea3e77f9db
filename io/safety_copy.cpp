#include "io/safety_copy.h"

#include "io/history_text.h"
#include "io/safety_copy_pruning.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <system_error>

namespace drawfollow {

namespace fs = std::filesystem;
using std::chrono::system_clock;

namespace {

// The name sorts by time, so the oldest copies are found by name alone. The command's token
// is plain ASCII, so that the file stays a history text file any program can open.
constexpr std::string_view kPrefix = "历史号码备份-";
constexpr std::string_view kSuffix = ".txt";
constexpr size_t kStampLength = 19;  // yyyyMMdd-hhmmss-zzz

struct CauseName {
    CopyCause cause;
    std::string_view token;
    std::string_view text;
};

constexpr std::array<CauseName, 8> kCauses{{
    {CopyCause::Clear, "clear", "清空历史号码"},
    {CopyCause::TrimTo, "trim-to", "删除到选定期"},
    {CopyCause::DeleteNewest, "delete-newest", "删除最后指定数量期"},
    {CopyCause::DeleteLast, "delete-last", "删除最后历史"},
    {CopyCause::Import, "import", "读入历史号码文本"},
    {CopyCause::Restore, "restore", "恢复备份"},
    {CopyCause::Update, "update", "在线更新"},
    {CopyCause::Rederive, "rederive", "重新计算属性"},
}};

const CauseName& nameOf(CopyCause cause) {
    return *std::find_if(kCauses.begin(), kCauses.end(), [cause](const CauseName& n) { return n.cause == cause; });
}

std::tm localTime(system_clock::time_point when) {
    const std::time_t seconds = system_clock::to_time_t(when);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return local;
}

std::string stampOf(system_clock::time_point when) {
    using namespace std::chrono;
    const std::tm local = localTime(when);
    const auto millis = duration_cast<milliseconds>(when.time_since_epoch()).count() % 1000;
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    char withMillis[40];
    std::snprintf(withMillis, sizeof withMillis, "%s-%03d", stamp, static_cast<int>(millis));
    return withMillis;
}

std::optional<system_clock::time_point> timeOfStamp(std::string_view stamp) {
    std::tm local{};
    int millis = 0;
    char tail = 0;
    const std::string text(stamp);
    if (std::sscanf(text.c_str(), "%4d%2d%2d-%2d%2d%2d-%3d%c", &local.tm_year, &local.tm_mon, &local.tm_mday,
                    &local.tm_hour, &local.tm_min, &local.tm_sec, &millis, &tail) != 7)
        return std::nullopt;
    local.tm_year -= 1900;
    local.tm_mon -= 1;
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    if (seconds == -1)
        return std::nullopt;
    return system_clock::from_time_t(seconds) + std::chrono::milliseconds(millis);
}

fs::path copyFile(const fs::path& folder, system_clock::time_point when, CopyCause cause) {
    return folder / fs::u8path(std::string(kPrefix) + stampOf(when) + '-' + std::string(nameOf(cause).token) +
                               std::string(kSuffix));
}

bool stampTaken(const fs::path& dataFolder, const std::string& stamp) {
    const auto copies = safetyCopies(dataFolder);
    return std::any_of(copies.begin(), copies.end(),
                       [&stamp](const fs::path& p) { return safetyCopyOf(p)->id == stamp; });
}

}  // namespace

std::string causeText(std::optional<CopyCause> cause) {
    return cause ? std::string(nameOf(*cause).text) : std::string("—");
}

fs::path dataFolderOf(const HistoryDb& db) {
    return db.path().parent_path();
}

std::optional<SafetyCopy> safetyCopyOf(const fs::path& file) {
    const std::string name = file.filename().string();
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix) ||
        name.size() < kPrefix.size() + kStampLength + kSuffix.size())
        return std::nullopt;
    const std::string_view rest =
        std::string_view(name).substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
    const auto made = timeOfStamp(rest.substr(0, kStampLength));
    if (!made)
        return std::nullopt;
    SafetyCopy copy{file, std::string(rest.substr(0, kStampLength)), *made, std::nullopt};
    const std::string_view token = rest.substr(kStampLength);
    for (const CauseName& n : kCauses)
        if (token.size() == n.token.size() + 1 && token.front() == '-' && token.substr(1) == n.token)
            copy.cause = n.cause;
    return copy;
}

std::vector<fs::path> safetyCopies(const fs::path& dataFolder) {
    std::vector<fs::path> copies;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dataFolder / kSafetyCopyFolder, ec)) {
        if (entry.is_regular_file(ec) && safetyCopyOf(entry.path()))
            copies.push_back(entry.path());
    }
    std::sort(copies.begin(), copies.end());
    return copies;
}

std::optional<fs::path> writeSafetyCopy(const fs::path& dataFolder, std::span<const DrawInput> draws, CopyCause cause,
                                        system_clock::time_point when) {
    if (draws.empty())
        return std::nullopt;
    const fs::path folder = dataFolder / kSafetyCopyFolder;
    try {
        fs::create_directories(folder);
        // Two copies within one millisecond: the later one takes the next free stamp, which
        // stays the copy's id.
        while (stampTaken(dataFolder, stampOf(when)))
            when += std::chrono::milliseconds(1);
        const fs::path file = copyFile(folder, when, cause);
        writeHistoryFile(file, draws, dataFolder);
        pruneSafetyCopies(dataFolder, when, file);
        return file;
    } catch (const std::system_error& e) {
        throw StoreError("无法在 “" + folder.string() + "” 中写入历史号码的安全备份，为免丢失历史号码，操作已取消，" +
                         "历史号码未作改动。" + failureText(e));
    }
}

std::optional<fs::path> writeSafetyCopy(HistoryDb& db, CopyCause cause, system_clock::time_point when) {
    return writeSafetyCopy(dataFolderOf(db), db.draws(), cause, when);
}

std::vector<SafetyCopyListing> listSafetyCopies(const fs::path& dataFolder) {
    const auto files = safetyCopies(dataFolder);
    std::vector<SafetyCopyListing> listings;
    // Newest first. Plain reverse iterators: clang 14 cannot instantiate libstdc++'s
    // views::reverse over a const vector, and the fuzzers are built with it.
    for (auto newer = files.rbegin(); newer != files.rend(); ++newer) {
        const fs::path& file = *newer;
        SafetyCopyListing listing;
        listing.copy = *safetyCopyOf(file);
        try {
            const HistoryText text = readHistoryFile(file);
            listing.readable = text.ok();
            listing.draws = text.draws.size();
            if (!text.draws.empty())
                listing.newestIssue = text.draws.back().issue;
        } catch (const std::exception&) {
            // Listed as unreadable: restoring it would say why.
        }
        listings.push_back(std::move(listing));
    }
    return listings;
}

std::string madeText(const SafetyCopy& copy) {
    const std::tm local = localTime(copy.made);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace drawfollow
