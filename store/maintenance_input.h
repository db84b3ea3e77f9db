// What the history menu's input boxes accept: the issue to trim to, the number of newest
// draws to delete and the years of history the online update keeps.
#pragma once

#include <optional>
#include <string_view>

namespace drawfollow {

inline constexpr int kMinYearsToKeep = 2;
inline constexpr int kMaxYearsToKeep = 16;

// The answer read as a whole number, as the input boxes have always read it: blanks
// around it are ignored, a fraction goes to the nearest whole number and an exact half to
// the even one. Nothing when the answer is not a number or lies outside `long long`.
std::optional<long long> wholeNumberOf(std::string_view answer);

// The issue or the count typed into a trim box; 0 (which deletes nothing) when the answer
// is empty, not a number, or outside the 32-bit range an issue is held in.
int trimAnswerOf(std::string_view answer);

// The years to keep when the answer is a number that rounds into 2..16; nothing otherwise,
// and the box is then shown again.
std::optional<int> yearsToKeepOf(std::string_view answer);

}  // namespace drawfollow
