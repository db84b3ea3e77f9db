// Taking what a library prints on the standard error instead of showing it: the program
// tells the user the same in its own words, and keeps the library's text for a bug report.
#pragma once

#include <functional>
#include <string>

namespace drawfollow {

// Runs `run` with the standard error going to memory and returns what was written there.
// One capture at a time in the process; whatever another thread prints meanwhile is taken
// too. Where no memory file can be made, `run` runs with the standard error as it is.
std::string captureStandardError(const std::function<void()>& run);

}  // namespace drawfollow
