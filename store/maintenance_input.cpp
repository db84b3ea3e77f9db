#include "store/maintenance_input.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace drawfollow {

namespace {

std::string_view trimBlanks(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<long long> wholeNumberOf(std::string_view answer) {
    std::string_view text = trimBlanks(answer);
    // from_chars takes no plus sign, but "+5" is a number to anybody typing it.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    // nearbyint follows the default rounding mode, which rounds a half to the even neighbour.
    const double whole = std::nearbyint(value);
    constexpr double kLimit = 9.2e18;  // safely inside long long
    if (whole < -kLimit || whole > kLimit)
        return std::nullopt;
    return static_cast<long long>(whole);
}

int trimAnswerOf(std::string_view answer) {
    const auto n = wholeNumberOf(answer);
    if (!n || *n < std::numeric_limits<int32_t>::min() || *n > std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int>(*n);
}

std::optional<int> yearsToKeepOf(std::string_view answer) {
    const auto n = wholeNumberOf(answer);
    if (!n || *n < kMinYearsToKeep || *n > kMaxYearsToKeep)
        return std::nullopt;
    return static_cast<int>(*n);
}

}  // namespace drawfollow
