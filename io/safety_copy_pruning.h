// Which safety copies may go. Copies are kept by count and by age, and an old copy goes only
// when a newer kept one can give its history back: never the only copy of a history.
#pragma once

#include <chrono>
#include <filesystem>

namespace drawfollow {

inline constexpr size_t kSafetyCopiesKeptByCount = 50;
inline constexpr std::chrono::hours kSafetyCopiesKeptByAge{24 * 30};

// Keeps the newest copies by count, every copy younger than the age, and `justWritten`
// whatever its name says (a clock set back). Of the others, newest first, a copy is removed
// when a newer kept copy holds the same history or a longer one that begins with the same
// draws; otherwise it is kept too. A copy that cannot be read or removed stays.
void pruneSafetyCopies(const std::filesystem::path& dataFolder, std::chrono::system_clock::time_point now,
                       const std::filesystem::path& justWritten);

}  // namespace drawfollow
