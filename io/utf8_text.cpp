#include "io/utf8_text.h"

namespace drawfollow {

namespace {

bool continuation(unsigned char byte) {
    return byte >= 0x80 && byte <= 0xBF;
}

}  // namespace

Utf8Character readUtf8(std::string_view text, size_t at) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[at + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {lead, 1, true};
    size_t length = 0;
    // The bounds of the second byte rule out overlong forms, surrogates and values above U+10FFFF.
    unsigned char low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return {};
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high)
        return {};
    char32_t codePoint = lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if (!continuation(byte(k)))
            return {};
        codePoint = (codePoint << 6) | (byte(k) & 0x3F);
    }
    return {codePoint, length, true};
}

bool isValidUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const Utf8Character c = readUtf8(bytes, i);
        if (!c.valid)
            return false;
        i += c.length;
    }
    return true;
}

std::string validUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const Utf8Character c = readUtf8(bytes, i);
        if (c.valid && c.codePoint != 0)
            out.append(bytes.substr(i, c.length));
        else
            out += kReplacementCharacterUtf8;
        i += c.length;
    }
    return out;
}

std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const Utf8Character c = readUtf8(utf8, i);
        out += c.codePoint;
        i += c.length;
    }
    return out;
}

}  // namespace drawfollow
