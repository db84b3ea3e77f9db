#include "io/safety_copy_pruning.h"

#include "io/safety_copy.h"

#include <algorithm>
#include <fstream>
#include <set>
#include <utility>
#include <vector>

namespace drawfollow {

namespace fs = std::filesystem;

namespace {

// True when `longer` begins with every byte of `shorter`. Copies are written line by line
// in one canonical form, so this is "holds the same draws, perhaps followed by more". Copies
// of one history that was trimmed differ near their ends, so the comparison starts there.
bool beginsWith(const fs::path& longer, const fs::path& shorter) {
    std::error_code ec;
    const auto shortSize = fs::file_size(shorter, ec);
    if (ec)
        return false;
    const auto longSize = fs::file_size(longer, ec);
    if (ec || longSize < shortSize)
        return false;
    std::ifstream a(longer, std::ios::binary);
    std::ifstream b(shorter, std::ios::binary);
    constexpr std::streamoff kChunk = std::streamoff{64} * 1024;
    std::vector<char> bufA(kChunk), bufB(kChunk);
    for (auto end = static_cast<std::streamoff>(shortSize); end > 0;) {
        const std::streamoff start = std::max<std::streamoff>(0, end - kChunk);
        const auto n = static_cast<std::streamsize>(end - start);
        a.seekg(start);
        b.seekg(start);
        if (!a.read(bufA.data(), n) || !b.read(bufB.data(), n) ||
            !std::equal(bufA.begin(), bufA.begin() + n, bufB.begin()))
            return false;
        end = start;
    }
    return true;
}

// The day or, once the copy is kDaysWithADailyCopy days old, the week its moment falls in,
// counted from a fixed origin: a copy's period does not move as time goes on, so the newest
// copy of a period stays the newest of it.
std::pair<bool, long long> periodOf(const SafetyCopy& copy, std::chrono::system_clock::time_point now) {
    using Days = std::chrono::duration<long long, std::ratio<86400>>;
    const long long day = std::chrono::floor<Days>(copy.made.time_since_epoch()).count();
    const bool weekly = now - copy.made >= Days(kDaysWithADailyCopy);
    return {weekly, weekly ? (day >= 0 ? day / 7 : (day - 6) / 7) : day};
}

}  // namespace

void pruneSafetyCopies(const fs::path& dataFolder, std::chrono::system_clock::time_point now,
                       const fs::path& justWritten) {
    // Newest first, the copy just written before all others.
    std::vector<SafetyCopy> copies;
    for (const fs::path& file : safetyCopies(dataFolder))
        if (file != justWritten)
            copies.push_back(*safetyCopyOf(file));
    std::reverse(copies.begin(), copies.end());
    if (const auto written = safetyCopyOf(justWritten))
        copies.insert(copies.begin(), *written);

    std::vector<fs::path> kept;
    std::set<std::pair<bool, long long>> periodsKept;
    for (size_t i = 0; i < copies.size(); ++i) {
        const SafetyCopy& copy = copies[i];
        // The newest ones do not speak for their day: one of them may be removed later as
        // another's copy, and an older copy of that day is the only one of its history.
        if (i < kSafetyCopiesAlwaysKept || copy.made > now) {
            kept.push_back(copy.file);
            continue;
        }
        const auto period = periodOf(copy, now);
        const bool newestOfItsPeriod = !periodsKept.contains(period);
        const bool recoverable = std::any_of(kept.begin(), kept.end(),
                                             [&copy](const fs::path& newer) { return beginsWith(newer, copy.file); });
        std::error_code ec;
        if ((newestOfItsPeriod && !recoverable) || !fs::remove(copy.file, ec)) {
            kept.push_back(copy.file);
            periodsKept.insert(period);
        }
    }
}

}  // namespace drawfollow
