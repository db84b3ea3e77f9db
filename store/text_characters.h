// Counting and cutting text by characters rather than bytes: the stored lists hold UTF-8,
// and the search's cut list drops the special number's token by its character count.
#pragma once

#include <string_view>

namespace drawfollow {

// The number of UTF-8 characters of a text, and its first `characters` characters. A length
// of 0 or less gives an empty text, which no pattern matches.
long long characterCount(std::string_view text);
std::string_view leftCharacters(std::string_view text, long long characters);

}  // namespace drawfollow
