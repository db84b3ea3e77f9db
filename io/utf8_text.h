// Reading UTF-8 text character by character: the one decoder behind the page text, the
// code points the chart scan reads and the widths of the terminal's columns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace drawfollow {

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';
inline constexpr std::string_view kReplacementCharacterUtf8 = "\xEF\xBF\xBD";

struct Utf8Character {
    char32_t codePoint = kReplacementCharacter;
    size_t length = 1;  // bytes taken
    bool valid = false;
};

// The character that starts at text[at] (at < text.size()). A byte that starts no
// well-formed sequence (a lone continuation byte, an overlong form, a surrogate, a value
// above U+10FFFF, a sequence cut short by the end or by a byte that does not continue it)
// is an invalid character of that one byte, read as U+FFFD: reading goes on at the next
// byte, so one bad byte never swallows the good ones after it.
Utf8Character readUtf8(std::string_view text, size_t at);

bool isValidUtf8(std::string_view bytes);

// Replaces every invalid UTF-8 sequence and NUL by U+FFFD.
std::string validUtf8(std::string_view bytes);

// The code points of UTF-8 text, every invalid byte read as U+FFFD.
std::u32string codePoints(std::string_view utf8);

}  // namespace drawfollow
