#include "store/text_characters.h"

namespace drawfollow {

long long characterCount(std::string_view text) {
    long long n = 0;
    for (char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)  // not a continuation byte
            ++n;
    return n;
}

std::string_view leftCharacters(std::string_view text, long long characters) {
    if (characters <= 0)
        return text.substr(0, 0);
    size_t i = 0;
    for (long long seen = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            if (seen == characters)
                break;
            ++seen;
        }
    }
    return text.substr(0, i);
}

}  // namespace drawfollow
