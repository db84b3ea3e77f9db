#include "io/page_charset.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <optional>

namespace drawfollow {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr size_t kMetaPrescanBytes = 1024;                 // as far as a browser looks for <meta>

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = lower(c);
    return out;
}

bool labelChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == ':';
}

// The value of the first "charset=" in lower-cased text; a label with anything but
// name characters (or an absurd length) is ignored rather than handed to iconv.
std::optional<std::string> charsetValue(std::string_view text) {
    for (size_t at = text.find("charset"); at != std::string_view::npos; at = text.find("charset", at + 1)) {
        size_t pos = at + 7;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        if (pos >= text.size() || text[pos] != '=')
            continue;
        ++pos;
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == '"' || text[pos] == '\''))
            ++pos;
        size_t end = pos;
        while (end < text.size() && labelChar(text[end]))
            ++end;
        if (end > pos && end - pos <= 40)
            return std::string(text.substr(pos, end - pos));
    }
    return std::nullopt;
}

// The iconv name for a label; the aliases follow the encodings a browser maps them to.
std::string encodingForLabel(const std::string& label) {
    static const std::array<std::string_view, 6> utf8 = {"utf-8",         "utf8",          "unicode-1-1-utf-8",
                                                         "unicode11utf8", "unicode20utf8", "x-unicode20utf8"};
    static const std::array<std::string_view, 10> gbk = {"gb2312",          "gbk",     "x-gbk",    "gb_2312",
                                                         "gb_2312-80",      "chinese", "csgb2312", "iso-ir-58",
                                                         "csiso58gb231280", "gb18030"};
    static const std::array<std::string_view, 5> big5 = {"big5", "big5-hkscs", "cn-big5", "csbig5", "x-x-big5"};
    static const std::array<std::string_view, 7> latin = {"iso-8859-1", "iso8859-1", "latin1",      "l1",
                                                          "us-ascii",   "ascii",     "windows-1252"};
    auto in = [&label](const auto& names) {
        for (std::string_view n : names)
            if (label == n)
                return true;
        return false;
    };
    if (in(utf8))
        return "UTF-8";
    if (in(gbk))
        return "GB18030";
    if (in(big5))
        return "BIG5-HKSCS";
    if (in(latin))
        return "WINDOWS-1252";
    std::string upper = label;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

std::optional<std::string> byteOrderMark(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return "UTF-8";
    if (bytes.starts_with("\xFF\xFE"))
        return "UTF-16LE";
    if (bytes.starts_with("\xFE\xFF"))
        return "UTF-16BE";
    return std::nullopt;
}

std::optional<std::string> metaCharset(std::string_view bytes) {
    const std::string head = lowered(bytes.substr(0, kMetaPrescanBytes));
    size_t pos = 0;
    while ((pos = head.find('<', pos)) != std::string::npos) {
        if (head.compare(pos, 4, "<!--") == 0) {
            const size_t close = head.find("-->", pos + 4);
            if (close == std::string::npos)
                return std::nullopt;
            pos = close + 3;
            continue;
        }
        const size_t close = head.find('>', pos);
        const std::string_view tag =
            std::string_view(head).substr(pos, close == std::string::npos ? close : close - pos);
        if (tag.starts_with("<meta"))
            if (auto value = charsetValue(tag))
                return value;
        if (close == std::string::npos)
            return std::nullopt;
        pos = close + 1;
    }
    return std::nullopt;
}

// Length of the valid UTF-8 sequence starting at bytes[i], or 0 when it is invalid.
size_t validSequenceLength(std::string_view bytes, size_t i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = b(i);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte: no overlong forms, no surrogates
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
        return 0;
    }
    if (i + length > bytes.size() || b(i + 1) < low || b(i + 1) > high)
        return 0;
    for (size_t k = 2; k < length; ++k)
        if (b(i + k) < 0x80 || b(i + k) > 0xBF)
            return 0;
    return length;
}

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

std::string convertToUtf8(std::string_view bytes, const std::string& encoding) {
    const iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw PageError("网页使用了无法识别的字符编码 “" + encoding + "”");
    const std::unique_ptr<void, IconvCloser> guard(cd);
    std::string out;
    std::array<char, 16384> buffer;
    char* in = const_cast<char*>(bytes.data());  // iconv's signature; the input is not written
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (rc != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // A byte that starts no character of the encoding (or a sequence cut off at the
        // end) is shown as U+FFFD, as a browser does, and decoding resumes after it.
        out += kReplacement;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

std::string pageEncoding(std::string_view bytes, std::string_view contentType) {
    if (auto bom = byteOrderMark(bytes))
        return *bom;
    if (auto label = charsetValue(lowered(contentType)))
        return encodingForLabel(*label);
    if (auto label = metaCharset(bytes))
        return encodingForLabel(*label);
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = validSequenceLength(bytes, i);
        if (length == 0)
            return "GB18030";
        i += length;
    }
    return "UTF-8";
}

std::string decodePage(std::string_view bytes, std::string_view encoding) {
    if (encoding == "UTF-8") {
        if (bytes.starts_with("\xEF\xBB\xBF"))
            bytes.remove_prefix(3);
        return validUtf8(bytes);
    }
    std::string text = validUtf8(convertToUtf8(bytes, std::string(encoding)));
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    return text;
}

std::string validUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = bytes[i] == '\0' ? 0 : validSequenceLength(bytes, i);
        if (length == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::u32string codePoints(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t cp = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (size_t k = 1; k < length && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        out += cp;
        i += length;
    }
    return out;
}

}  // namespace drawfollow
