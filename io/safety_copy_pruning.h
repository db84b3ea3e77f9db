// Which safety copies may go. The newest few are always kept; older ones thin out with age,
// and a copy goes too when a newer kept copy can give its history back.
#pragma once

#include <chrono>
#include <filesystem>

namespace drawfollow {

// The rule as `backups --help` and the manual tell it.
inline constexpr size_t kSafetyCopiesAlwaysKept = 10;
inline constexpr int kDaysWithADailyCopy = 7;
inline constexpr const char* kSafetyCopyRule =
    "总是保留最新的 10 份；其余的，最近 7 天内的每天只保留最新的一份，更早的每周只保留最新的一份；"
    "较新的保留备份中已包含其全部历史号码的旧备份也会删除。";

// Keeps the newest kSafetyCopiesAlwaysKept copies, `justWritten` counted first whatever its
// name says (a clock set back), and every copy whose name lies after `now` (its age is
// unknown). Of the others, newest first, a copy stays when no newer copy is kept of its
// day (a calendar day in UTC) while it is younger than kDaysWithADailyCopy days, or of its
// week (seven such days) once it is older, and no newer kept copy holds the same history
// or a longer one that begins with the same draws; otherwise it is removed. So copies
// stay bounded whatever the commands, deletions included. A copy that cannot be removed
// stays.
void pruneSafetyCopies(const std::filesystem::path& dataFolder, std::chrono::system_clock::time_point now,
                       const std::filesystem::path& justWritten);

}  // namespace drawfollow
